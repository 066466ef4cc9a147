// The PCX reader and writer.
//
// After the 128-byte header come the rows, top row first; each row is its planes one after
// another, bytes-per-line bytes each. The data is one run-length coded stream: a byte of 0xC0 or
// more is a count (its low 6 bits) for the byte after it, any other byte stands for itself, and a
// run may carry on from one row into the next. A 256-colour file of version 5 ends with the
// palette block: the byte 12 and 256 triples.

#include "raster/codecs/pcx.h"

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

constexpr std::size_t kHeaderBytes = 128;
constexpr std::size_t kPaletteBlockBytes = 769;
constexpr uint8_t kManufacturer = 10;
constexpr uint8_t kPaletteMarker = 12;

enum class pcx_kind { colours16, colours2, colours256, rgb24 };

// Sources: where column x of a decoded PCX row is found.
uint8_t bit_at(const uint8_t* plane, int32_t x)
{
    return static_cast<uint8_t>((plane[x >> 3] >> (7 - (x & 7))) & 1);
}

struct pcx_planes4 {
    static uint8_t at(const row_job& job, int32_t x)
    {
        const uint8_t* plane = job.src;
        const uint8_t value = static_cast<uint8_t>(
            bit_at(plane, x) | (bit_at(plane + job.plane_bytes, x) << 1) |
            (bit_at(plane + 2 * job.plane_bytes, x) << 2) | (bit_at(plane + 3 * job.plane_bytes, x) << 3));
        return static_cast<uint8_t>(value + job.index_add);
    }
};

struct pcx_bits1 {
    static uint8_t at(const row_job& job, int32_t x) { return static_cast<uint8_t>(bit_at(job.src, x) + job.index_add); }
};

struct pcx_bits8 {
    static uint8_t at(const row_job& job, int32_t x) { return job.src[x]; }
};

struct pcx_planes3 {
    static rgb at(const row_job& job, int32_t x)
    {
        return rgb{job.src[x], job.src[job.plane_bytes + x], job.src[2 * job.plane_bytes + x]};
    }
};

row_converter choose_converter(pcx_kind kind, int32_t depth_index)
{
    switch (kind) {
    case pcx_kind::colours16:
        return kIndexedConverters<pcx_planes4>[depth_index];
    case pcx_kind::colours2:
        return kIndexedConverters<pcx_bits1>[depth_index];
    case pcx_kind::colours256:
        return depth_index == 0 ? copy_indices : kIndexedConverters<pcx_bits8>[depth_index];
    case pcx_kind::rgb24:
        break;
    }
    if (depth_index == 1)
        return convert_row<pcx_planes3, sink16>;
    if (depth_index == 2)
        return convert_row<pcx_planes3, sink24>;
    return convert_row<pcx_planes3, sink32>;
}

// The palette of the open file whose header is given, as triples into rgb (the rest black): 256
// from the palette block, 16 from the header, or 0 for a 3-plane picture.
int32_t find_palette(const uint8_t* header, uint8_t* rgb)
{
    const uint8_t version = header[1];
    const uint8_t planes = header[65];
    std::memset(rgb, 0, kPaletteBytes);
    if (planes == 3 && version >= 5)
        return 0;
    if (version >= 5 && planes != 4) {
        const int64_t size = file_size();
        if (size >= static_cast<int64_t>(kPaletteBlockBytes) && seek_to(size - static_cast<int64_t>(kPaletteBlockBytes)) &&
            read_bytes(files.row, kPaletteBlockBytes) == kPaletteBlockBytes && files.row[0] == kPaletteMarker) {
            std::memcpy(rgb, files.row + 1, kPaletteBytes);
            return 256;
        }
    }
    std::memcpy(rgb, header + 16, 48);
    return 16;
}

// Decodes count bytes of the stream into out; a run left over at the end of the row stays in
// run_left for the next row. False if the file ends first.
struct rle_decoder {
    int32_t run_left = 0;
    uint8_t run_value = 0;

