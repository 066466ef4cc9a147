// Raster engine speed against the physical limit: each benchmark also times a memset or memcpy
// of the same bytes in the same run and reports both per iteration (us) and their ratio. Both
// are measured in thread CPU time, so that other work on the machine disturbs them less.
//   ZoomRebuild:  an 8x magnified view of a 200 x 200 cel redrawn by 40 000 ras_set_color +
//                 ras_rect (7 x 7) calls; limit: memset of the bytes those rectangles cover.
//   Paste:        ras_paste of 1600 x 1600 pixels into the surface; limit: memcpy of the
//                 surface bytes written (1600 x 1600 x 4).
//   PutBlock/GetBlock: a 200 x 200 cel block into / out of a buffer (index blocks at 8 bits,
//                 direct blocks otherwise); limit: memcpy of the block's bytes.

#include "raster/raster.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

double cpu_seconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Opens a fresh engine with one buffer of the depth; returns its handle.
int32_t fresh_buffer(int32_t depth, int32_t width, int32_t height)
{
    ras_init();
    ras_set_buffer_depth(depth);
    const int32_t handle = ras_alloc_buffer(width, height);
    ras_open_buffer(handle);
    return handle;
}

// Times the limit operation as many times as the benchmark ran and reports both figures.
template <typename Limit>
void report(benchmark::State& state, double ours_seconds, const char* limit_name, Limit limit)
{
    const auto runs = static_cast<int64_t>(state.iterations());
    const double start = cpu_seconds();
    for (int64_t i = 0; i < runs; ++i) {
        limit();
        benchmark::ClobberMemory();
    }
    const double limit_seconds = (cpu_seconds() - start);
    state.counters["ours_us"] = ours_seconds / static_cast<double>(runs) * 1e6;
    state.counters[std::string(limit_name) + "_us"] = limit_seconds / static_cast<double>(runs) * 1e6;
    state.counters["ratio"] = ours_seconds / limit_seconds;
}

void ZoomRebuild(benchmark::State& state)
{
    const auto depth = static_cast<int32_t>(state.range(0));
    constexpr int32_t kCel = 200;
    constexpr int32_t kZoom = 8;
    fresh_buffer(depth, kCel * kZoom, kCel * kZoom);
    std::vector<int32_t> cel(kCel * kCel);
    for (size_t i = 0; i < cel.size(); ++i)
        cel[i] = static_cast<int32_t>(i * 2654435761u);

    const double start = cpu_seconds();
    for (auto _ : state) {
        for (int32_t y = 0; y < kCel; ++y)
            for (int32_t x = 0; x < kCel; ++x) {
                ras_set_color(cel[static_cast<size_t>(y * kCel + x)]);
                ras_rect(x * kZoom, x * kZoom + 6, y * kZoom, y * kZoom + 6);
            }
        benchmark::ClobberMemory();
    }
    const double ours = (cpu_seconds() - start);
    state.counters["ns_per_cell"] = ours / static_cast<double>(state.iterations()) / (kCel * kCel) * 1e9;

    std::vector<uint8_t> target(static_cast<size_t>(kCel) * kCel * 49 * static_cast<size_t>(depth / 8));
    report(state, ours, "memset", [&] { std::memset(target.data(), 0x5A, target.size()); });
    ras_shutdown();
}

void Paste(benchmark::State& state)
{
    const auto depth = static_cast<int32_t>(state.range(0));
    constexpr int32_t kSide = 1600;
    fresh_buffer(depth, kSide, kSide);
    ras_set_color(0x00345678);
    ras_fill_buffer();
    std::vector<uint32_t> pixels(static_cast<size_t>(kSide) * kSide);
    ras_surface surface{pixels.data(), kSide, kSide, kSide * 4, nullptr, nullptr};
    ras_set_window_dc(&surface);

    const double start = cpu_seconds();
    for (auto _ : state) {
        ras_paste(0, kSide - 1, 0, kSide - 1, 0, kSide - 1);
        benchmark::ClobberMemory();
    }
    const double ours = (cpu_seconds() - start);

    std::vector<uint32_t> source(pixels.size(), 0x12345678);
    report(state, ours, "memcpy", [&] { std::memcpy(pixels.data(), source.data(), pixels.size() * 4); });
    ras_set_window_dc(nullptr);
    ras_shutdown();
}

template <bool Put>
void CelBlock(benchmark::State& state)
{
    const auto depth = static_cast<int32_t>(state.range(0));
    constexpr int32_t kCel = 200;
    fresh_buffer(depth, kCel, kCel);
    std::vector<uint8_t> block(static_cast<size_t>(ras_block_size(kCel, kCel)));
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<uint8_t>(i * 7 + 1);
    ras_move_to(0, ras_max_y());

    const double start = cpu_seconds();
    for (auto _ : state) {
        if (Put) {
            if (depth == 8)
                ras_put_block8(block.data(), kCel, kCel);
            else
                ras_put_block(block.data(), kCel, kCel);
        } else {
            if (depth == 8)
                ras_get_block8(block.data(), kCel, kCel);
            else
                ras_get_block(block.data(), kCel, kCel);
        }
        benchmark::ClobberMemory();
    }
    const double ours = (cpu_seconds() - start);

    std::vector<uint8_t> other(block.size(), 3);
    report(state, ours, "memcpy", [&] { std::memcpy(other.data(), block.data(), block.size()); });
    ras_shutdown();
}

void PutBlock(benchmark::State& state)
{
    CelBlock<true>(state);
}

void GetBlock(benchmark::State& state)
{
    CelBlock<false>(state);
}

BENCHMARK(ZoomRebuild)->ArgName("depth")->Arg(8)->Arg(16)->Arg(24)->Arg(32)->Unit(benchmark::kMicrosecond);
BENCHMARK(Paste)->ArgName("depth")->Arg(8)->Arg(16)->Arg(24)->Arg(32)->Unit(benchmark::kMicrosecond);
BENCHMARK(PutBlock)->ArgName("depth")->Arg(8)->Arg(16)->Arg(24)->Arg(32)->Unit(benchmark::kMicrosecond);
BENCHMARK(GetBlock)->ArgName("depth")->Arg(8)->Arg(16)->Arg(24)->Arg(32)->Unit(benchmark::kMicrosecond);

} // namespace
