// The BMP reader and writer.
//
// Layout of a file: a 14-byte file header ("BM", file size, reserved, pixel data offset), then
// the bitmap header (its first field is its size: 12 for the core form with 16-bit width and
// height and 3-byte colour entries; anything else is an info header with 32-bit signed width and
// height and 4-byte entries), then the colour table, then the rows, each padded to 4 bytes.
// The colour table fills everything between the bitmap header and the pixel data, so the pixel
// data offset sizes it and the rows begin where it ends.

#include "raster/codecs/bmp.h"

#include "raster/RasterState.h"
#include "raster/codecs/ByteOrder.h"
#include "raster/codecs/FileState.h"
#include "raster/codecs/RowConvert.h"
#include "raster/raster.h"

#include <algorithm>
#include <cstring>

using namespace codec_internal;
using raster_internal::state;

namespace {

constexpr int32_t kFileHeaderBytes = 14;
constexpr int32_t kCoreHeaderBytes = 12;
constexpr int32_t kHeaderQueryBytes = 54;

bool has_signature(const uint8_t* bytes)
{
    return bytes[0] == 'B' && bytes[1] == 'M';
}

// What the loader needs to know about a file, every field checked.
struct bmp_layout {
    bool core = false;
    int64_t header_size = 0;
    int64_t palette_bytes = 0; // bytes between the bitmap header and the pixel data
    int32_t entry_bytes = 4;   // 3 in a core header's colour table
    int32_t entries = 0;       // colour entries used, at most 256
    int32_t bits = 1;          // 1, 4, 8 or 24
    int32_t width = 0;
    int64_t rows = 0;
    bool top_down = false;
    int32_t row_bytes = 0;     // padded to a multiple of 4
};

int32_t padded_row_bytes(int32_t bits, int32_t width)
{
    int32_t bytes = width; // 8 bits
    if (bits == 1)
        bytes = (width + 7) / 8;
    else if (bits == 4)
        bytes = (width + 1) / 2;
    else if (bits == 24)
        bytes = width * 3;
    return (bytes + 3) & ~3;
}

// Reads and checks the header held in bytes[0..have). The refusals that name a format the engine
// does not read come first, then the checks that keep damaged fields from steering the loader.
int32_t read_layout(const uint8_t* bytes, std::size_t have, int32_t buffer_depth, bmp_layout& out)
{
    if (have < 2 || !has_signature(bytes))
        return finish(RAS_BMP_NOT_BMP, "The file is not a BMP picture.");
    if (have < 18)
        return finish(RAS_CODEC_TRUNCATED, "The file ends inside its header.");
    out.header_size = get_u32(bytes + 14);
    out.core = out.header_size == kCoreHeaderBytes;
    if (!out.core && out.header_size < 16)
        return finish(RAS_CODEC_BAD_HEADER, "The picture's header is too short to describe it.");
    // An info header shorter than 20 bytes (an old short form) has no compression field.
    const bool has_compression = !out.core && out.header_size >= 20;
    const std::size_t needed = out.core ? 26 : (has_compression ? 34 : 30);
    if (have < needed)
        return finish(RAS_CODEC_TRUNCATED, "The file ends inside its header.");

    const uint32_t compression = has_compression ? get_u32(bytes + 30) : 0;
    if ((compression & 0xFF) != 0)
        return finish(RAS_BMP_COMPRESSED, "Compressed BMP pictures cannot be read.");
    const uint32_t bit_count = get_u16(bytes + (out.core ? 24 : 28));
    if (bit_count == 16 || bit_count == 32)
        return finish(RAS_BMP_UNSUPPORTED, "BMP pictures of 16 or 32 bits per pixel cannot be read.");
    out.bits = (bit_count == 4 || bit_count == 8 || bit_count == 24) ? static_cast<int32_t>(bit_count) : 1;
    if (out.bits == 24 && buffer_depth == 8)
        return finish(RAS_BMP_UNSUPPORTED, "A 24-bit picture cannot be read into an 8-bit sprite.");

    int64_t width = 0;
    int64_t height = 0;
    if (out.core) {
        width = get_u16(bytes + 18);
        height = get_u16(bytes + 20);
    } else {
        width = get_i32(bytes + 18);
        height = get_i32(bytes + 22);
    }
    if (width <= 0 || height == 0)
        return finish(RAS_CODEC_BAD_HEADER, "The picture's width or height is zero or negative.");
    if (width > RAS_CODEC_MAX_ROW_PIXELS)
        return finish(RAS_CODEC_TOO_WIDE, "The picture is wider than 16384 pixels.");
    out.width = static_cast<int32_t>(width);
    out.top_down = height < 0;
    out.rows = height < 0 ? -height : height;

    const int64_t pixel_offset = get_u32(bytes + 10);
    out.palette_bytes = pixel_offset - kFileHeaderBytes - out.header_size;
    if (out.palette_bytes < 0)
        return finish(RAS_CODEC_BAD_HEADER, "The picture's pixel data would begin inside its header.");
    out.entry_bytes = out.core ? 3 : 4;
    out.entries = static_cast<int32_t>(std::min<int64_t>(out.palette_bytes / out.entry_bytes, 256));
    out.row_bytes = padded_row_bytes(out.bits, out.width);
    return RAS_CODEC_DONE;
}

// Reads the layout's colour entries from the open file into rgb as triples red, green, blue.
// False if the file ends first.
bool read_colour_table(const bmp_layout& layout, uint8_t* rgb)
{
    const std::size_t bytes = static_cast<std::size_t>(layout.entries) * layout.entry_bytes;
    if (!seek_to(kFileHeaderBytes + layout.header_size) || read_bytes(files.row, bytes) != bytes)
        return false;
    for (int32_t i = 0; i < layout.entries; ++i) {
        const uint8_t* entry = files.row + i * layout.entry_bytes;
        rgb[3 * i] = entry[2];
        rgb[3 * i + 1] = entry[1];
        rgb[3 * i + 2] = entry[0];
    }
    return true;
}

// Sources: where column x of a BMP row is found.
struct bmp_bits1 {
    static uint8_t at(const row_job& job, int32_t x)
    {
        return static_cast<uint8_t>(((job.src[x >> 3] >> (7 - (x & 7))) & 1) + job.index_add);
    }
};

struct bmp_bits4 {
    static uint8_t at(const row_job& job, int32_t x)
    {
        const uint8_t byte = job.src[x >> 1];
        return static_cast<uint8_t>(((x & 1) ? (byte & 15) : (byte >> 4)) + job.index_add);
    }
};

struct bmp_bits8 {
    static uint8_t at(const row_job& job, int32_t x) { return job.src[x]; }
};

struct bmp_bits24 {
    static rgb at(const row_job& job, int32_t x)
    {
        const uint8_t* p = job.src + 3 * x;
        return rgb{p[2], p[1], p[0]};
    }
};

void copy_bgr(const row_job& job)
{
    std::memcpy(job.dst, job.src, static_cast<std::size_t>(job.count) * 3);
}

row_converter choose_converter(int32_t bits, int32_t depth_index)
{
    switch (bits) {
    case 1:
        return kIndexedConverters<bmp_bits1>[depth_index];
    case 4:
        return kIndexedConverters<bmp_bits4>[depth_index];
    case 8:
        return depth_index == 0 ? copy_indices : kIndexedConverters<bmp_bits8>[depth_index];
    default:
        if (depth_index == 1)
            return convert_row<bmp_bits24, sink16>;
        if (depth_index == 2)
            return copy_bgr;
        return convert_row<bmp_bits24, sink32_keep_fourth>;
    }
}

// Reads the rows into the active buffer. False if the file ends before the last row needed.
bool read_rows(const bmp_layout& layout, int64_t pixel_offset)
{
    const int32_t buffer_height = state.height;
    row_job job;
    job.count = std::min(layout.width, state.width);
    job.conversion = state.conversion;
    job.index_add = 10;
    const row_converter convert = choose_converter(layout.bits, state.depth_index);

    // Rows are stored bottom-up unless the height was negative. Rows that fall below the buffer
    // are not needed: bottom-up, they come first and are passed over; top-down, reading ends
    // before them.
    const int64_t rows_needed = std::min<int64_t>(layout.rows, buffer_height);
    int64_t start = pixel_offset;
    if (!layout.top_down)
        start += (layout.rows - rows_needed) * layout.row_bytes;
    if (!seek_to(start))
        return false;
    // As many whole rows as the row buffer holds arrive with one read.
    const int64_t batch = static_cast<int64_t>(kRowBufferBytes) / layout.row_bytes;
    for (int64_t first = 0; first < rows_needed; first += batch) {
        const int64_t wanted = std::min(batch, rows_needed - first);
        const std::size_t bytes = static_cast<std::size_t>(wanted * layout.row_bytes);
        const std::size_t got = read_bytes(files.row, bytes);
        const int64_t complete = static_cast<int64_t>(got) / layout.row_bytes;
        for (int64_t k = 0; k < complete; ++k) {
            const int64_t i = first + k;
            job.src = files.row + k * layout.row_bytes;
            job.dst = ras_row_address(static_cast<int32_t>(layout.top_down ? i : rows_needed - 1 - i));
            convert(job);
        }
        if (got < bytes)
            return false;
    }
    return true;
}

// The padded row of the rectangle's row y, columns x1 .. x1 + width - 1, into out.
using row_writer = void (*)(const uint8_t* pixels, int32_t width, uint8_t* out);

void write_bits8(const uint8_t* pixels, int32_t width, uint8_t* out)
{
    std::memcpy(out, pixels, static_cast<std::size_t>(width));
}

void write_bits4(const uint8_t* pixels, int32_t width, uint8_t* out)
{
    for (int32_t x = 0; x < width; ++x) {
        const uint8_t nibble = static_cast<uint8_t>((pixels[x] - 10) & 15);
        if (x & 1)
            out[x >> 1] = static_cast<uint8_t>(out[x >> 1] | nibble);
        else
            out[x >> 1] = static_cast<uint8_t>(nibble << 4);
    }
}

void write_bits1(const uint8_t* pixels, int32_t width, uint8_t* out)
{
    for (int32_t x = 0; x < width; ++x) {
        const uint8_t bit = static_cast<uint8_t>((pixels[x] & 1) << (7 - (x & 7)));
        out[x >> 3] = static_cast<uint8_t>((x & 7) ? (out[x >> 3] | bit) : bit);
    }
}

// 5-6-5 fields widen with the remainder dropped: 31 and 63 become 255.
void write_from16(const uint8_t* pixels, int32_t width, uint8_t* out)
{
    for (int32_t x = 0; x < width; ++x) {
        const uint32_t v = get_u16(pixels + 2 * x);
        out[3 * x] = static_cast<uint8_t>((v & 31) * 255 / 31);
        out[3 * x + 1] = static_cast<uint8_t>(((v >> 5) & 63) * 255 / 63);
        out[3 * x + 2] = static_cast<uint8_t>((v >> 11) * 255 / 31);
    }
}

void write_from24(const uint8_t* pixels, int32_t width, uint8_t* out)
{
    std::memcpy(out, pixels, static_cast<std::size_t>(width) * 3);
}

void write_from32(const uint8_t* pixels, int32_t width, uint8_t* out)
{
    for (int32_t x = 0; x < width; ++x) {
        out[3 * x] = pixels[4 * x];
        out[3 * x + 1] = pixels[4 * x + 1];
        out[3 * x + 2] = pixels[4 * x + 2];
    }
}

row_writer choose_writer(int32_t bits, int32_t depth_index)
{
    switch (bits) {
    case 1:
        return write_bits1;
    case 4:
        return write_bits4;
    case 8:
        return write_bits8;
    default:
        return depth_index == 1 ? write_from16 : depth_index == 2 ? write_from24 : write_from32;
    }
}

// The header written before every picture, filled in for each file.
uint8_t header_template[54] = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 0,
                               0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                               0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

} // namespace