    bool decode(uint8_t* out, std::size_t count)
    {
        std::size_t i = 0;
        while (i < count) {
            if (run_left > 0) {
                const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(run_left), count - i);
                std::memset(out + i, run_value, take);
                i += take;
                run_left -= static_cast<int32_t>(take);
                continue;
            }
            const int32_t code = read_byte();
            if (code < 0)
                return false;
            if (code < 0xC0) {
                out[i++] = static_cast<uint8_t>(code);
                continue;
            }
            const int32_t value = read_byte();
            if (value < 0)
                return false;
            run_left = code & 0x3F;
            run_value = static_cast<uint8_t>(value);
        }
        return true;
    }
};

// The header written before every picture, filled in for each file.
uint8_t header_template[kHeaderBytes] = {kManufacturer, 5, 1, 8};

// Run-length codes one row into the I/O buffer; runs end at 63 bytes and at the end of the row.
// A code never straddles two blocks: the buffer goes out first when the next code would not fit.
void encode_row(const uint8_t* row, std::size_t count)
{
    std::size_t i = 0;
    while (i < count) {
        const uint8_t value = row[i];
        std::size_t run = 1;
        while (i + run < count && row[i + run] == value && run < 63)
            ++run;
        if (files.io_next + 2 > kIoBufferBytes)
            flush_writes();
        if (run > 1 || value >= 0xC0)
            files.io[files.io_next++] = static_cast<uint8_t>(0xC0 + run);
        files.io[files.io_next++] = value;
        i += run;
    }
}

// Builds row y of the rectangle as the file stores it: 8-bit: the indices and a pad byte of 0
// when width is odd; otherwise three planes red, green, blue of width bytes each.
void build_row(int32_t y, int32_t x1, int32_t width, uint8_t* out)
{
    const uint8_t* pixels = ras_row_address(y);
    uint8_t* red = out;
    uint8_t* green = out + width;
    uint8_t* blue = out + 2 * width;
    switch (state.depth_index) {
    case 0:
        std::memcpy(out, pixels + x1, static_cast<std::size_t>(width));
        out[width] = 0;
        break;
    case 1:
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t v = get_u16(pixels + 2 * (x1 + x));
            red[x] = static_cast<uint8_t>((v >> 11) * 255 / 31);
            green[x] = static_cast<uint8_t>(((v >> 5) & 63) * 255 / 63);
            blue[x] = static_cast<uint8_t>((v & 31) * 255 / 31);
        }
        break;
    default: {
        const int32_t step = raster_internal::kBufferPixelBytes[state.depth_index];
        const uint8_t* p = pixels + x1 * step;
        for (int32_t x = 0; x < width; ++x, p += step) {
            blue[x] = p[0];
            green[x] = p[1];
            red[x] = p[2];
        }
        break;
    }
    }
}

} // namespace

int32_t ras_pcx_header(const char* name, uint8_t* header)
{
    if (!open_for_reading(name))
        return -1;
    file_closer closer;
    if (header == nullptr || read_bytes(header, kHeaderBytes) != kHeaderBytes || header[0] != kManufacturer)
        return -2;
    return 0;
}

int32_t ras_pcx_window(const uint8_t* header, int32_t* xmin, int32_t* xmax, int32_t* ymin, int32_t* ymax)
{
    const bool valid = header != nullptr && header[0] == kManufacturer;
    const int32_t fields[4] = {
        valid ? static_cast<int32_t>(get_u16(header + 4)) : -1,
        valid ? static_cast<int32_t>(get_u16(header + 8)) : -1,
        valid ? static_cast<int32_t>(get_u16(header + 6)) : -1,
        valid ? static_cast<int32_t>(get_u16(header + 10)) : -1,
    };
    int32_t* outputs[4] = {xmin, xmax, ymin, ymax};
    for (int32_t i = 0; i < 4; ++i)
        if (outputs[i] != nullptr)
            *outputs[i] = fields[i];
    return 0;
}

