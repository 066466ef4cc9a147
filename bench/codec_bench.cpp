// Picture codec speed on 2048 x 2048 pictures (files in the temporary folder, written once by our
// writer): an 8-bit and a 24-bit BMP and PCX, each loaded into a buffer of its own depth, and
// each saved from one. The BMP loads are timed beside Qt's BMP reader (QImage::load) on the same
// file in the same run, and the BMP saves beside QImage::save; both are reported per call in
// milliseconds with the ratio ours / Qt (below 1: ours is faster). Times are thread CPU time
// (user and system), so that other work on the machine disturbs them less.
//   BmpLoad/8/keep:   indices copied, palette kept (what Qt's reader does: it keeps the indices).
//   BmpLoad/8/import: the import's load, which also fits the colours into entries 10..245.
//   BmpLoad/24:       into a 24-bit buffer (Qt decodes to 32-bit RGB).
//   PcxLoad/8, PcxLoad/24, PcxSave/8, PcxSave/24: ours only (Qt reads no PCX).

#include "raster/codecs/bmp.h"
#include "raster/codecs/pcx.h"
#include "raster/raster.h"

#include <benchmark/benchmark.h>

#ifdef CELWRIGHT_BENCH_HAS_QT
#include <QImage>
#include <QString>
#endif

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>

