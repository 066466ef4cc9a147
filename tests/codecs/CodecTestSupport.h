#pragma once
// Shared set-up for the codec tests: a fresh engine with the default palette per test, a scratch
// folder for the files, buffers made and opened in one call, pixels and palette entries read
// back, and small builders that lay out BMP and PCX files byte by byte as the formats describe
// them (independently of the codecs under test).

#include "raster/raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

using bytes = std::vector<uint8_t>;

struct colour {
    int32_t red;
    int32_t green;
    int32_t blue;
    bool operator==(const colour&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const colour& c)
{
    return out << "(" << c.red << "," << c.green << "," << c.blue << ")";
}

class CodecTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ras_init();
        ras_delete_palette(ras_make_default_palette());
        // One folder per process and test, so that tests run in parallel never share files.
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "." + test->name();
        std::replace(name.begin(), name.end(), '/', '_');
        folder_ = std::filesystem::temp_directory_path() / ("celwright-codecs-" + std::to_string(::getpid()) + "-" + name);
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }

    void TearDown() override
    {
        ras_shutdown();
        std::filesystem::remove_all(folder_);
    }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    std::string write_file(const std::string& name, const bytes& content) const
    {
        const std::string full = path(name);
        std::ofstream out(full, std::ios::binary);
        out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
        return full;
    }

    static bytes read_file(const std::string& full)
    {
        std::ifstream in(full, std::ios::binary);
        return bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    // Makes a buffer of the depth, opens it and gives 8-bit buffers the colour table.
    static int32_t open_new_buffer(int32_t depth, int32_t width, int32_t height)
    {
        ras_set_buffer_depth(depth);
        const int32_t handle = ras_alloc_buffer(width, height);
        EXPECT_GE(handle, 0);
        EXPECT_EQ(ras_open_buffer(handle), 0);
        ras_refresh_colors();
        return handle;
    }

    // Sets every pixel of the active buffer to value.
    static void fill(int32_t value)
    {
        ras_set_color(value);
        ras_fill_buffer();
    }

    // The active buffer's pixels, row by row, columns 0 .. width - 1.
    static std::vector<std::vector<int32_t>> pixels(int32_t width, int32_t height)
    {
        std::vector<std::vector<int32_t>> rows(static_cast<std::size_t>(height));
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                rows[static_cast<std::size_t>(y)].push_back(ras_get_pixel(x, y));
        return rows;
    }

    static colour entry(int32_t index)
    {
        colour c{};
        ras_get_rgb(index, &c.red, &c.green, &c.blue);
        return c;
    }

    static std::array<colour, 256> palette()
    {
        std::array<colour, 256> all{};
        for (int32_t i = 0; i < 256; ++i)
            all[static_cast<std::size_t>(i)] = entry(i);
        return all;
    }

    // The colour of pixel (x, y) of the active buffer of the given depth.
    static colour colour_at(int32_t depth, int32_t x, int32_t y)
    {
        const int32_t v = ras_get_pixel(x, y);
        if (depth == 8)
            return entry(v);
        if (depth == 16)
            return colour{((v >> 11) & 31) << 3, ((v >> 5) & 63) << 2, (v & 31) << 3};
        return colour{(v >> 16) & 255, (v >> 8) & 255, v & 255};
    }

private:
    std::filesystem::path folder_;
};