int32_t ras_bmp_header(const char* name, uint8_t* header)
{
    if (!open_for_reading(name))
        return -1;
    file_closer closer;
    if (header == nullptr || read_bytes(header, kHeaderQueryBytes) != kHeaderQueryBytes || !has_signature(header))
        return -2;
    return 0;
}

int32_t ras_bmp_dimensions(const uint8_t* header, int32_t* width, int32_t* height)
{
    int32_t w = -1;
    int32_t h = -1;
    if (header != nullptr && has_signature(header)) {
        if (get_u32(header + 14) == kCoreHeaderBytes) {
            w = static_cast<int32_t>(get_u16(header + 18));
            h = static_cast<int32_t>(get_u16(header + 20));
        } else {
            w = get_i32(header + 18);
            h = get_i32(header + 22);
            if (h < 0 && h != INT32_MIN)
                h = -h;
        }
    }
    if (width != nullptr)
        *width = w;
    if (height != nullptr)
        *height = h;
    return 0;
}

int32_t ras_bmp_palette(const char* name, uint8_t* rgb)
{
    if (!open_for_reading(name))
        return -1;
    file_closer closer;
    if (rgb == nullptr || read_bytes(files.row, 18) != 18 || !has_signature(files.row))
        return -2;
    bmp_layout layout;
    layout.header_size = get_u32(files.row + 14);
    layout.core = layout.header_size == kCoreHeaderBytes;
    layout.entry_bytes = layout.core ? 3 : 4;
    layout.palette_bytes = static_cast<int64_t>(get_u32(files.row + 10)) - kFileHeaderBytes - layout.header_size;
    if (layout.palette_bytes < 0)
        return -2;
    layout.entries = static_cast<int32_t>(std::min<int64_t>(layout.palette_bytes / layout.entry_bytes, 256));
    // Entries the file does not supply read as black.
    std::memset(rgb, 0, kPaletteBytes);
    if (layout.entries == 0)
        return 0;
    if (!read_colour_table(layout, rgb))
        return -2;
    return layout.entries;
}

