#pragma once
// Tight store loops shared by the drawing and block code: a run of one colour, written with
// 32-bit stores where the depth allows it. Stores go through memcpy, so no alignment is assumed.

#include <cstdint>
#include <cstring>

namespace raster_internal {

// Writes the 32-bit pattern over bytes bytes: 32-bit stores, then a 16-bit and an 8-bit store for
// the rest. The pattern repeats every 4 bytes, so it serves 8-, 16- and 32-bit pixels alike.
inline void fill_words(uint8_t* at, int64_t bytes, uint32_t word)
{
    int64_t words = bytes / 4;
    while (words-- > 0) {
        std::memcpy(at, &word, 4);
        at += 4;
    }
    if (bytes & 2) {
        std::memcpy(at, &word, 2);
        at += 2;
    }
    if (bytes & 1)
        *at = static_cast<uint8_t>(word);
}

// Writes pixels 24-bit pixels blue, green, red of value (red in bits 16..23): four pixels at a
// time as three 32-bit stores, then one pixel at a time.
inline void fill_triples(uint8_t* at, int64_t pixels, uint32_t value)
{
    const uint8_t b = static_cast<uint8_t>(value);
    const uint8_t g = static_cast<uint8_t>(value >> 8);
    const uint8_t r = static_cast<uint8_t>(value >> 16);
    const uint8_t pattern[12] = {b, g, r, b, g, r, b, g, r, b, g, r};
    int64_t quads = pixels / 4;
    while (quads-- > 0) {
        std::memcpy(at, pattern, 12);
        at += 12;
    }
    for (int64_t i = pixels & 3; i > 0; --i) {
        at[0] = b;
        at[1] = g;
        at[2] = r;
        at += 3;
    }
}

} // namespace raster_internal
