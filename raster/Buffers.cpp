// The buffer table, the active buffer, start-up and shut-down.

#include "raster/RasterState.h"
#include "raster/raster.h"

#include <cstring>
#include <new>

namespace raster_internal {

ras_state state;

namespace {

void put_u16(uint8_t* at, uint32_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void put_u32(uint8_t* at, uint32_t value)
{
    put_u16(at, value);
    put_u16(at + 2, value >> 16);
}

bool supported_depth(int32_t depth)
{
    return depth == 8 || depth == 16 || depth == 24 || depth == 32;
}

// Size of a buffer's header block: room for the 108-byte form of the header at 16 and 32 bits,
// for the 256-entry colour table at 8 bits (and for any other value, which allocation refuses).
int32_t header_block_size_for(int32_t depth)
{
    if (depth == 16 || depth == 32)
        return 108;
    if (depth == 24)
        return 40;
    return kColourTableOffset + 256 * 4;
}

// The bitmap header: stored width, +height (rows bottom-up), 1 plane, the depth, and for 16 and
// 32 bits the bit-field compression with its masks. The fields after compression stay 0.
void write_header(uint8_t* header, int32_t depth, int32_t width, int32_t height)
{
    put_u32(header + 0, kInfoHeaderSize);
    put_u32(header + 4, static_cast<uint32_t>(width));
    put_u32(header + 8, static_cast<uint32_t>(height));
    put_u16(header + 12, 1);
    put_u16(header + 14, static_cast<uint32_t>(depth));
    if (depth == 16) {
        put_u32(header + 16, 3);
        put_u32(header + kMaskOffset + 0, 0xF800);
        put_u32(header + kMaskOffset + 4, 0x07E0);
        put_u32(header + kMaskOffset + 8, 0x001F);
    } else if (depth == 32) {
        put_u32(header + 16, 3);
        put_u32(header + kMaskOffset + 0, 0x00FF0000);
        put_u32(header + kMaskOffset + 4, 0x0000FF00);
        put_u32(header + kMaskOffset + 8, 0x000000FF);
        put_u32(header + kMaskOffset + 12, 0xFF000000);
    } else if (depth == 8) {
        std::memcpy(header + kColourTableOffset, state.colour_table, sizeof state.colour_table);
    }
}

void release_slot(ras_slot& slot)
{
    slot.pixels = nullptr;
    slot.pixel_memory.reset();
    slot.header.reset();
}

void clear_active_geometry()
{
    state.active = -1;
    state.width = 0;
    state.height = 0;
    state.max_y = -1;
    state.bytes_per_line = 0;
    state.total_bytes = 0;
    state.pixels = nullptr;
    state.header = nullptr;
    state.memory_dc = ras_memory_dc{};
    update_visible_clip();
}

} // namespace

uint32_t native_from_rgb(int32_t depth_index, uint32_t r, uint32_t g, uint32_t b)
{
    r &= 0xFF;
    g &= 0xFF;
    b &= 0xFF;
    switch (depth_index) {
    case 1:
        return ((r & 0xF8) << 8) | ((g >> 2) << 5) | (b >> 3);
    case 2:
    case 3:
        return (r << 16) | (g << 8) | b;
    default:
        return 0;
    }
}

void rebuild_conversion_table()
{
    for (int i = 0; i < 256; ++i) {
        const ras_palette_entry& e = state.logical[i];
        state.conversion[i] = native_from_rgb(state.depth_index, e.red, e.green, e.blue);
    }
}

void copy_colour_table_to_active()
{
    if (state.active >= 0 && state.depth == 8)
        std::memcpy(state.header + kColourTableOffset, state.colour_table, sizeof state.colour_table);
}

void update_visible_clip()
{
    state.vis_left = state.clip_left < 0 ? 0 : state.clip_left;
    state.vis_top = state.clip_top < 0 ? 0 : state.clip_top;
    state.vis_right = state.clip_right < state.width - 1 ? state.clip_right : state.width - 1;
    state.vis_bottom = state.clip_bottom < state.height - 1 ? state.clip_bottom : state.height - 1;
}

} // namespace raster_internal

using namespace raster_internal;

int32_t ras_init()
{
    for (ras_slot& slot : state.slots)
        release_slot(slot);
    clear_active_geometry();
    state.colour_word = 0;
    state.colour_index = 0;
    state.depth = 8;
    state.depth_index = 0;
    state.pos_x = 0;
    state.pos_y = 0;
    state.alloc_depth = 8;
    return 0;
}

int32_t ras_shutdown()
{
    // Buffers still allocated are released here rather than leaked; their handles are dead.
    for (ras_slot& slot : state.slots)
        release_slot(slot);
    clear_active_geometry();
    return 0;
}

int32_t ras_display_bits()
{
    return 32;
}

int32_t ras_set_buffer_depth(int32_t depth)
{
    state.alloc_depth = depth;
    return 0;
}

int32_t ras_alloc_buffer(int32_t width, int32_t height)
{
    int32_t handle = 0;
    while (handle < kSlotCount && state.slots[handle].pixels != nullptr)
        ++handle;
    if (handle == kSlotCount)
        return -1;

    const int32_t depth = state.alloc_depth;
    if (!supported_depth(depth) || width < 1 || height < 1)
        return -2;
    const int64_t stored_width = (static_cast<int64_t>(width) + 3) / 4 * 4;
    const int64_t bytes_per_line = stored_width * (depth / 8);
    const int64_t total = bytes_per_line * height;
    // Geometry is kept in int32_t: refuse anything whose byte count would not fit.
    if (total > INT32_MAX)
        return -2;

    // Sized by the depth being allocated, never by the depth of whatever buffer is open.
    std::unique_ptr<uint8_t[]> header(new (std::nothrow) uint8_t[header_block_size_for(depth)]());
    if (!header)
        return -2;
    std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[static_cast<size_t>(total)]());
    if (!pixels)
        return -2;
    write_header(header.get(), depth, static_cast<int32_t>(stored_width), height);

