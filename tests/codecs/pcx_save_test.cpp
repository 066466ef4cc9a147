// Writing PCX files: the header, the run-length coding of each row, the palette block, the
// arguments refused before a file is made, and round trips through the reader at every depth.

#include "CodecTestSupport.h"

#include "raster/codecs/pcx.h"

#include <filesystem>

namespace {

class PcxSave : public CodecTest {
protected:
    // Saves row 0 of the active buffer, columns 0 .. width - 1, and returns the file.
    bytes save_row(int32_t width)
    {
        const std::string name = path("row.pcx");
        EXPECT_EQ(ras_save_pcx(0, width - 1, 0, 0, name.c_str()), 0);
        return read_file(name);
    }

    static void put_row(const std::vector<int32_t>& values)
    {
        for (std::size_t x = 0; x < values.size(); ++x) {
            ras_set_color(values[x]);
            ras_point(static_cast<int32_t>(x), 0);
        }
    }
};

TEST_F(PcxSave, RowsAreRunLengthCoded)
{
    struct row {
        const char* what;
        std::vector<int32_t> pixels;
        bytes coded;
    };
    const row cases[] = {
        {"runs, a single high byte and plain bytes", {3, 3, 3, 200, 7, 8}, {0xC3, 0x03, 0xC1, 0xC8, 0x07, 0x08}},
        {"70 equal bytes: a run of 63, then one of 7", std::vector<int32_t>(70, 5), {0xFF, 0x05, 0xC7, 0x05}},
        {"odd width: the pad byte is 0 and coded with the row", {9, 9, 9}, {0xC3, 0x09, 0x00}},
        {"0xC0 alone", {0xC0, 1}, {0xC1, 0xC0, 0x01}},
    };
    for (const row& c : cases) {
        const int32_t width = static_cast<int32_t>(c.pixels.size());
        const int32_t handle = open_new_buffer(8, width, 1);
        put_row(c.pixels);
        const bytes file = save_row(width);
        ASSERT_EQ(file.size(), 128 + c.coded.size() + 769) << c.what;
        EXPECT_EQ(u16_at(file, 66), static_cast<uint32_t>((width + 1) & ~1)) << c.what;
        EXPECT_EQ(bytes(file.begin() + 128, file.begin() + 128 + static_cast<std::ptrdiff_t>(c.coded.size())), c.coded) << c.what;
        ras_close_buffer();
        ras_free_buffer(handle);
    }
}

TEST_F(PcxSave, RunsStopAtTheEndOfEachRow)
{
    open_new_buffer(8, 4, 2);
    fill(17);
    const std::string name = path("two-rows.pcx");
    ASSERT_EQ(ras_save_pcx(0, 3, 0, 1, name.c_str()), 0);
    const bytes file = read_file(name);
    EXPECT_EQ(bytes(file.begin() + 128, file.begin() + 132), (bytes{0xC4, 17, 0xC4, 17}));
}

TEST_F(PcxSave, HeaderOfAnEightBitPictureAndItsPaletteBlock)
{
    open_new_buffer(8, 20, 10);
    const std::string name = path("header.pcx");
    ASSERT_EQ(ras_save_pcx(3, 9, 2, 5, name.c_str()), 0);
    const bytes file = read_file(name);
    ASSERT_GE(file.size(), 128u + 769u);
    struct field {
        std::size_t at;
        uint32_t value;
        bool wide;
    };
    const field fields[] = {{0, 10, false}, {1, 5, false},  {2, 1, false},   {3, 8, false},   {4, 3, true},
                            {6, 2, true},   {8, 9, true},   {10, 5, true},   {12, 128, true}, {14, 96, true},
                            {64, 0, false}, {65, 1, false}, {66, 8, true},   {68, 1, true}};
    for (const field& f : fields)
        EXPECT_EQ(f.wide ? u16_at(file, f.at) : file[f.at], f.value) << "offset " << f.at;
    for (std::size_t at = 16; at < 64; ++at)
        EXPECT_EQ(file[at], 0) << at;
    for (std::size_t at = 70; at < 128; ++at)
        EXPECT_EQ(file[at], 0) << at;
    const std::size_t block = file.size() - 769;
    EXPECT_EQ(file[block], 12);
    for (int32_t i = 0; i < 256; ++i) {
        const std::size_t at = block + 1 + 3 * static_cast<std::size_t>(i);
        EXPECT_EQ((colour{file[at], file[at + 1], file[at + 2]}), entry(i)) << i;
    }
}

TEST_F(PcxSave, DirectColourPicturesHaveThreePlanesAndNoPaletteBlock)
{
    struct row {
        int32_t depth;
        int32_t native;
        bytes planes; // red, green, blue of the one pixel colour, 3 pixels each
    };
    const row cases[] = {
        {24, 0x123456, {0xC3, 0x12, 0xC3, 0x34, 0xC3, 0x56}},
        {32, 0x00C0FF01, {0xC3, 0xC0, 0xC3, 0xFF, 0xC3, 0x01}},
        // 5-6-5 fields (1, 2, 31): red 1 * 255 / 31 = 8, green 2 * 255 / 63 = 8, blue 255. The
        // planes are one sequence, so the equal red and green planes make one run of 6.
        {16, (1 << 11) | (2 << 5) | 31, {0xC6, 0x08, 0xC3, 0xFF}},
    };
    for (const row& c : cases) {
        const int32_t handle = open_new_buffer(c.depth, 3, 1);
        fill(c.native);
        const bytes file = save_row(3);
        EXPECT_EQ(file[65], 3) << c.depth;
        EXPECT_EQ(u16_at(file, 66), 3u) << c.depth;
        EXPECT_EQ(bytes(file.begin() + 128, file.end()), c.planes) << c.depth << ": no palette block follows";
        ras_close_buffer();
        ras_free_buffer(handle);
    }
}

TEST_F(PcxSave, RefusedArgumentsCreateNoFile)
{
    const std::string name = path("refused.pcx");
    EXPECT_EQ(ras_save_pcx(0, 1, 0, 1, name.c_str()), RAS_PCX_CANNOT_OPEN) << "no active buffer";
    EXPECT_FALSE(std::filesystem::exists(name));
    open_new_buffer(8, 10, 4);
    struct row {
        const char* what;
        int32_t x1, x2, y1, y2;
    };
    const row cases[] = {{"reversed columns", 3, 0, 0, 3}, {"reversed rows", 0, 3, 3, 0}, {"right of the buffer", 0, 12, 0, 3},
                         {"below the buffer", 0, 3, 0, 4}, {"above the buffer", 0, 3, -1, 3}};
    for (const row& c : cases) {
        EXPECT_EQ(ras_save_pcx(c.x1, c.x2, c.y1, c.y2, name.c_str()), RAS_CODEC_BAD_RECTANGLE) << c.what;
        EXPECT_FALSE(std::filesystem::exists(name)) << c.what;
    }
    EXPECT_EQ(ras_save_pcx(0, 3, 0, 3, path("no/such/folder.pcx").c_str()), RAS_PCX_CANNOT_OPEN);
}

TEST_F(PcxSave, RowsWiderThanTheCodecsAcceptAreRefused)
{
    open_new_buffer(24, RAS_CODEC_MAX_ROW_PIXELS + 4, 1);
    const std::string name = path("wide.pcx");
    EXPECT_EQ(ras_save_pcx(0, RAS_CODEC_MAX_ROW_PIXELS, 0, 0, name.c_str()), RAS_CODEC_TOO_WIDE);
    EXPECT_FALSE(std::filesystem::exists(name));
    EXPECT_EQ(ras_save_pcx(1, RAS_CODEC_MAX_ROW_PIXELS, 0, 0, name.c_str()), 0);
}

TEST_F(PcxSave, FailedWriteIsReported)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "needs /dev/full";
    open_new_buffer(8, 8, 8);
    EXPECT_EQ(ras_save_pcx(0, 7, 0, 7, "/dev/full"), RAS_CODEC_WRITE_FAILED);
    EXPECT_TRUE(std::filesystem::exists("/dev/full"));
}

