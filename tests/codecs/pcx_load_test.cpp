// Reading PCX files built byte by byte: every layout, odd widths, runs that cross rows, the
// palette queries, placement at the window origin, and files that must be refused or end early.

#include "CodecTestSupport.h"

#include "raster/codecs/pcx.h"

namespace {

using rows = std::vector<std::vector<int32_t>>;

const std::vector<colour> kHeader16 = {{0, 0, 0},     {255, 255, 255}, {255, 0, 0},   {0, 255, 0},
                                       {0, 0, 255},   {255, 255, 0},   {0, 255, 255}, {255, 0, 255},
                                       {128, 0, 0},   {0, 128, 0},     {0, 0, 128},   {128, 128, 0},
                                       {0, 128, 128}, {128, 0, 128},   {64, 64, 64},  {200, 100, 50}};

// 2 colours, 10 x 2, 2 bytes per line. Rows 1010101011 and 0101010100; the byte 0xC0 must be
// coded as a run of one.
bytes two_colour_file()
{
    return concat({pcx_header({.bits = 1, .xmax = 9, .ymax = 1, .header_palette = kHeader16, .planes = 1, .bytes_per_line = 2}),
                   {0xAA, 0xC1, 0xC0, 0x55, 0x00}});
}

// 16 colours in 4 planes, 8 x 1: values 0, 1, 2, 3, 4, 5, 6, 15.
bytes sixteen_colour_file(int32_t version = 5)
{
    return concat({pcx_header({.version = version, .bits = 1, .xmax = 7, .ymax = 0, .header_palette = kHeader16, .planes = 4,
                               .bytes_per_line = 1}),
                   {0x55, 0x33, 0x0F, 0x01}});
}

// 24 bits in 3 planes, 3 x 2 (odd bytes per line). Row 0: red, green, blue (each 0xFF coded as a
// run of one); row 1: one colour, each plane a run of 3.
bytes rgb_file()
{
    return concat({pcx_header({.bits = 8, .xmax = 2, .ymax = 1, .planes = 3, .bytes_per_line = 3}),
                   {0xC1, 0xFF, 0x00, 0x00, /**/ 0x00, 0xC1, 0xFF, 0x00, /**/ 0x00, 0x00, 0xC1, 0xFF},
                   {0xC3, 0x40, /**/ 0xC3, 0x80, /**/ 0xC3, 0x20}});
}

// 256 colours, 5 x 2 with a pad byte per row (6 bytes per line), and the palette block.
bytes odd_width_file(const std::vector<colour>& block_colours, uint8_t marker = 12)
{
    return concat({pcx_header({.bits = 8, .xmax = 4, .ymax = 1, .header_palette = kHeader16, .planes = 1, .bytes_per_line = 6}),
                   {1, 2, 3, 4, 5, 0xC1, 0xEE}, {0xC5, 0xC8, 0x00}, pcx_palette_block(block_colours, marker)});
}

class PcxQueries : public CodecTest {};

TEST_F(PcxQueries, ManufacturerByteElevenIsNotAPcx)
{
    bytes file = odd_width_file(distinct_colours(256));
    file[0] = 11;
    const std::string name = write_file("eleven.pcx", file);
    uint8_t header[128];
    EXPECT_EQ(ras_pcx_header(name.c_str(), header), -2);
    int32_t w[4] = {0, 0, 0, 0};
    EXPECT_EQ(ras_pcx_window(file.data(), &w[0], &w[1], &w[2], &w[3]), 0);
    EXPECT_EQ((std::vector<int32_t>(w, w + 4)), (std::vector<int32_t>{-1, -1, -1, -1}));
    open_new_buffer(8, 8, 2);
    EXPECT_EQ(ras_load_pcx(name.c_str(), 1), RAS_PCX_NOT_PCX);
    uint8_t rgb[768];
    EXPECT_EQ(ras_pcx_palette(name.c_str(), rgb), -2);
}

TEST_F(PcxQueries, HeaderAndWindow)
{
    const bytes file = concat({pcx_header({.xmin = 3, .ymin = 4, .xmax = 0x1234, .ymax = 0xFFFF, .bytes_per_line = 2}), {1}});
    const std::string name = write_file("window.pcx", file);
    uint8_t header[128];
    ASSERT_EQ(ras_pcx_header(name.c_str(), header), 0);
    int32_t xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    EXPECT_EQ(ras_pcx_window(header, &xmin, &xmax, &ymin, &ymax), 0);
    EXPECT_EQ(xmin, 3);
    EXPECT_EQ(ymin, 4);
    EXPECT_EQ(xmax, 0x1234);
    EXPECT_EQ(ymax, 0xFFFF) << "window fields are unsigned";
    EXPECT_EQ(ras_pcx_header(write_file("short.pcx", bytes(file.begin(), file.begin() + 127)).c_str(), header), -2);
    EXPECT_EQ(ras_pcx_header(path("missing.pcx").c_str(), header), -1);
}

TEST_F(PcxQueries, PaletteComesFromTheBlockOrTheHeader)
{
    const std::vector<colour> block = distinct_colours(256);
    bytes version3 = odd_width_file(block);
    version3[1] = 3;
    struct row {
        const char* name;
        bytes file;
        int32_t count;
        std::vector<colour> first; // the first triples expected
    };
    const row cases[] = {
        {"marked.pcx", odd_width_file(block), 256, {block[0], block[1], block[255]}},
        {"unmarked.pcx", odd_width_file(block, 11), 16, {kHeader16[0], kHeader16[1], kHeader16[15]}},
        {"version3.pcx", version3, 16, {kHeader16[0], kHeader16[1], kHeader16[15]}},
        {"planes4.pcx", sixteen_colour_file(), 16, {kHeader16[0], kHeader16[1], kHeader16[15]}},
        {"rgb.pcx", rgb_file(), 0, {}},
        {"tiny.pcx", concat({pcx_header({.xmax = 0, .ymax = 0, .header_palette = kHeader16, .bytes_per_line = 2}), {1, 2}}), 16,
         {kHeader16[0], kHeader16[1], kHeader16[15]}},
    };
    for (const row& c : cases) {
        uint8_t rgb[768];
        ASSERT_EQ(ras_pcx_palette(write_file(c.name, c.file).c_str(), rgb), c.count) << c.name;
        for (std::size_t i = 0; i < c.first.size(); ++i) {
            const std::size_t at = i + 1 == c.first.size() ? static_cast<std::size_t>(c.count - 1) : i;
            EXPECT_EQ((colour{rgb[3 * at], rgb[3 * at + 1], rgb[3 * at + 2]}), c.first[i]) << c.name << " " << at;
        }
    }
    uint8_t rgb[768];
    EXPECT_EQ(ras_pcx_palette(path("missing.pcx").c_str(), rgb), -1);
}

class PcxLoad : public CodecTest {};

TEST_F(PcxLoad, TwoHundredFiftySixColoursAreCopiedWithThePaletteKept)
{
    // Window (0, 0)-(31, 19): 32 x 20, one raw byte per pixel (all below 0xC0).
    bytes data;
    for (int32_t i = 0; i < 32 * 20; ++i)
        data.push_back(static_cast<uint8_t>(i % 0xC0));
    const std::string name = write_file("copy.pcx", concat({pcx_header({.xmax = 31, .ymax = 19, .bytes_per_line = 32}), data,
                                                             pcx_palette_block(distinct_colours(256))}));
    open_new_buffer(8, 32, 20);
    const auto before = palette();
    ASSERT_EQ(ras_load_pcx(name.c_str(), RAS_PCX_KEEP_PALETTE), 0);
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 32; ++x)
            ASSERT_EQ(ras_get_pixel(x, y), (32 * y + x) % 0xC0) << x << "," << y;
    EXPECT_EQ(palette(), before);
}