// Little-endian fields appended to a byte vector.
inline void append_u16(bytes& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void append_u32(bytes& out, uint32_t v)
{
    append_u16(out, v);
    append_u16(out, v >> 16);
}

inline uint32_t u16_at(const bytes& b, std::size_t at)
{
    return static_cast<uint32_t>(b.at(at)) | (static_cast<uint32_t>(b.at(at + 1)) << 8);
}

inline uint32_t u32_at(const bytes& b, std::size_t at)
{
    return u16_at(b, at) | (u16_at(b, at + 2) << 16);
}

// A BMP file. rows are in FILE order (bottom row first unless height is negative); each pixel is
// an index (1, 4, 8 bits) or 0xRRGGBB (24 bits). palette entries are colours, written as 3-byte
// entries for a core header (header_size 12) and 4-byte ones otherwise. gap adds bytes between the
// colour table and the pixel data (the pixel data offset covers them).
struct bmp_layout {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bits = 8;
    std::vector<std::vector<uint32_t>> rows;
    std::vector<colour> palette;
    uint32_t header_size = 40;
    uint32_t compression = 0;
    uint32_t gap = 0;
};

inline bytes bmp_file(const bmp_layout& layout)
{
    const bool core = layout.header_size == 12;
    bytes pixels;
    for (const auto& row : layout.rows) {
        bytes packed;
        if (layout.bits == 24) {
            for (uint32_t p : row) {
                packed.push_back(static_cast<uint8_t>(p));
                packed.push_back(static_cast<uint8_t>(p >> 8));
                packed.push_back(static_cast<uint8_t>(p >> 16));
            }
        } else {
            const int32_t per_byte = 8 / layout.bits;
            packed.assign((row.size() + static_cast<std::size_t>(per_byte) - 1) / static_cast<std::size_t>(per_byte), 0);
            for (std::size_t x = 0; x < row.size(); ++x) {
                const int32_t shift = 8 - layout.bits * (static_cast<int32_t>(x % static_cast<std::size_t>(per_byte)) + 1);
                packed[x / static_cast<std::size_t>(per_byte)] |= static_cast<uint8_t>(row[x] << shift);
            }
        }
        while (packed.size() % 4 != 0)
            packed.push_back(0);
        pixels.insert(pixels.end(), packed.begin(), packed.end());
    }
    bytes table;
    for (const colour& c : layout.palette) {
        table.push_back(static_cast<uint8_t>(c.blue));
        table.push_back(static_cast<uint8_t>(c.green));
        table.push_back(static_cast<uint8_t>(c.red));
        if (!core)
            table.push_back(0);
    }
    table.insert(table.end(), layout.gap, 0xEE);
    const uint32_t offset = 14 + layout.header_size + static_cast<uint32_t>(table.size());
    bytes file = {'B', 'M'};
    append_u32(file, offset + static_cast<uint32_t>(pixels.size()));
    append_u32(file, 0);
    append_u32(file, offset);
    append_u32(file, layout.header_size);
    if (core) {
        append_u16(file, static_cast<uint32_t>(layout.width));
        append_u16(file, static_cast<uint32_t>(layout.height));
        append_u16(file, 1);
        append_u16(file, static_cast<uint32_t>(layout.bits));
    } else {
        append_u32(file, static_cast<uint32_t>(layout.width));
        append_u32(file, static_cast<uint32_t>(layout.height));
        append_u16(file, 1);
        append_u16(file, static_cast<uint32_t>(layout.bits));
        append_u32(file, layout.compression);
        append_u32(file, static_cast<uint32_t>(pixels.size()));
        while (file.size() < 14 + layout.header_size)
            file.push_back(0);
    }
    file.insert(file.end(), table.begin(), table.end());
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

// A 128-byte PCX header: manufacturer 10, encoding 1, the window, resolution 72, the 16 header
// triples, planes, bytes per line and palette information 1.
struct pcx_layout {
    int32_t version = 5;
    int32_t bits = 8;
    int32_t xmin = 0;
    int32_t ymin = 0;
    int32_t xmax = 0;
    int32_t ymax = 0;
    std::vector<colour> header_palette; // up to 16
    int32_t planes = 1;
    int32_t bytes_per_line = 0;
};

inline bytes pcx_header(const pcx_layout& layout)
{
    bytes h = {10, static_cast<uint8_t>(layout.version), 1, static_cast<uint8_t>(layout.bits)};
    append_u16(h, static_cast<uint32_t>(layout.xmin));
    append_u16(h, static_cast<uint32_t>(layout.ymin));
    append_u16(h, static_cast<uint32_t>(layout.xmax));
    append_u16(h, static_cast<uint32_t>(layout.ymax));
    append_u16(h, 72);
    append_u16(h, 72);
    for (int32_t i = 0; i < 16; ++i) {
        const colour c = i < static_cast<int32_t>(layout.header_palette.size()) ? layout.header_palette[static_cast<std::size_t>(i)] : colour{};
        h.push_back(static_cast<uint8_t>(c.red));
        h.push_back(static_cast<uint8_t>(c.green));
        h.push_back(static_cast<uint8_t>(c.blue));
    }
    h.push_back(0);
    h.push_back(static_cast<uint8_t>(layout.planes));
    append_u16(h, static_cast<uint32_t>(layout.bytes_per_line));
    append_u16(h, 1);
    h.resize(128, 0);
    return h;
}

// The 769-byte palette block: marker 12, then 256 triples.
inline bytes pcx_palette_block(const std::vector<colour>& colours, uint8_t marker = 12)
{
    bytes block = {marker};
    for (int32_t i = 0; i < 256; ++i) {
        const colour c = i < static_cast<int32_t>(colours.size()) ? colours[static_cast<std::size_t>(i)] : colour{};
        block.push_back(static_cast<uint8_t>(c.red));
        block.push_back(static_cast<uint8_t>(c.green));
        block.push_back(static_cast<uint8_t>(c.blue));
    }
    return block;
}

inline bytes concat(std::initializer_list<bytes> parts)
{
    bytes all;
    for (const bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A palette of n distinct colours, entry i = (i, 255 - i, (i * 7) & 255).
inline std::vector<colour> distinct_colours(int32_t n)
{
    std::vector<colour> c;
    for (int32_t i = 0; i < n; ++i)
        c.push_back(colour{i, 255 - i, (i * 7) & 255});
    return c;
}

inline std::string depth_name(const ::testing::TestParamInfo<int32_t>& info)
{
    return "Depth" + std::to_string(info.param);
}