int32_t ras_pcx_palette(const char* name, uint8_t* rgb)
{
    if (!open_for_reading(name))
        return -1;
    file_closer closer;
    uint8_t header[kHeaderBytes];
    if (rgb == nullptr || read_bytes(header, kHeaderBytes) != kHeaderBytes || header[0] != kManufacturer)
        return -2;
    return find_palette(header, rgb);
}

int32_t ras_load_pcx(const char* name, int32_t flags)
{
    if (state.active < 0)
        return finish(RAS_CODEC_DONE);
    if (!open_for_reading(name))
        return finish(RAS_PCX_CANNOT_OPEN, "The file cannot be opened.");
    file_closer closer;
    uint8_t header[kHeaderBytes];
    if (read_bytes(header, kHeaderBytes) != kHeaderBytes || header[0] != kManufacturer)
        return finish(RAS_PCX_NOT_PCX, "The file is not a PCX picture.");

    const int32_t bits = header[3];
    const int32_t planes = header[65];
    pcx_kind kind = pcx_kind::colours256;
    if (planes == 4)
        kind = pcx_kind::colours16;
    else if (planes == 3)
        kind = pcx_kind::rgb24;
    else if (bits == 8)
        kind = pcx_kind::colours256;
    else if (bits == 1)
        kind = pcx_kind::colours2;
    else
        return finish(RAS_PCX_UNSUPPORTED, "This kind of PCX picture cannot be read.");
    if (kind == pcx_kind::rgb24 && state.depth == 8)
        return finish(RAS_PCX_UNSUPPORTED, "A 24-bit picture cannot be read into an 8-bit sprite.");

    const int32_t xmin = static_cast<int32_t>(get_u16(header + 4));
    const int32_t ymin = static_cast<int32_t>(get_u16(header + 6));
    const int32_t xmax = static_cast<int32_t>(get_u16(header + 8));
    const int32_t ymax = static_cast<int32_t>(get_u16(header + 10));
    const int32_t plane_bytes = static_cast<int32_t>(get_u16(header + 66));
    if (xmax < xmin || ymax < ymin)
        return finish(RAS_CODEC_BAD_HEADER, "The picture's window is empty.");
    const int32_t width = xmax - xmin + 1;
    const int32_t height = ymax - ymin + 1;
    if (width > RAS_CODEC_MAX_ROW_PIXELS)
        return finish(RAS_CODEC_TOO_WIDE, "The picture is wider than 16384 pixels.");
    const bool one_bit = kind == pcx_kind::colours16 || kind == pcx_kind::colours2;
    if (planes == 0 || plane_bytes < (one_bit ? (width + 7) / 8 : width))
        return finish(RAS_CODEC_BAD_HEADER, "The picture's rows are too short for its width.");
    const std::size_t row_bytes = static_cast<std::size_t>(plane_bytes) * static_cast<std::size_t>(planes);
    if (row_bytes > kRowBufferBytes)
        return finish(RAS_CODEC_TOO_WIDE, "The picture's rows are longer than the reader can hold.");
    if (xmin >= state.width || ymin >= state.height)
        return finish(RAS_CODEC_OUTSIDE_BUFFER, "The picture lies outside the area it is read into.");

    const bool use_palette = (flags & RAS_PCX_KEEP_PALETTE) == 0 && kind != pcx_kind::rgb24;
    if (use_palette) {
        const int32_t colours = find_palette(header, files.palette);
        if (state.depth != 8)
            ras_animate_palette(0, colours, files.palette);
        if (!seek_to(static_cast<int64_t>(kHeaderBytes)))
            return finish(RAS_CODEC_TRUNCATED, "The file ends before the picture's last row.");
    }

    row_job job;
    job.src = files.row;
    job.plane_bytes = plane_bytes;
    job.count = std::min(width, state.width - xmin);
    job.conversion = state.conversion;
    job.index_add = state.depth == 8 && one_bit ? 10 : 0;
    const row_converter convert = choose_converter(kind, state.depth_index);
    const int32_t x_offset = xmin * raster_internal::kBufferPixelBytes[state.depth_index];
    const int32_t visible_rows = std::min(height, state.height - ymin);
    rle_decoder decoder;
    for (int32_t row = 0; row < visible_rows; ++row) {
        if (!decoder.decode(files.row, row_bytes))
            return finish(RAS_CODEC_TRUNCATED, "The file ends before the picture's last row.");
        job.dst = ras_row_address(ymin + row) + x_offset;
        convert(job);
    }

    if (use_palette && state.depth == 8) {
        if (kind == pcx_kind::colours256) {
            ras_reduce_colors(10, 236, files.palette);
            ras_animate_palette(10, 236, files.palette + 3 * 10);
        } else {
            // Pixel values 0..15 became indices 10..25, so their colours go there.
            ras_animate_palette(10, 16, files.palette);
        }
    }
    return finish(RAS_CODEC_DONE);
}

