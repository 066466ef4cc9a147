// Reading BMP files: the header and palette queries, the loader's pixels and palette at every
// depth, and files that must be refused or are cut short.

#include "CodecTestSupport.h"

#include "raster/codecs/bmp.h"

#include <algorithm>
#include <map>
#include <set>
#include <sys/stat.h>

namespace {

using rows = std::vector<std::vector<int32_t>>;

const std::vector<colour> kTwo = {{255, 0, 0}, {0, 0, 255}};

const std::vector<colour> kSixteen = {{1, 2, 3},    {10, 20, 30},  {40, 50, 60},  {70, 80, 90},
                                      {100, 0, 0},  {0, 100, 0},   {0, 0, 100},   {9, 9, 9},
                                      {200, 0, 0},  {0, 200, 0},   {0, 0, 200},   {99, 99, 99},
                                      {255, 255, 0}, {0, 255, 255}, {255, 0, 255}, {250, 250, 250}};

class BmpQueries : public CodecTest {};

TEST_F(BmpQueries, HeaderNeedsFiftyFourBytesBeginningWithBM)
{
    const bytes full = bmp_file({.width = 2, .height = 1, .bits = 24, .rows = {{1, 2}}});
    bytes other = full;
    other[1] = 'A';
    struct row {
        const char* name;
        bytes content;
        int32_t result;
    };
    const row cases[] = {
        {"picture.bmp", full, 0},
        {"forty.bmp", bytes(full.begin(), full.begin() + 40), -2},
        {"empty.bmp", bytes{}, -2},
        {"ba.bmp", other, -2},
    };
    for (const row& c : cases) {
        uint8_t header[54] = {};
        EXPECT_EQ(ras_bmp_header(write_file(c.name, c.content).c_str(), header), c.result) << c.name;
    }
    uint8_t header[54];
    EXPECT_EQ(ras_bmp_header(path("missing.bmp").c_str(), header), -1);
}

TEST_F(BmpQueries, DimensionsFollowTheHeaderKind)
{
    struct row {
        const char* what;
        bmp_layout layout;
        int32_t width;
        int32_t height;
    };
    // 300 = 0x012C: a core header's 16-bit height is followed by the planes field, so reading it
    // as 32 bits would give another number.
    const row cases[] = {
        {"info", {.width = 300, .height = 2, .bits = 8}, 300, 2},
        {"core", {.width = 300, .height = 2, .bits = 8, .header_size = 12}, 300, 2},
        {"top-down", {.width = 5, .height = -7, .bits = 8}, 5, 7},
    };
    for (const row& c : cases) {
        bytes file = bmp_file(c.layout);
        file.resize(54, 0);
        int32_t width = 0;
        int32_t height = 0;
        EXPECT_EQ(ras_bmp_dimensions(file.data(), &width, &height), 0) << c.what;
        EXPECT_EQ(width, c.width) << c.what;
        EXPECT_EQ(height, c.height) << c.what;
    }
    uint8_t ba[54] = {'B', 'A'};
    int32_t width = 0;
    int32_t height = 0;
    EXPECT_EQ(ras_bmp_dimensions(ba, &width, &height), 0);
    EXPECT_EQ(width, -1);
    EXPECT_EQ(height, -1);
}

TEST_F(BmpQueries, PaletteDeliversTheColourTableAsTriples)
{
    uint8_t rgb[768];
    const std::string core = write_file("core.bmp", bmp_file({.width = 1, .height = 1, .bits = 4, .rows = {{0}},
                                                              .palette = kSixteen, .header_size = 12}));
    ASSERT_EQ(ras_bmp_palette(core.c_str(), rgb), 16);
    for (int32_t i = 0; i < 16; ++i)
        EXPECT_EQ((colour{rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]}), kSixteen[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(rgb[3 * 16], 0) << "entries the file lacks read as black";

    const std::string info = write_file("info.bmp", bmp_file({.width = 1, .height = 1, .bits = 1, .rows = {{0}}, .palette = kTwo}));
    ASSERT_EQ(ras_bmp_palette(info.c_str(), rgb), 2);
    EXPECT_EQ((colour{rgb[3], rgb[4], rgb[5]}), kTwo[1]);

    const std::string none = write_file("none.bmp", bmp_file({.width = 1, .height = 1, .bits = 24, .rows = {{0}}}));
    EXPECT_EQ(ras_bmp_palette(none.c_str(), rgb), 0);

    // The pixel data offset leaves room for 600 entries: only 256 are taken.
    const std::string wide = write_file("wide.bmp", bmp_file({.width = 1, .height = 1, .bits = 8, .rows = {{0}},
                                                              .palette = distinct_colours(256), .gap = 344 * 4}));
    EXPECT_EQ(ras_bmp_palette(wide.c_str(), rgb), 256);

    bytes cut = bmp_file({.width = 1, .height = 1, .bits = 8, .rows = {{0}}, .palette = distinct_colours(200)});
    cut.resize(300);
    EXPECT_EQ(ras_bmp_palette(write_file("cut.bmp", cut).c_str(), rgb), -2);
    EXPECT_EQ(ras_bmp_palette(write_file("short.bmp", bytes{'B', 'M', 0}).c_str(), rgb), -2);
    EXPECT_EQ(ras_bmp_palette(path("missing.bmp").c_str(), rgb), -1);
}

class BmpLoad : public CodecTest {};

TEST_F(BmpLoad, TwoColourPictureBecomesIndicesTenAndEleven)
{
    open_new_buffer(8, 4, 2);
    const colour entry12 = entry(12);
    const std::string file = write_file("two.bmp", bmp_file({.width = 3, .height = 2, .bits = 1,
                                                             .rows = {{1, 1, 0}, {0, 1, 0}}, .palette = kTwo}));
    ASSERT_EQ(ras_load_bmp(file.c_str(), 0), 0);
    EXPECT_EQ(pixels(3, 2), (rows{{10, 11, 10}, {11, 11, 10}}));
    EXPECT_EQ(entry(10), kTwo[0]);
    EXPECT_EQ(entry(11), kTwo[1]);
    EXPECT_EQ(entry(12), entry12);
}

TEST_F(BmpLoad, OneBitPictureWithALongColourTableSetsOnlyItsTwoEntries)
{
    // 256 entries in the table of a 1-bit picture: its pixels can name only the first two.
    open_new_buffer(16, 4, 1);
    const auto before = palette();
    const std::string file = write_file("long.bmp", bmp_file({.width = 2, .height = 1, .bits = 1, .rows = {{0, 1}},
                                                              .palette = distinct_colours(256)}));
    ASSERT_EQ(ras_load_bmp(file.c_str(), 0), 0);
    const auto after = palette();
    EXPECT_EQ(after[10], (colour{0, 255, 0}));
    EXPECT_EQ(after[11], (colour{1, 254, 7}));
    for (int32_t i = 0; i < 256; ++i) {
        if (i != 10 && i != 11) {
            EXPECT_EQ(after[static_cast<std::size_t>(i)], before[static_cast<std::size_t>(i)]) << i;
        }
    }
    EXPECT_EQ(ras_get_pixel(1, 0), ras_make_color(1, 254, 7));
}

TEST_F(BmpLoad, CoreHeaderPictureUsesThreeByteEntries)
{
    open_new_buffer(8, 4, 1);
    const std::string file = write_file("core.bmp", bmp_file({.width = 4, .height = 1, .bits = 4, .rows = {{0, 15, 7, 1}},
                                                              .palette = kSixteen, .header_size = 12}));
    ASSERT_EQ(ras_load_bmp(file.c_str(), 0), 0);
    EXPECT_EQ(pixels(4, 1), (rows{{10, 25, 17, 11}}));
    for (int32_t i = 0; i < 16; ++i)
        EXPECT_EQ(entry(10 + i), kSixteen[static_cast<std::size_t>(i)]) << i;
}

TEST_F(BmpLoad, EightBitPictureOfTwoHundredColoursIsRenumberedInOrder)
{
    // Indices 0..199, laid out in reverse so that the order of first use differs from the order
    // of the indices; every colour is far from the others, so nothing merges.
    std::vector<std::vector<uint32_t>> file_rows(10);
    for (uint32_t i = 0; i < 200; ++i)
        file_rows[i / 20].push_back(199 - i);
    open_new_buffer(8, 20, 10);
    const std::vector<colour> colours = distinct_colours(200);
    const std::string file = write_file("two-hundred.bmp", bmp_file({.width = 20, .height = 10, .bits = 8,
                                                                     .rows = file_rows, .palette = colours}));
    ASSERT_EQ(ras_load_bmp(file.c_str(), 0), 0);
    for (int32_t y = 0; y < 10; ++y)
        for (int32_t x = 0; x < 20; ++x)
            EXPECT_EQ(ras_get_pixel(x, y), 10 + static_cast<int32_t>(file_rows[static_cast<std::size_t>(9 - y)][static_cast<std::size_t>(x)]));
    for (int32_t i = 0; i < 200; ++i)
        EXPECT_EQ(entry(10 + i), colours[static_cast<std::size_t>(i)]) << i;
}

TEST_F(BmpLoad, EightBitPictureOfTwoHundredFortyColoursMergesFourPairs)
{
    std::vector<std::vector<uint32_t>> file_rows(15);
    for (uint32_t i = 0; i < 240; ++i)
        file_rows[i / 16].push_back(i);
    open_new_buffer(8, 16, 15);
    // Colours i and i + 1 for even i differ by 1 in red and blue only: the closest pairs, of
    // which the first four merge.
    std::vector<colour> colours;
    for (int32_t i = 0; i < 240; ++i)
        colours.push_back(colour{i, i / 2, 255 - i});
    const std::string file = write_file("merge.bmp", bmp_file({.width = 16, .height = 15, .bits = 8,
                                                               .rows = file_rows, .palette = colours}));
    ASSERT_EQ(ras_load_bmp(file.c_str(), 0), 0);
    std::map<int32_t, std::set<uint32_t>> sources; // new index -> old indices
    for (int32_t y = 0; y < 15; ++y)
        for (int32_t x = 0; x < 16; ++x) {
            const int32_t p = ras_get_pixel(x, y);
            EXPECT_GE(p, 10);
            EXPECT_LE(p, 245);
            sources[p].insert(file_rows[static_cast<std::size_t>(14 - y)][static_cast<std::size_t>(x)]);
        }
    EXPECT_EQ(sources.size(), 236u);
    int32_t pairs = 0;
    for (const auto& [index, old] : sources) {
        // The entry holds the colour of one of the old indices that now share it.
        const bool kept = std::any_of(old.begin(), old.end(), [&](uint32_t o) { return entry(index) == colours[o]; });
        EXPECT_TRUE(kept) << index;
        pairs += old.size() == 2 ? 1 : 0;
    }
    EXPECT_EQ(pairs, 4);
}

TEST_F(BmpLoad, ColumnsBeyondANarrowPictureTakePartInTheReduction)
{
    // A 30-pixel picture in the 32-wide buffer an import makes for it: the two extra columns hold
    // index 250, which the reduction takes as the picture's entry 250 (black: the file's table has
    // 30 entries) and renumbers with the rest.
    open_new_buffer(8, 30, 1);
    fill(250);
    std::vector<uint32_t> row(30);
    for (uint32_t x = 0; x < 30; ++x)
        row[x] = x;
    const std::string file = write_file("thirty.bmp", bmp_file({.width = 30, .height = 1, .bits = 8, .rows = {row},
                                                                .palette = distinct_colours(30)}));
    ASSERT_EQ(ras_load_bmp(file.c_str(), 0), 0);
    EXPECT_EQ(ras_get_pixel(0, 0), 10);
    EXPECT_EQ(ras_get_pixel(29, 0), 39);
    for (int32_t x = 30; x < 32; ++x) {
        EXPECT_EQ(ras_get_pixel(x, 0), 40) << "index 250 is the 31st colour in use";
        EXPECT_EQ(entry(40), (colour{0, 0, 0}));
    }
}

TEST_F(BmpLoad, KeepPaletteLeavesEveryEntryAndCopiesIndices)
{
    open_new_buffer(8, 4, 1);
    const auto before = palette();
    const std::string file = write_file("keep.bmp", bmp_file({.width = 4, .height = 1, .bits = 8, .rows = {{0, 5, 200, 255}},
                                                              .palette = distinct_colours(256)}));
    ASSERT_EQ(ras_load_bmp(file.c_str(), RAS_BMP_KEEP_PALETTE), 0);
    EXPECT_EQ(pixels(4, 1), (rows{{0, 5, 200, 255}}));
    EXPECT_EQ(palette(), before);
}

// Refusals, at every depth: each leaves the pixels and the palette exactly as they were.
struct refusal {
    const char* name;
    bytes file;
    int32_t result;
};

std::vector<refusal> refusals()
{
    const bmp_layout plain{.width = 2, .height = 1, .bits = 8, .rows = {{1, 2}}, .palette = kTwo};
    auto with = [&](auto change) {
        bmp_layout s = plain;
        change(s);
        return bmp_file(s);
    };
    bytes ba = bmp_file(plain);
    ba[1] = 'A';
    bytes offset_in_header = bmp_file(plain);
    offset_in_header[10] = 20;
    bytes header_size8 = bmp_file(plain);
    header_size8[14] = 8;
    bytes rle = bmp_file(plain);
    rle[30] = 1;
    bytes bits16 = bmp_file(plain);
    bits16[28] = 16;
    bytes bits32 = bmp_file(plain);
    bits32[28] = 32;
    const bytes whole = bmp_file(plain);
    return {
        {"not-bm", ba, RAS_BMP_NOT_BMP},
        {"rle", rle, RAS_BMP_COMPRESSED},
        {"bits16", bits16, RAS_BMP_UNSUPPORTED},
        {"bits32", bits32, RAS_BMP_UNSUPPORTED},
        {"width0", with([](bmp_layout& s) { s.width = 0; }), RAS_CODEC_BAD_HEADER},
        {"negative-width", with([](bmp_layout& s) { s.width = -2; }), RAS_CODEC_BAD_HEADER},
        {"height0", with([](bmp_layout& s) { s.height = 0; }), RAS_CODEC_BAD_HEADER},
        {"offset-in-header", offset_in_header, RAS_CODEC_BAD_HEADER},
        {"header-size-8", header_size8, RAS_CODEC_BAD_HEADER},
        {"too-wide", with([](bmp_layout& s) { s.width = 16385; s.rows = {}; }), RAS_CODEC_TOO_WIDE},
        {"header-cut", bytes{'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}, RAS_CODEC_TRUNCATED},
        {"table-cut", bytes(whole.begin(), whole.begin() + 58), RAS_CODEC_TRUNCATED},
    };
}

class BmpRefusal : public CodecTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(BmpRefusal, ChangesNothing)
{
    const int32_t depth = GetParam();
    open_new_buffer(depth, 5, 3);
    fill(depth == 8 ? 77 : 0x1234);
    const auto before_pixels = pixels(8, 3);
    const auto before_palette = palette();
    for (const refusal& r : refusals()) {
        EXPECT_EQ(ras_load_bmp(write_file(r.name, r.file).c_str(), 0), r.result) << r.name;
        EXPECT_STRNE(ras_codec_failure_reason(), "") << r.name;
        EXPECT_EQ(pixels(8, 3), before_pixels) << r.name;
        EXPECT_EQ(palette(), before_palette) << r.name;
    }
    EXPECT_EQ(ras_load_bmp(path("missing.bmp").c_str(), 0), RAS_BMP_CANNOT_OPEN);
    std::filesystem::create_directory(path("folder.bmp"));
    EXPECT_EQ(ras_load_bmp(path("folder.bmp").c_str(), 0), RAS_BMP_CANNOT_OPEN);
    // A pipe without a writer would block a reader for good: it is not opened.
    ASSERT_EQ(::mkfifo(path("pipe.bmp").c_str(), 0600), 0);
    EXPECT_EQ(ras_load_bmp(path("pipe.bmp").c_str(), 0), RAS_BMP_CANNOT_OPEN);
}

INSTANTIATE_TEST_SUITE_P(AllDepths, BmpRefusal, ::testing::Values(8, 16, 24, 32), depth_name);

TEST_F(BmpLoad, TwentyFourBitPictureIsRefusedByAnEightBitBuffer)
{
    open_new_buffer(8, 2, 1);
    fill(33);
    const auto before = palette();
    const std::string file = write_file("rgb.bmp", bmp_file({.width = 2, .height = 1, .bits = 24, .rows = {{0xFF0000, 0x00FF00}}}));
    EXPECT_EQ(ras_load_bmp(file.c_str(), 0), RAS_BMP_UNSUPPORTED);
    EXPECT_EQ(pixels(2, 1), (rows{{33, 33}}));
    EXPECT_EQ(palette(), before);
}

TEST_F(BmpLoad, NoActiveBufferReadsNothing)
{
    EXPECT_EQ(ras_load_bmp(path("missing.bmp").c_str(), 0), 0);
}

// The loader's conversions, one body per buffer depth.
class BmpLoadDepth : public CodecTest, public ::testing::WithParamInterface<int32_t> {
protected:
    int32_t depth() const { return GetParam(); }
    int32_t native(colour c) const { return ras_make_color(c.red, c.green, c.blue); }
};

// Cases for the direct-colour depths only: an 8-bit buffer renumbers an 8-bit picture's colours
// (tested above) and refuses 24-bit pictures.
class BmpLoadDirectDepth : public BmpLoadDepth {};

TEST_P(BmpLoadDepth, IndexedPictureConvertsThroughItsColours)
{
    open_new_buffer(depth(), 4, 2);
    const std::string file = write_file("four.bmp", bmp_file({.width = 3, .height = 2, .bits = 4,
                                                              .rows = {{0, 1, 2}, {15, 14, 13}}, .palette = kSixteen}));
    ASSERT_EQ(ras_load_bmp(file.c_str(), 0), 0);
    const int32_t picture[2][3] = {{15, 14, 13}, {0, 1, 2}};
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x) {
            const int32_t v = picture[y][x];
            const int32_t expected = depth() == 8 ? v + 10 : native(kSixteen[static_cast<std::size_t>(v)]);
            EXPECT_EQ(ras_get_pixel(x, y), expected) << x << "," << y;
            EXPECT_EQ(entry(10 + v), kSixteen[static_cast<std::size_t>(v)]);
        }
}

TEST_P(BmpLoadDirectDepth, EightBitPictureConvertsFromEntryZero)
{
    open_new_buffer(depth(), 4, 1);
    const std::vector<colour> colours = distinct_colours(256);
    const std::string file = write_file("eight.bmp", bmp_file({.width = 4, .height = 1, .bits = 8, .rows = {{0, 9, 128, 255}},
                                                               .palette = colours}));
    ASSERT_EQ(ras_load_bmp(file.c_str(), 0), 0);
    EXPECT_EQ(pixels(4, 1), (rows{{native(colours[0]), native(colours[9]), native(colours[128]), native(colours[255])}}));
    EXPECT_EQ(entry(9), colours[9]);
}

TEST_P(BmpLoadDirectDepth, TwentyFourBitPictureIsStoredDirectly)
{
    open_new_buffer(depth(), 3, 2);
    fill(depth() == 32 ? static_cast<int32_t>(0x7F000000) : 0);
    const auto before = palette();
    // A colour table in a 24-bit file plays no part and is not taken.
    const std::string file = write_file("rgb.bmp", bmp_file({.width = 3, .height = 2, .bits = 24,
                                                             .rows = {{0x102030, 0xFFFFFF, 0x000000}, {0xF80400, 0x0700FC, 0x123456}},
                                                             .palette = kTwo}));
    ASSERT_EQ(ras_load_bmp(file.c_str(), 0), 0);
    const int32_t fourth = depth() == 32 ? static_cast<int32_t>(0x7F000000) : 0; // kept as it was
    const uint32_t top[3] = {0xF80400, 0x0700FC, 0x123456};
    const uint32_t bottom[3] = {0x102030, 0xFFFFFF, 0x000000};
    for (int32_t x = 0; x < 3; ++x) {
        EXPECT_EQ(ras_get_pixel(x, 0), native({int32_t(top[x] >> 16), int32_t(top[x] >> 8 & 255), int32_t(top[x] & 255)}) | fourth);
        EXPECT_EQ(ras_get_pixel(x, 1), native({int32_t(bottom[x] >> 16), int32_t(bottom[x] >> 8 & 255), int32_t(bottom[x] & 255)}) | fourth);
    }
    EXPECT_EQ(palette(), before);
}

TEST_P(BmpLoadDepth, TopDownRowsAndPicturesLargerThanTheBuffer)
{
    // The same 5 x 4 picture stored bottom-up and top-down, read into a 4 x 2 buffer: its
    // top-left 4 x 2 pixels arrive, the rest is not stored.
    const std::vector<std::vector<uint32_t>> top_first = {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {11, 12, 13, 14, 15}, {0, 0, 0, 0, 0}};
    std::vector<std::vector<uint32_t>> bottom_first(top_first.rbegin(), top_first.rend());
    const std::vector<colour> colours = distinct_colours(16);
    const bytes upright = bmp_file({.width = 5, .height = 4, .bits = 4, .rows = bottom_first, .palette = colours});
    const bytes top_down = bmp_file({.width = 5, .height = -4, .bits = 4, .rows = top_first, .palette = colours});
    for (const auto& [name, file] : {std::pair{"upright.bmp", upright}, std::pair{"top-down.bmp", top_down}}) {
        const int32_t handle = open_new_buffer(depth(), 4, 2);
        fill(0);
        ASSERT_EQ(ras_load_bmp(write_file(name, file).c_str(), 0), 0) << name;
        for (int32_t y = 0; y < 2; ++y)
            for (int32_t x = 0; x < 4; ++x) {
                const uint32_t v = top_first[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
                EXPECT_EQ(ras_get_pixel(x, y), depth() == 8 ? int32_t(v) + 10 : native(colours[v])) << name << " " << x << "," << y;
            }
        ras_close_buffer();
        ras_free_buffer(handle);
    }
}

TEST_P(BmpLoadDepth, FileCutShortKeepsTheRowsItHolds)
{
    // Four rows of 4 bytes, bottom-up; the file ends inside the third row it stores.
    open_new_buffer(depth(), 4, 4);
    const int32_t old = depth() == 8 ? 3 : 0x0421;
    fill(old);
    const auto before = palette();
    bytes file = bmp_file({.width = 4, .height = 4, .bits = 8, .rows = {{1, 1, 1, 1}, {2, 2, 2, 2}, {3, 3, 3, 3}, {4, 4, 4, 4}},
                           .palette = distinct_colours(5)});
    file.resize(file.size() - 6);
    EXPECT_EQ(ras_load_bmp(write_file("cut.bmp", file).c_str(), 0), RAS_CODEC_TRUNCATED);
    EXPECT_STRNE(ras_codec_failure_reason(), "");
    const int32_t one = depth() == 8 ? 1 : native(distinct_colours(5)[1]);
    const int32_t two = depth() == 8 ? 2 : native(distinct_colours(5)[2]);
    EXPECT_EQ(pixels(4, 4), (rows{{old, old, old, old}, {old, old, old, old}, {two, two, two, two}, {one, one, one, one}}));
    if (depth() == 8) {
        EXPECT_EQ(palette(), before) << "the colours are not fitted for a picture that was not read";
    }
}

TEST_P(BmpLoadDepth, PixelDataFarBeyondTheFirstBlock)
{
    // 5,000 bytes between the colour table and the rows: the pixel data offset finds the rows.
    open_new_buffer(depth(), 4, 1);
    const std::vector<colour> colours = distinct_colours(4);
    const std::string file = write_file("far.bmp", bmp_file({.width = 4, .height = 1, .bits = 8, .rows = {{3, 2, 1, 0}},
                                                             .palette = colours, .gap = 5000}));
    ASSERT_EQ(ras_load_bmp(file.c_str(), 0), 0);
    // An 8-bit buffer renumbers the four colours in use to 10..13.
    for (int32_t x = 0; x < 4; ++x)
        EXPECT_EQ(ras_get_pixel(x, 0), depth() == 8 ? 13 - x : native(colours[static_cast<std::size_t>(3 - x)])) << x;
}

TEST_P(BmpLoadDirectDepth, RowOfSixteenThousandPixelsIsRead)
{
    open_new_buffer(depth(), 16384, 1);
    std::vector<uint32_t> row(16384, 0x000000);
    row.back() = 0xFFFFFF;
    ASSERT_EQ(ras_load_bmp(write_file("wide.bmp", bmp_file({.width = 16384, .height = 1, .bits = 24, .rows = {row}})).c_str(), 0), 0);
    EXPECT_EQ(ras_get_pixel(16383, 0) & 0xFFFFFF, native({255, 255, 255}));
    EXPECT_EQ(ras_get_pixel(16382, 0) & 0xFFFFFF, 0);
}

INSTANTIATE_TEST_SUITE_P(AllDepths, BmpLoadDepth, ::testing::Values(8, 16, 24, 32), depth_name);
INSTANTIATE_TEST_SUITE_P(DirectDepths, BmpLoadDirectDepth, ::testing::Values(16, 24, 32), depth_name);

} // namespace