TEST_F(PcxLoad, TwoHundredFiftySixColoursAreFittedWhenThePaletteIsTaken)
{
    const std::vector<colour> block = distinct_colours(256);
    open_new_buffer(8, 5, 2);
    fill(1); // the buffer's three columns beyond the picture take part too
    ASSERT_EQ(ras_load_pcx(write_file("fit.pcx", odd_width_file(block)).c_str(), 0), 0);
    // Indices 1..5 and 200 in use: renumbered 10..15 in the order of the old indices.
    EXPECT_EQ(pixels(5, 2), (rows{{10, 11, 12, 13, 14}, {15, 15, 15, 15, 15}}));
    EXPECT_EQ(entry(10), block[1]);
    EXPECT_EQ(entry(15), block[200]);
}

TEST_F(PcxLoad, TwoColourPictureTakesItsColoursAtEntryTen)
{
    // Even with a 256-colour block at the end, a 2-colour picture's pixels name the first triples.
    const std::vector<colour> block = distinct_colours(256);
    open_new_buffer(8, 12, 2);
    ASSERT_EQ(ras_load_pcx(write_file("two.pcx", concat({two_colour_file(), pcx_palette_block(block)})).c_str(), 0), 0);
    EXPECT_EQ(pixels(10, 2), (rows{{11, 10, 11, 10, 11, 10, 11, 10, 11, 11}, {10, 11, 10, 11, 10, 11, 10, 11, 10, 10}}));
    EXPECT_EQ(entry(10), block[0]);
    EXPECT_EQ(entry(11), block[1]);
}