int32_t ras_save_pcx(int32_t x1, int32_t x2, int32_t y1, int32_t y2, const char* name)
{
    if (state.active < 0)
        return finish(RAS_PCX_CANNOT_OPEN, "There is no picture to save.");
    if (x1 > x2 || y1 > y2 || x1 < 0 || y1 < 0 || x2 >= state.width || y2 >= state.height || x2 > 0xFFFF ||
        y2 > 0xFFFF)
        return finish(RAS_CODEC_BAD_RECTANGLE, "The area to save does not fit the picture.");
    const int32_t width = x2 - x1 + 1;
    if (width > RAS_CODEC_MAX_ROW_PIXELS)
        return finish(RAS_CODEC_TOO_WIDE, "The picture is wider than 16384 pixels.");
    if (!create_for_writing(name))
        return finish(RAS_PCX_CANNOT_OPEN, "The file cannot be created.");
    file_closer closer;

    const bool indexed = state.depth == 8;
    const int32_t planes = indexed ? 1 : 3;
    const int32_t plane_bytes = indexed ? (width + 1) & ~1 : width;
    std::memset(header_template + 4, 0, kHeaderBytes - 4);
    put_u16(header_template + 4, static_cast<uint32_t>(x1));
    put_u16(header_template + 6, static_cast<uint32_t>(y1));
    put_u16(header_template + 8, static_cast<uint32_t>(x2));
    put_u16(header_template + 10, static_cast<uint32_t>(y2));
    put_u16(header_template + 12, 128);
    put_u16(header_template + 14, 96);
    header_template[65] = static_cast<uint8_t>(planes);
    put_u16(header_template + 66, static_cast<uint32_t>(plane_bytes));
    put_u16(header_template + 68, 1);
    write_bytes(header_template, kHeaderBytes);

    const std::size_t row_bytes = static_cast<std::size_t>(plane_bytes) * static_cast<std::size_t>(planes);
    for (int32_t y = y1; y <= y2; ++y) {
        build_row(y, x1, width, files.row);
        encode_row(files.row, row_bytes);
    }
    flush_writes();
    if (indexed) {
        uint8_t* block = files.row;
        block[0] = kPaletteMarker;
        for (int32_t i = 0; i < 256; ++i) {
            block[1 + 3 * i] = state.logical[i].red;
            block[2 + 3 * i] = state.logical[i].green;
            block[3 + 3 * i] = state.logical[i].blue;
        }
        write_bytes(block, kPaletteBlockBytes);
    }
    if (!close_file()) {
        discard_written_file(name);
        return finish(RAS_CODEC_WRITE_FAILED, "Writing the file failed.");
    }
    return finish(RAS_CODEC_DONE);
}