int32_t ras_load_bmp(const char* name, int32_t flags)
{
    if (state.active < 0)
        return finish(RAS_CODEC_DONE);
    if (!open_for_reading(name))
        return finish(RAS_BMP_CANNOT_OPEN, "The file cannot be opened.");
    file_closer closer;
    refill();
    bmp_layout layout;
    if (const int32_t refused = read_layout(files.io, files.io_count, state.depth, layout); refused != 0)
        return refused;
    const int64_t pixel_offset = kFileHeaderBytes + layout.header_size + layout.palette_bytes;

    // The colour table is read before any pixel changes, so a file that ends inside it is
    // refused whole. A 24-bit picture's colour table plays no part in its pixels and is skipped.
    const bool use_palette = (flags & RAS_BMP_KEEP_PALETTE) == 0 && layout.entries > 0 && layout.bits <= 8;
    // Only the first 2 or 16 entries can be named by a 1- or 4-bit pixel.
    const int32_t colours = layout.bits == 8 ? layout.entries : std::min(layout.entries, 1 << layout.bits);
    if (use_palette) {
        std::memset(files.palette, 0, kPaletteBytes);
        if (!read_colour_table(layout, files.palette))
            return finish(RAS_CODEC_TRUNCATED, "The file ends inside its colour table.");
        if (state.depth != 8)
            ras_animate_palette(layout.bits == 8 ? 0 : 10, colours, files.palette);
    }

    if (!read_rows(layout, pixel_offset))
        return finish(RAS_CODEC_TRUNCATED, "The file ends before the picture's last row.");

    if (use_palette && state.depth == 8) {
        if (layout.bits == 8) {
            ras_reduce_colors(10, 236, files.palette);
            ras_animate_palette(10, 236, files.palette + 3 * 10);
        } else {
            ras_animate_palette(10, colours, files.palette);
        }
    }
    return finish(RAS_CODEC_DONE);
}

