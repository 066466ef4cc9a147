// The edit view's whole repaint for the largest sprite the New dialog allows (200 x 200): the
// magnified view rebuilt from the edit buffer, then both pictures pasted into the window surface.
// The memory limit moves the same bytes with memset and memcpy: what the repaint writes into the
// magnified view, and what the pastes write into the surface.

#include "editor/Display.h"
#include "editor/Drawing.h"
#include "raster/raster.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr std::int32_t kCel = 200;
constexpr std::int32_t kZoom = 8 * kCel;
// A surface big enough for the whole magnified view beside the true-size picture.
constexpr std::int32_t kSurfaceWidth = kZoom + 20 + kCel;
constexpr std::int32_t kSurfaceHeight = kZoom + 20;

struct TBenchWindow {
  std::vector<std::uint32_t> Pixels =
      std::vector<std::uint32_t>(static_cast<std::size_t>(kSurfaceWidth) * kSurfaceHeight);
  ras_surface Surface{Pixels.data(), kSurfaceWidth, kSurfaceHeight, kSurfaceWidth * 4, nullptr,
                      nullptr};
  ras_palette* Palette = nullptr;

  TBenchWindow() {
    ras_set_window_dc(&Surface);
    Palette = ras_make_default_palette();
    ras_realize_palette(Palette);
    ras_init();
  }
  ~TBenchWindow() {
    ras_shutdown();
    ras_delete_palette(Palette);
    ras_set_window_dc(nullptr);
  }
};

void BM_EditViewRepaint(benchmark::State& state) {
  const auto depth = static_cast<std::int32_t>(state.range(0));
  TBenchWindow window;
  {
    TPic zoom(kZoom, kZoom, depth);
    TPic cel(kCel, kCel, depth);
    // A cel of many different colours, so no pixel repeats its neighbour's colour.
    for (std::int32_t y = 0; y < kCel; ++y) {
      for (std::int32_t x = 0; x < kCel; ++x) {
        ras_set_color(x * 131 + y * 977 + 12345);
        ras_point(x, y);
      }
    }
    zoom.SetPosition(0, 0);
    cel.SetPosition(kZoom + 20, 0);
    ClearViews(zoom, cel);
    for (auto _ : state) {
      RenderZoom(cel, zoom, kCel, kCel, depth);
      zoom.Paint();
      cel.Paint();
      benchmark::DoNotOptimize(window.Pixels.data());
      benchmark::ClobberMemory();
    }
    ras_close_buffer();
  }
  const std::int64_t bytesPerPixel = depth / 8;
  state.SetBytesProcessed(state.iterations() *
                          (49LL * kCel * kCel * bytesPerPixel + 4LL * (kZoom * kZoom + kCel * kCel)));
}
BENCHMARK(BM_EditViewRepaint)->Arg(8)->Arg(16)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);

// The same bytes at memory speed: the magnified view's cells set, the surface written from a
// buffer of the picture's size.
void BM_EditViewRepaintMemoryLimit(benchmark::State& state) {
  const auto bytesPerPixel = static_cast<std::size_t>(state.range(0) / 8);
  std::vector<std::uint8_t> zoom(static_cast<std::size_t>(kZoom) * kZoom * bytesPerPixel);
  const std::size_t cellBytes = 49 * static_cast<std::size_t>(kCel) * kCel * bytesPerPixel;
  const std::size_t surfaceBytes = 4 * (static_cast<std::size_t>(kZoom) * kZoom + kCel * kCel);
  std::vector<std::uint8_t> source(surfaceBytes, 1);
  std::vector<std::uint8_t> surface(surfaceBytes);
  std::uint8_t value = 0;
  for (auto _ : state) {
    std::memset(zoom.data(), ++value, cellBytes);
    std::memcpy(surface.data(), source.data(), surfaceBytes);
    benchmark::DoNotOptimize(zoom.data());
    benchmark::DoNotOptimize(surface.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(cellBytes + surfaceBytes));
}
BENCHMARK(BM_EditViewRepaintMemoryLimit)
    ->Arg(8)
    ->Arg(16)
    ->Arg(24)
    ->Arg(32)
    ->Unit(benchmark::kMillisecond);

}  // namespace