    ras_slot& slot = state.slots[handle];
    slot.pixels = pixels.get();
    slot.pixel_memory = std::move(pixels);
    slot.header = std::move(header);
    slot.depth = depth;
    slot.width = static_cast<int32_t>(stored_width);
    slot.height = height;
    slot.clip_left = 0;
    slot.clip_top = 0;
    slot.clip_right = slot.width - 1;
    slot.clip_bottom = height - 1;
    return handle;
}

int32_t ras_free_buffer(int32_t handle)
{
    if (handle < 0 || handle >= kSlotCount || handle == state.active)
        return 0;
    release_slot(state.slots[handle]);
    return 0;
}

int32_t ras_open_buffer(int32_t handle)
{
    if (handle < 0 || handle >= kSlotCount)
        return -1;
    ras_slot& slot = state.slots[handle];
    if (slot.pixels == nullptr)
        return -2;

    state.active = static_cast<int8_t>(handle);
    state.depth = slot.depth;
    state.width = slot.width;
    state.height = slot.height;
    state.max_y = slot.height - 1;
    state.bytes_per_line = slot.width * (slot.depth / 8);
    state.total_bytes = state.bytes_per_line * slot.height;
    state.pixels = slot.pixels;
    state.header = slot.header.get();
    state.clip_left = slot.clip_left;
    state.clip_right = slot.clip_right;
    state.clip_top = slot.clip_top;
    state.clip_bottom = slot.clip_bottom;
    update_visible_clip();
    state.depth_index = slot.depth / 8 - 1;
    state.memory_dc = ras_memory_dc{state.pixels, state.width, state.height, state.bytes_per_line,
                                    state.depth};

    if (slot.depth == 8)
        copy_colour_table_to_active();
    else
        rebuild_conversion_table();
    return 0;
}

int32_t ras_close_buffer()
{
    clear_active_geometry();
    return 0;
}

int32_t ras_get_active_buffer()
{
    return state.active;
}

const ras_memory_dc* ras_get_memory_dc()
{
    return &state.memory_dc;
}

int32_t ras_max_x()
{
    return state.width - 1;
}

int32_t ras_max_y()
{
    return state.max_y;
}

uint8_t* ras_row_address(int32_t y)
{
    if (state.active < 0 || y < 0 || y >= state.height)
        return nullptr;
    return state.pixels + static_cast<std::ptrdiff_t>(state.max_y - y) * state.bytes_per_line;
}

int32_t ras_set_clip(int32_t left, int32_t right, int32_t top, int32_t bottom)
{
    state.clip_left = left;
    state.clip_right = right;
    state.clip_top = top;
    state.clip_bottom = bottom;
    if (state.active >= 0) {
        ras_slot& slot = state.slots[state.active];
        slot.clip_left = left;
        slot.clip_right = right;
        slot.clip_top = top;
        slot.clip_bottom = bottom;
    }
    update_visible_clip();
    return 0;
}

int32_t ras_set_window_dc(ras_surface* surface)
{
    state.window = surface;
    return 0;
}