int32_t ras_save_bmp(int32_t x1, int32_t x2, int32_t y1, int32_t y2, int32_t bits, const char* name)
{
    if (state.active < 0)
        return finish(RAS_BMP_CANNOT_OPEN, "There is no picture to save.");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24)
        return finish(RAS_BMP_CANNOT_OPEN, "BMP pictures are written with 1, 4, 8 or 24 bits per pixel only.");
    if (x1 > x2 || y1 > y2 || x1 < 0 || y1 < 0 || x2 >= state.width || y2 >= state.height ||
        (bits == 24) == (state.depth == 8))
        return finish(RAS_CODEC_BAD_RECTANGLE, "The area to save does not fit the picture.");
    const int32_t width = x2 - x1 + 1;
    const int32_t height = y2 - y1 + 1;
    if (width > RAS_CODEC_MAX_ROW_PIXELS)
        return finish(RAS_CODEC_TOO_WIDE, "The picture is wider than 16384 pixels.");
    if (!create_for_writing(name))
        return finish(RAS_BMP_CANNOT_OPEN, "The file cannot be created.");
    file_closer closer;

    const int32_t row_bytes = padded_row_bytes(bits, width);
    const uint32_t palette_bytes = bits == 1 ? 8 : bits == 4 ? 64 : bits == 8 ? 1024 : 0;
    const uint32_t image_bytes = static_cast<uint32_t>(row_bytes) * static_cast<uint32_t>(height);
    put_u32(header_template + 2, 54 + palette_bytes + image_bytes);
    put_u32(header_template + 10, 54 + palette_bytes);
    put_u32(header_template + 18, static_cast<uint32_t>(width));
    put_u32(header_template + 22, static_cast<uint32_t>(height));
    put_u16(header_template + 28, static_cast<uint32_t>(bits));
    put_u32(header_template + 34, image_bytes);
    write_bytes(header_template, sizeof header_template);

    // The colour table as 1- and 4-bit pixels name it: their values 0 and up stand for entries
    // 10 and up.
    const int32_t first_entry = bits == 8 ? 0 : 10;
    for (uint32_t i = 0; i < palette_bytes / 4; ++i) {
        const ras_quad& quad = state.colour_table[first_entry + i];
        const uint8_t entry[4] = {quad.blue, quad.green, quad.red, 0};
        write_bytes(entry, sizeof entry);
    }

    // Rows are gathered in the row buffer and written as many at a time as it holds.
    const row_writer write_row = choose_writer(bits, state.depth_index);
    const int32_t pixel_bytes = raster_internal::kBufferPixelBytes[state.depth_index];
    const std::size_t batch_bytes = kRowBufferBytes / static_cast<std::size_t>(row_bytes) * static_cast<std::size_t>(row_bytes);
    std::size_t held = 0;
    for (int32_t y = y2; y >= y1; --y) {
        uint8_t* out = files.row + held;
        std::memset(out, 0, static_cast<std::size_t>(row_bytes));
        write_row(ras_row_address(y) + x1 * pixel_bytes, width, out);
        held += static_cast<std::size_t>(row_bytes);
        if (held == batch_bytes || y == y1) {
            write_bytes(files.row, held);
            held = 0;
        }
    }
    if (!close_file()) {
        discard_written_file(name);
        return finish(RAS_CODEC_WRITE_FAILED, "Writing the file failed.");
    }
    return finish(RAS_CODEC_DONE);
}
