#pragma once
// Row conversions where plain byte loops are far slower than the memory allows: 3-byte pixels
// to 4-byte ones and back, and buffer pixels to 0xFFRRGGBB surface pixels. Each exists as a
// portable loop and, on x86-64 processors with AVX2, as a vector loop; the set is chosen once
// per process. Every routine reads exactly pixels source pixels and writes exactly pixels
// destination pixels, nothing beyond.

#include <cstdint>

namespace raster_internal {

struct RowKernels {
    // blue, green, red -> blue, green, red, 0
    void (*bgr_to_bgr0)(uint8_t* dst, const uint8_t* src, int32_t pixels);
    // blue, green, red, x -> blue, green, red
    void (*bgr0_to_bgr)(uint8_t* dst, const uint8_t* src, int32_t pixels);
    // blue, green, red -> 0xFFRRGGBB
    void (*bgr_to_surface)(uint32_t* dst, const uint8_t* src, int32_t pixels);
    // blue, green, red, x -> 0xFFRRGGBB
    void (*bgrx_to_surface)(uint32_t* dst, const uint8_t* src, int32_t pixels);
    // 5-6-5, low byte first -> 0xFFRRGGBB, each component widened as value * 255 / 31 (or / 63)
    void (*rgb565_to_surface)(uint32_t* dst, const uint8_t* src, int32_t pixels);
};

// The set for this processor.
const RowKernels& row_kernels();

// The portable set, which the vector set must match exactly.
const RowKernels& portable_row_kernels();

} // namespace raster_internal
