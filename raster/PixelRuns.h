#pragma once
// Tight store loops for runs of one colour, shared by the rectangle and fill code. Runs are
// written with 64-bit stores; a run's last store may overlap the one before it, which costs
// nothing and spares the short tail stores (the magnified view is made of 7-pixel runs). Stores
// go through memcpy, so no alignment is assumed, and no store leaves the run.

#include <cstdint>
#include <cstring>

namespace raster_internal {

inline void store64(uint8_t* at, uint64_t v)
{
    std::memcpy(at, &v, 8);
}

inline void store32(uint8_t* at, uint32_t v)
{
    std::memcpy(at, &v, 4);
}

inline void store16(uint8_t* at, uint32_t v)
{
    const auto half = static_cast<uint16_t>(v);
    std::memcpy(at, &half, 2);
}

// A run of 8-, 16- or 32-bit pixels: the colour word repeats every 1, 2 or 4 bytes, and a run is
// a whole number of pixels, so an overlapping store at any pixel boundary writes the same bytes.
inline void fill_words(uint8_t* at, int64_t bytes, uint32_t word)
{
    if (bytes >= 8) {
        const uint64_t pattern = word | (static_cast<uint64_t>(word) << 32);
        int64_t i = 0;
        for (; i + 8 <= bytes; i += 8)
            store64(at + i, pattern);
        if (i < bytes)
            store64(at + bytes - 8, pattern);
    } else if (bytes >= 4) {
        store32(at, word);
        store32(at + bytes - 4, word);
    } else if (bytes >= 2) {
        store16(at, word);
        store16(at + bytes - 2, word);
    } else if (bytes == 1) {
        *at = static_cast<uint8_t>(word);
    }
}

// A run of 24-bit pixels blue, green, red. The byte pattern repeats every 3 bytes, so a store at
// byte offset o takes the pattern from phase o % 3.
class TripleRun {
public:
    explicit TripleRun(uint32_t value)
    {
        const uint64_t v = value & 0xFFFFFFu;
        at_phase_[0] = v | (v << 24) | (v << 48);
        at_phase_[1] = (v >> 8) | (v << 16) | (v << 40);
        at_phase_[2] = (v >> 16) | (v << 8) | (v << 32) | (v << 56);
    }

    // pixels is the run's length in pixels.
    void fill(uint8_t* at, int64_t pixels) const
    {
        const int64_t bytes = pixels * 3;
        if (bytes >= 8) {
            // Offsets 0, 8 and 16 of every 24 bytes are at phases 0, 2 and 1; a run is a whole
            // number of pixels, so its last 8 bytes start at phase (3n - 8) % 3 = 1.
            int64_t i = 0;
            for (; i + 24 <= bytes; i += 24) {
                store64(at + i, at_phase_[0]);
                store64(at + i + 8, at_phase_[2]);
                store64(at + i + 16, at_phase_[1]);
            }
            if (i + 8 <= bytes) {
                store64(at + i, at_phase_[0]);
                i += 8;
                if (i + 8 <= bytes) {
                    store64(at + i, at_phase_[2]);
                    i += 8;
                }
            }
            if (i < bytes)
                store64(at + bytes - 8, at_phase_[1]);
        } else if (bytes == 6) {
            store32(at, static_cast<uint32_t>(at_phase_[0]));
            store32(at + 2, static_cast<uint32_t>(at_phase_[2]));
        } else if (bytes == 3) {
            store16(at, static_cast<uint32_t>(at_phase_[0]));
            at[2] = static_cast<uint8_t>(at_phase_[2]);
        }
    }

private:
    uint64_t at_phase_[3];
};

} // namespace raster_internal