TEST_F(PcxLoad, RunsCarryOnAcrossRows)
{
    // 10 x 3 with 10 bytes per line: a run of 15 fills row 0 and half of row 1, a run 0xC5 0x07
    // gives five 7s, and a run of 13 covers row 2 and passes its end.
    const std::string name = write_file("runs.pcx", concat({pcx_header({.xmax = 9, .ymax = 2, .bytes_per_line = 10}),
                                                             {0xCF, 0x21, 0xC5, 0x07, 0xCD, 0x09}}));
    open_new_buffer(8, 12, 3);
    ASSERT_EQ(ras_load_pcx(name.c_str(), RAS_PCX_KEEP_PALETTE), 0);
    EXPECT_EQ(pixels(10, 3), (rows{{33, 33, 33, 33, 33, 33, 33, 33, 33, 33},
                                   {33, 33, 33, 33, 33, 7, 7, 7, 7, 7},
                                   {9, 9, 9, 9, 9, 9, 9, 9, 9, 9}}));
}

TEST_F(PcxLoad, OriginPlacesThePictureAndCutsWhatPassesTheBuffer)
{
    // An 8 x 1 picture with window (5, 0)-(12, 0) into a buffer 8 wide: it lands at x = 5 and
    // only its first 3 columns fit.
    const std::string name = write_file("origin.pcx", concat({pcx_header({.xmin = 5, .xmax = 12, .ymax = 0, .bytes_per_line = 8}),
                                                               {1, 2, 3, 4, 5, 6, 7, 8}}));
    open_new_buffer(8, 8, 1);
    fill(99);
    ASSERT_EQ(ras_load_pcx(name.c_str(), RAS_PCX_KEEP_PALETTE), 0);
    EXPECT_EQ(pixels(8, 1), (rows{{99, 99, 99, 99, 99, 1, 2, 3}}));
}

TEST_F(PcxLoad, RowsBelowTheBufferAreNotNeeded)
{
    // A 2 x 4 picture whose data stops after its second row, into a 2-row buffer at ymin 0.
    const std::string name = write_file("tall.pcx", concat({pcx_header({.xmax = 1, .ymax = 3, .bytes_per_line = 2}), {1, 2, 3, 4}}));
    open_new_buffer(8, 2, 2);
    EXPECT_EQ(ras_load_pcx(name.c_str(), RAS_PCX_KEEP_PALETTE), 0);
    EXPECT_EQ(pixels(2, 2), (rows{{1, 2}, {3, 4}}));
}

// Refusals at every depth: nothing changes, pixels or palette.
struct refusal {
    const char* name;
    bytes file;
    int32_t result;
};

