// Colour reduction speed: ras_reduce_colors on a 256 x 256 8-bit picture that uses all 256
// indices (256 pixels each, colours scattered over the RGB cube), beside a memcpy of the
// picture's 65 536 bytes timed in the same run. Reported per call in microseconds with the ratio.
//   ReduceColors/236: the import case, offset 10 and n = 236, so 20 merges of the closest pair.
//   ReduceColors/256: offset 0 and n = 256, no merge: only the counting, packing and renumbering
//                     passes over the pixels.
// The picture and palette are restored before every call, outside the timed part.

#include "raster/raster.h"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int32_t kSide = 256;

std::vector<uint8_t> test_picture()
{
    std::vector<uint8_t> pixels(kSide * kSide);
    for (int32_t y = 0; y < kSide; ++y)
        for (int32_t x = 0; x < kSide; ++x)
            pixels[y * kSide + x] = static_cast<uint8_t>(x * 37 + y * 11);
    return pixels;
}

std::array<uint8_t, 768> test_palette()
{
    std::array<uint8_t, 768> palette{};
    uint32_t seed = 12345;
    for (uint8_t& c : palette) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<uint8_t>(seed >> 16);
    }
    return palette;
}

void ReduceColors(benchmark::State& state)
{
    const auto n = static_cast<int32_t>(state.range(0));
    const int32_t offset = n == 256 ? 0 : 10;
    ras_init();
    ras_set_buffer_depth(8);
    ras_open_buffer(ras_alloc_buffer(kSide, kSide));
    const std::vector<uint8_t> picture = test_picture();
    const std::array<uint8_t, 768> original_palette = test_palette();
    std::array<uint8_t, 768> palette{};
    const ras_memory_dc* dc = ras_get_memory_dc();

    double ours = 0;
    for (auto _ : state) {
        std::memcpy(dc->pixels, picture.data(), picture.size());
        palette = original_palette;
        const Clock::time_point start = Clock::now();
        ras_reduce_colors(offset, n, palette.data());
        benchmark::ClobberMemory();
        ours += std::chrono::duration<double>(Clock::now() - start).count();
    }

    std::vector<uint8_t> copy(picture.size());
    const auto runs = static_cast<int64_t>(state.iterations());
    const Clock::time_point start = Clock::now();
    for (int64_t i = 0; i < runs; ++i) {
        std::memcpy(copy.data(), dc->pixels, copy.size());
        benchmark::ClobberMemory();
    }
    const double limit = std::chrono::duration<double>(Clock::now() - start).count();

    state.counters["ours_us"] = ours / static_cast<double>(runs) * 1e6;
    state.counters["memcpy_us"] = limit / static_cast<double>(runs) * 1e6;
    state.counters["ratio"] = ours / limit;
    ras_close_buffer();
    ras_shutdown();
}

BENCHMARK(ReduceColors)->Arg(236)->Arg(256)->Unit(benchmark::kMicrosecond);

} // namespace
