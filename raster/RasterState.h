#pragma once
// The raster engine's process-wide state, shared by its source files (not part of the public
// interface; callers use raster.h). One record, ras_state, holds the 32 buffer slots, the copy of
// the active buffer's geometry made on opening, the graphics position, the current colour, the
// palette tables and the window surface.

#include "raster/raster.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// One entry of a palette: red, green, blue and a flags byte (1 for entries the engine writes).
struct ras_palette_entry {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t flags;
};

// A colour-table entry as an 8-bit buffer's header carries it: blue, green, red, 0.
struct ras_quad {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
    uint8_t reserved;
};

struct ras_palette {
    ras_palette_entry entries[256];
};

namespace raster_internal {

constexpr int32_t kSlotCount = 32;
constexpr int32_t kInfoHeaderSize = 40;    // the header size field, at every depth
constexpr int32_t kColourTableOffset = 40; // an 8-bit buffer's 256 quads follow the header
constexpr int32_t kMaskOffset = 40;        // 16- and 32-bit buffers: the bit masks follow it

// One buffer. pixels == nullptr means the slot is free.
struct ras_slot {
    uint8_t* pixels = nullptr;               // start of the pixel memory (the bottom row)
    std::unique_ptr<uint8_t[]> pixel_memory; // owns pixels
    std::unique_ptr<uint8_t[]> header;       // header fields, then the masks or colour table
    int32_t depth = 0;
    int32_t width = 0; // stored width, a multiple of 4
    int32_t height = 0;
    // The clip rectangle as the caller set it (inclusive, buffer coordinates).
    int32_t clip_left = 0;
    int32_t clip_right = 0;
    int32_t clip_top = 0;
    int32_t clip_bottom = 0;
};

struct ras_state {
    int8_t active = -1; // handle of the active buffer; negative: none

    // Copies from the active slot, made by opening it. Geometry is 0 and pixels null while no
    // buffer is active; depth and depth_index stay those of the last opened buffer.
    int32_t depth = 8;
    int32_t width = 0;
    int32_t height = 0;
    int32_t max_y = -1; // height - 1
    int32_t bytes_per_line = 0;
    int32_t total_bytes = 0;
    uint8_t* pixels = nullptr;
    uint8_t* header = nullptr;
    int32_t depth_index = 0; // depth / 8 - 1: selects every per-depth variant

    // The active buffer's clip rectangle as set, and the part of it inside the buffer, which is
    // what every clipping operation uses (empty when vis_left > vis_right or vis_top > vis_bottom).
    int32_t clip_left = 0;
    int32_t clip_right = 0;
    int32_t clip_top = 0;
    int32_t clip_bottom = 0;
    int32_t vis_left = 0;
    int32_t vis_right = -1;
    int32_t vis_top = 0;
    int32_t vis_bottom = -1;

    int32_t pos_x = 0; // graphics position
    int32_t pos_y = 0;

    uint32_t colour_word = 0;  // native value replicated to 32 bits
    uint8_t colour_index = 0;  // index last set while an 8-bit depth was current

    int32_t alloc_depth = 8; // depth of the next allocation

    ras_memory_dc memory_dc{};       // the active buffer as a drawing target
    ras_surface* window = nullptr;   // where ras_paste draws

    // The palette in its three views: the logical palette, the colour table 8-bit buffers carry,
    // and the conversion table from index to native value at the active 16/24/32-bit depth.
    ras_palette* current_palette = nullptr;
    ras_palette_entry logical[256]{};
    ras_quad colour_table[256]{};
    uint32_t conversion[256]{};

    ras_slot slots[kSlotCount];
};

extern ras_state state;

// Bytes per pixel in a buffer, by depth index.
constexpr int32_t kBufferPixelBytes[4] = {1, 2, 3, 4};
// Bytes per pixel of a block at the active depth, by depth index (32-bit blocks hold 3).
constexpr int32_t kBlockPixelBytes[4] = {1, 2, 3, 3};

// Native value of an RGB colour at a 16-, 24- or 32-bit depth index (8 bits: 0).
uint32_t native_from_rgb(int32_t depth_index, uint32_t r, uint32_t g, uint32_t b);

// Rebuilds the conversion table from the logical palette for the current depth index.
void rebuild_conversion_table();

// Copies the engine's colour table into the active 8-bit buffer's header.
void copy_colour_table_to_active();

// Recomputes vis_* from clip_* and the active buffer's size.
void update_visible_clip();

// Start of pixel (x, y) of the active buffer; the caller has checked that it lies inside.
inline uint8_t* pixel_address(int32_t x, int32_t y)
{
    return state.pixels + static_cast<std::ptrdiff_t>(state.max_y - y) * state.bytes_per_line +
           static_cast<std::ptrdiff_t>(x) * kBufferPixelBytes[state.depth_index];
}

inline bool inside_buffer(int32_t x, int32_t y)
{
    return x >= 0 && y >= 0 && x < state.width && y < state.height;
}

} // namespace raster_internal