std::vector<refusal> refusals()
{
    auto with_header = [](pcx_layout layout) { return concat({pcx_header(layout), bytes(64, 1)}); };
    bytes short_header = pcx_header({.xmax = 1, .ymax = 0, .bytes_per_line = 2});
    short_header.resize(100);
    return {
        {"short-header", short_header, RAS_PCX_NOT_PCX},
        {"bits4-plane1", with_header({.bits = 4, .xmax = 1, .ymax = 0, .planes = 1, .bytes_per_line = 2}), RAS_PCX_UNSUPPORTED},
        {"bits2-plane2", with_header({.bits = 2, .xmax = 1, .ymax = 0, .planes = 2, .bytes_per_line = 2}), RAS_PCX_UNSUPPORTED},
        {"xmax-below-xmin", with_header({.xmin = 5, .xmax = 4, .ymax = 0, .bytes_per_line = 2}), RAS_CODEC_BAD_HEADER},
        {"ymax-below-ymin", with_header({.ymin = 2, .xmax = 1, .ymax = 1, .bytes_per_line = 2}), RAS_CODEC_BAD_HEADER},
        {"no-planes", with_header({.xmax = 1, .ymax = 0, .planes = 0, .bytes_per_line = 2}), RAS_CODEC_BAD_HEADER},
        {"lines-too-short", with_header({.xmax = 9, .ymax = 0, .bytes_per_line = 9}), RAS_CODEC_BAD_HEADER},
        {"planes-lines-too-short", with_header({.bits = 1, .xmax = 16, .ymax = 0, .planes = 4, .bytes_per_line = 2}), RAS_CODEC_BAD_HEADER},
        {"too-wide", with_header({.xmax = 16384, .ymax = 0, .bytes_per_line = 16386}), RAS_CODEC_TOO_WIDE},
        {"rows-too-long", with_header({.xmax = 1, .ymax = 0, .planes = 200, .bytes_per_line = 60000}), RAS_CODEC_TOO_WIDE},
        {"right-of-buffer", with_header({.xmin = 8, .xmax = 9, .ymax = 0, .bytes_per_line = 2}), RAS_CODEC_OUTSIDE_BUFFER},
        {"below-buffer", with_header({.ymin = 3, .xmax = 1, .ymax = 3, .bytes_per_line = 2}), RAS_CODEC_OUTSIDE_BUFFER},
    };
}

class PcxRefusal : public CodecTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(PcxRefusal, ChangesNothing)
{
    const int32_t depth = GetParam();
    open_new_buffer(depth, 5, 3); // stored 8 wide
    fill(depth == 8 ? 77 : 0x1234);
    const auto before_pixels = pixels(8, 3);
    const auto before_palette = palette();
    for (const refusal& r : refusals()) {
        EXPECT_EQ(ras_load_pcx(write_file(r.name, r.file).c_str(), 0), r.result) << r.name;
        EXPECT_STRNE(ras_codec_failure_reason(), "") << r.name;
        EXPECT_EQ(pixels(8, 3), before_pixels) << r.name;
        EXPECT_EQ(palette(), before_palette) << r.name;
    }
    EXPECT_EQ(ras_load_pcx(path("missing.pcx").c_str(), 0), RAS_PCX_CANNOT_OPEN);
}

INSTANTIATE_TEST_SUITE_P(AllDepths, PcxRefusal, ::testing::Values(8, 16, 24, 32), depth_name);

TEST_F(PcxLoad, TwentyFourBitPictureIsRefusedByAnEightBitBuffer)
{
    open_new_buffer(8, 4, 2);
    fill(21);
    const auto before = palette();
    EXPECT_EQ(ras_load_pcx(write_file("rgb.pcx", rgb_file()).c_str(), 0), RAS_PCX_UNSUPPORTED);
    EXPECT_EQ(pixels(4, 2), (rows{{21, 21, 21, 21}, {21, 21, 21, 21}}));
    EXPECT_EQ(palette(), before);
}

TEST_F(PcxLoad, NoActiveBufferReadsNothing)
{
    EXPECT_EQ(ras_load_pcx(path("missing.pcx").c_str(), 0), 0);
}

// Conversions, one body per buffer depth.
class PcxLoadDepth : public CodecTest, public ::testing::WithParamInterface<int32_t> {
protected:
    int32_t depth() const { return GetParam(); }
    int32_t native(colour c) const { return ras_make_color(c.red, c.green, c.blue); }
    // What an index picture's value v becomes: index v + 10 in an 8-bit buffer, otherwise the
    // colour the palette taken from entry 0 gives it.
    int32_t indexed(int32_t v) const { return depth() == 8 ? v + 10 : native(kHeader16[static_cast<std::size_t>(v)]); }
};