// Round trips, one body per buffer depth: a rectangle written and read back (palette kept)
// lands at its own coordinates with the pixels it had.
class PcxRoundTrip : public CodecTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(PcxRoundTrip, RectangleComesBackInPlace)
{
    const int32_t depth = GetParam();
    const int32_t width = 71; // runs longer than 63 and an odd width
    const int32_t height = 5;
    const int32_t source = open_new_buffer(depth, width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            // Long runs on the left, noise on the right.
            const uint32_t n = x < 66 ? static_cast<uint32_t>(y + 1) * 0x9E3779B9u : static_cast<uint32_t>(x * 31 + y) * 2654435761u;
            const int32_t v = depth == 8 ? static_cast<int32_t>(n >> 24) : depth == 16 ? static_cast<int32_t>(n >> 16) : static_cast<int32_t>(n >> 8);
            ras_set_color(v);
            ras_point(x, y);
        }
    const auto written = pixels(width, height);
    const std::string name = path("trip.pcx");
    ASSERT_EQ(ras_save_pcx(0, width - 1, 0, height - 1, name.c_str()), 0);
    const int32_t whole = open_new_buffer(depth, width, height);
    ASSERT_EQ(ras_load_pcx(name.c_str(), RAS_PCX_KEEP_PALETTE), 0);
    EXPECT_EQ(pixels(width, height), written);

    // An inner rectangle keeps its window: it is read back at the same place.
    const std::string inner = path("inner.pcx");
    ras_open_buffer(source);
    ASSERT_EQ(ras_save_pcx(60, 68, 1, 3, inner.c_str()), 0);
    const int32_t target = open_new_buffer(depth, width, height);
    fill(0);
    ASSERT_EQ(ras_load_pcx(inner.c_str(), RAS_PCX_KEEP_PALETTE), 0);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const bool inside = x >= 60 && x <= 68 && y >= 1 && y <= 3;
            EXPECT_EQ(ras_get_pixel(x, y), inside ? written[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] : 0) << x << "," << y;
        }
    ras_close_buffer();
    for (const int32_t handle : {source, whole, target})
        ras_free_buffer(handle);
}

INSTANTIATE_TEST_SUITE_P(AllDepths, PcxRoundTrip, ::testing::Values(8, 16, 24, 32), depth_name);

} // namespace