namespace {

constexpr int32_t kSide = 2048;

double cpu_seconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::string bench_file(const char* name)
{
    return (std::filesystem::temp_directory_path() / (std::string("celwright-bench-") + name)).string();
}

// A sprite sheet: 32 x 32 tiles of one colour each, with a band of noise through every tile, so
// that run-length coding meets both long runs and none.
int32_t sheet_value(int32_t x, int32_t y, int32_t depth)
{
    uint32_t n = static_cast<uint32_t>((x / 32) * 7 + (y / 32) * 13) * 0x9E3779B9u;
    if (y % 32 >= 12 && y % 32 < 20)
        n = static_cast<uint32_t>(x * 31 + y * 17) * 2654435761u;
    if (depth == 8)
        return static_cast<int32_t>(n >> 24);
    return static_cast<int32_t>(n >> 8);
}

// A fresh engine with one active kSide x kSide buffer of the depth filled with the sheet.
int32_t sheet_buffer(int32_t depth)
{
    ras_init();
    ras_delete_palette(ras_make_default_palette());
    ras_set_buffer_depth(depth);
    const int32_t handle = ras_alloc_buffer(kSide, kSide);
    ras_open_buffer(handle);
    for (int32_t y = 0; y < kSide; ++y)
        for (int32_t x = 0; x < kSide; ++x) {
            ras_set_color(sheet_value(x, y, depth));
            ras_point(x, y);
        }
    return handle;
}

// The picture file of the format and depth, written once per run.
const std::string& picture_file(bool pcx, int32_t depth)
{
    static std::string names[2][2];
    std::string& name = names[pcx ? 1 : 0][depth == 8 ? 0 : 1];
    if (name.empty()) {
        name = bench_file((std::string(pcx ? "pcx" : "bmp") + std::to_string(depth) + (pcx ? ".pcx" : ".bmp")).c_str());
        sheet_buffer(depth);
        if (pcx)
            ras_save_pcx(0, kSide - 1, 0, kSide - 1, name.c_str());
        else
            ras_save_bmp(0, kSide - 1, 0, kSide - 1, depth == 8 ? 8 : 24, name.c_str());
        ras_shutdown();
    }
    return name;
}

void report(benchmark::State& state, double ours_seconds, double qt_seconds)
{
    const double runs = static_cast<double>(state.iterations());
    state.counters["ours_ms"] = ours_seconds / runs * 1e3;
    if (qt_seconds > 0) {
        state.counters["qt_ms"] = qt_seconds / runs * 1e3;
        state.counters["ours_per_qt"] = ours_seconds / qt_seconds;
    }
}

// Times body over the benchmark's iterations; returns the CPU seconds spent.
template <typename Body>
double timed(benchmark::State& state, Body body)
{
    double total = 0;
    for (auto _ : state) {
        const double start = cpu_seconds();
        body();
        total += cpu_seconds() - start;
    }
    return total;
}

// Runs the Qt side as many times as ours ran.
template <typename Body>
double timed_again(benchmark::State& state, Body body)
{
    const auto runs = static_cast<int64_t>(state.iterations());
    const double start = cpu_seconds();
    for (int64_t i = 0; i < runs; ++i)
        body();
    return cpu_seconds() - start;
}

void load(benchmark::State& state, bool pcx, int32_t depth, int32_t flags)
{
    const std::string& name = picture_file(pcx, depth);
    sheet_buffer(depth);
    const double ours = timed(state, [&] {
        const int32_t result = pcx ? ras_load_pcx(name.c_str(), flags) : ras_load_bmp(name.c_str(), flags);
        benchmark::DoNotOptimize(result);
        if (result != 0)
            state.SkipWithError("the picture could not be read");
    });
    ras_shutdown();
    double qt = 0;
#ifdef CELWRIGHT_BENCH_HAS_QT
    if (!pcx) {
        const QString qname = QString::fromStdString(name);
        qt = timed_again(state, [&] {
            QImage image;
            benchmark::DoNotOptimize(image.load(qname, "BMP"));
        });
    }
#endif
    report(state, ours, qt);
}

void save(benchmark::State& state, bool pcx, int32_t depth)
{
    const std::string name = bench_file(pcx ? "saved.pcx" : "saved.bmp");
    sheet_buffer(depth);
    const double ours = timed(state, [&] {
        const int32_t result = pcx ? ras_save_pcx(0, kSide - 1, 0, kSide - 1, name.c_str())
                                   : ras_save_bmp(0, kSide - 1, 0, kSide - 1, depth == 8 ? 8 : 24, name.c_str());
        benchmark::DoNotOptimize(result);
    });
    ras_shutdown();
    double qt = 0;
#ifdef CELWRIGHT_BENCH_HAS_QT
    if (!pcx) {
        QImage image;
        image.load(QString::fromStdString(picture_file(false, depth)), "BMP");
        const QString qname = QString::fromStdString(bench_file("saved-by-qt.bmp"));
        qt = timed_again(state, [&] { benchmark::DoNotOptimize(image.save(qname, "BMP")); });
    }
#endif
    report(state, ours, qt);
}

void BmpLoad8Keep(benchmark::State& state) { load(state, false, 8, RAS_BMP_KEEP_PALETTE); }
void BmpLoad8Import(benchmark::State& state) { load(state, false, 8, 0); }
void BmpLoad24(benchmark::State& state) { load(state, false, 24, 0); }
void PcxLoad8(benchmark::State& state) { load(state, true, 8, RAS_PCX_KEEP_PALETTE); }
void PcxLoad24(benchmark::State& state) { load(state, true, 24, 0); }
void BmpSave8(benchmark::State& state) { save(state, false, 8); }
void BmpSave24(benchmark::State& state) { save(state, false, 24); }
void PcxSave8(benchmark::State& state) { save(state, true, 8); }
void PcxSave24(benchmark::State& state) { save(state, true, 24); }

BENCHMARK(BmpLoad8Keep)->Name("BmpLoad/8/keep")->Unit(benchmark::kMillisecond);
BENCHMARK(BmpLoad8Import)->Name("BmpLoad/8/import")->Unit(benchmark::kMillisecond);
BENCHMARK(BmpLoad24)->Name("BmpLoad/24")->Unit(benchmark::kMillisecond);
BENCHMARK(PcxLoad8)->Name("PcxLoad/8")->Unit(benchmark::kMillisecond);
BENCHMARK(PcxLoad24)->Name("PcxLoad/24")->Unit(benchmark::kMillisecond);
BENCHMARK(BmpSave8)->Name("BmpSave/8")->Unit(benchmark::kMillisecond);
BENCHMARK(BmpSave24)->Name("BmpSave/24")->Unit(benchmark::kMillisecond);
BENCHMARK(PcxSave8)->Name("PcxSave/8")->Unit(benchmark::kMillisecond);
BENCHMARK(PcxSave24)->Name("PcxSave/24")->Unit(benchmark::kMillisecond);

} // namespace