TEST_P(PcxLoadDepth, TwoColours)
{
    open_new_buffer(depth(), 10, 2);
    ASSERT_EQ(ras_load_pcx(write_file("two.pcx", two_colour_file()).c_str(), 0), 0);
    const int32_t a = indexed(0);
    const int32_t b = indexed(1);
    EXPECT_EQ(pixels(10, 2), (rows{{b, a, b, a, b, a, b, a, b, b}, {a, b, a, b, a, b, a, b, a, a}}));
}

TEST_P(PcxLoadDepth, SixteenColoursInFourPlanes)
{
    for (const int32_t version : {3, 5}) {
        const int32_t handle = open_new_buffer(depth(), 8, 1);
        ASSERT_EQ(ras_load_pcx(write_file("sixteen.pcx", sixteen_colour_file(version)).c_str(), 0), 0);
        EXPECT_EQ(pixels(8, 1), (rows{{indexed(0), indexed(1), indexed(2), indexed(3), indexed(4), indexed(5), indexed(6), indexed(15)}}))
            << "version " << version;
        for (int32_t i = 0; i < 16; ++i)
            EXPECT_EQ(entry(depth() == 8 ? 10 + i : i), kHeader16[static_cast<std::size_t>(i)]) << i;
        ras_close_buffer();
        ras_free_buffer(handle);
    }
}

TEST_P(PcxLoadDepth, OddWidthTwoHundredFiftySixColoursKeepingThePalette)
{
    open_new_buffer(depth(), 5, 2);
    const auto before = palette();
    ASSERT_EQ(ras_load_pcx(write_file("odd.pcx", odd_width_file(distinct_colours(256))).c_str(), RAS_PCX_KEEP_PALETTE), 0);
    auto conv = [&](int32_t i) { return depth() == 8 ? i : native(before[static_cast<std::size_t>(i)]); };
    EXPECT_EQ(pixels(5, 2), (rows{{conv(1), conv(2), conv(3), conv(4), conv(5)}, {conv(200), conv(200), conv(200), conv(200), conv(200)}}));
    EXPECT_EQ(palette(), before);
}

// A 24-bit picture, for the depths that read it (an 8-bit buffer refuses it, tested above).
class PcxLoadDirectDepth : public PcxLoadDepth {};

TEST_P(PcxLoadDirectDepth, TwentyFourBitsInThreePlanes)
{
    open_new_buffer(depth(), 3, 2);
    fill(depth() == 32 ? static_cast<int32_t>(0x7F000000) : 0);
    const auto before = palette();
    ASSERT_EQ(ras_load_pcx(write_file("rgb.pcx", rgb_file()).c_str(), 0), 0);
    // A 32-bit pixel's fourth byte becomes 0.
    EXPECT_EQ(pixels(3, 2), (rows{{native({255, 0, 0}), native({0, 255, 0}), native({0, 0, 255})},
                                  {native({64, 128, 32}), native({64, 128, 32}), native({64, 128, 32})}}));
    EXPECT_EQ(palette(), before) << "a 3-plane picture has no palette";
}

TEST_P(PcxLoadDepth, FileEndingEarlyKeepsTheRowsItHolds)
{
    // 4 x 3 picture whose data ends inside its second row.
    const std::string name = write_file("cut.pcx", concat({pcx_header({.xmax = 3, .ymax = 2, .header_palette = kHeader16,
                                                                        .bytes_per_line = 4}),
                                                            {1, 2, 3, 0, 0xC2}}));
    open_new_buffer(depth(), 4, 3);
    const int32_t old = depth() == 8 ? 50 : 0x0842;
    fill(old);
    const auto before = palette();
    EXPECT_EQ(ras_load_pcx(name.c_str(), RAS_PCX_KEEP_PALETTE), RAS_CODEC_TRUNCATED);
    auto conv = [&](int32_t i) { return depth() == 8 ? i : native(before[static_cast<std::size_t>(i)]); };
    EXPECT_EQ(pixels(4, 3), (rows{{conv(1), conv(2), conv(3), conv(0)}, {old, old, old, old}, {old, old, old, old}}));
    EXPECT_EQ(palette(), before);
}

INSTANTIATE_TEST_SUITE_P(AllDepths, PcxLoadDepth, ::testing::Values(8, 16, 24, 32), depth_name);
INSTANTIATE_TEST_SUITE_P(DirectDepths, PcxLoadDirectDepth, ::testing::Values(16, 24, 32), depth_name);

} // namespace
