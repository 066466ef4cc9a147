// Writing BMP files: the header and colour table as stored, the pixels of every bit count, the
// arguments refused before a file is made, and round trips through the reader at every depth.

#include "CodecTestSupport.h"

#include "raster/codecs/bmp.h"

#include <filesystem>

namespace {

class BmpSave : public CodecTest {};

TEST_F(BmpSave, HeaderOfAThirtyThreeByTenEightBitPicture)
{
    open_new_buffer(8, 40, 12);
    const std::string name = path("sheet.bmp");
    ASSERT_EQ(ras_save_bmp(0, 32, 0, 9, 8, name.c_str()), 0);
    const bytes file = read_file(name);
    ASSERT_EQ(file.size(), 1438u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    struct field {
        std::size_t at;
        uint32_t value;
        bool wide;
    };
    const field fields[] = {{2, 1438, true}, {6, 0, true},  {10, 1078, true}, {14, 40, true}, {18, 33, true},
                            {22, 10, true},  {26, 1, false}, {28, 8, false},  {30, 0, true},  {34, 360, true},
                            {38, 0, true},   {42, 0, true},  {46, 0, true},   {50, 0, true}};
    for (const field& f : fields)
        EXPECT_EQ(f.wide ? u32_at(file, f.at) : u16_at(file, f.at), f.value) << "offset " << f.at;
}

TEST_F(BmpSave, PixelDataOffsetAndColourTableByBitCount)
{
    struct row {
        int32_t depth;
        int32_t bits;
        uint32_t offset;
        int32_t first_entry;
    };
    const row cases[] = {{8, 1, 62, 10}, {8, 4, 118, 10}, {8, 8, 1078, 0}, {24, 24, 54, 0}};
    for (const row& c : cases) {
        const int32_t handle = open_new_buffer(c.depth, 8, 2);
        const std::string name = path("bits" + std::to_string(c.bits) + ".bmp");
        ASSERT_EQ(ras_save_bmp(0, 7, 0, 1, c.bits, name.c_str()), 0);
        const bytes file = read_file(name);
        EXPECT_EQ(u32_at(file, 10), c.offset) << c.bits;
        const uint32_t row_bytes = c.bits == 24 ? 24 : 4 * ((static_cast<uint32_t>(8 * c.bits) + 31) / 32);
        EXPECT_EQ(file.size(), c.offset + 2 * row_bytes) << c.bits;
        for (uint32_t i = 0; 54 + 4 * i < c.offset; ++i) {
            const colour expected = entry(c.first_entry + static_cast<int32_t>(i));
            const std::size_t at = 54 + 4 * i;
            EXPECT_EQ((colour{file[at + 2], file[at + 1], file[at]}), expected) << c.bits << " entry " << i;
            EXPECT_EQ(file[at + 3], 0);
        }
        ras_close_buffer();
        ras_free_buffer(handle);
    }
}

TEST_F(BmpSave, PixelsOfEachBitCount)
{
    // One 9-pixel row, so that 1 and 4 bits end inside a byte and every row needs padding.
    struct row {
        int32_t bits;
        bytes stored; // the row as the file holds it, padding excluded
    };
    const int32_t indices[9] = {10, 11, 25, 26, 9, 0, 255, 12, 13};
    const row cases[] = {
        // Lowest bit of each index, the first pixel in the most significant bit.
        {1, {0b01101010, 0b10000000}},
        // (index - 10) mod 16 per nibble, the first pixel in the high nibble.
        {4, {0x01, 0xF0, 0xF6, 0x52, 0x30}},
        {8, {10, 11, 25, 26, 9, 0, 255, 12, 13}},
    };
    open_new_buffer(8, 9, 1);
    for (int32_t x = 0; x < 9; ++x) {
        ras_set_color(indices[x]);
        ras_point(x, 0);
    }
    for (const row& c : cases) {
        const std::string name = path("row.bmp");
        ASSERT_EQ(ras_save_bmp(0, 8, 0, 0, c.bits, name.c_str()), 0);
        const bytes file = read_file(name);
        const std::size_t offset = u32_at(file, 10);
        EXPECT_EQ(bytes(file.begin() + static_cast<std::ptrdiff_t>(offset), file.begin() + static_cast<std::ptrdiff_t>(offset + c.stored.size())), c.stored) << c.bits;
        EXPECT_EQ((file.size() - offset) % 4, 0u) << c.bits;
    }
}

TEST_F(BmpSave, FiveSixFivePixelsWidenToEightBits)
{
    struct row {
        int32_t native;
        bytes stored; // blue, green, red
    };
    const row cases[] = {
        {(1 << 11) | (2 << 5) | 1, {8, 8, 8}},
        {0xFFFF, {255, 255, 255}},
        {(31 << 11), {0, 0, 255}},
        {(63 << 5), {0, 255, 0}},
        {(16 << 11) | (32 << 5) | 16, {131, 129, 131}},
    };
    open_new_buffer(16, 5, 1);
    for (int32_t x = 0; x < 5; ++x) {
        ras_set_color(cases[x].native);
        ras_point(x, 0);
    }
    const std::string name = path("wide.bmp");
    ASSERT_EQ(ras_save_bmp(0, 4, 0, 0, 24, name.c_str()), 0);
    const bytes file = read_file(name);
    for (std::size_t x = 0; x < 5; ++x)
        EXPECT_EQ(bytes(file.begin() + 54 + 3 * static_cast<std::ptrdiff_t>(x), file.begin() + 57 + 3 * static_cast<std::ptrdiff_t>(x)), cases[x].stored) << x;
}

TEST_F(BmpSave, RefusedArgumentsCreateNoFile)
{
    const std::string name = path("refused.bmp");
    EXPECT_EQ(ras_save_bmp(0, 1, 0, 1, 8, name.c_str()), RAS_BMP_CANNOT_OPEN) << "no active buffer";
    open_new_buffer(8, 10, 4);
    struct row {
        const char* what;
        int32_t x1, x2, y1, y2, bits;
        int32_t result;
    };
    const row cases[] = {
        {"bit count 16", 0, 3, 0, 3, 16, RAS_BMP_CANNOT_OPEN},
        {"bit count 2", 0, 3, 0, 3, 2, RAS_BMP_CANNOT_OPEN},
        {"24 bits from an 8-bit buffer", 0, 3, 0, 3, 24, RAS_CODEC_BAD_RECTANGLE},
        {"reversed columns", 3, 0, 0, 3, 8, RAS_CODEC_BAD_RECTANGLE},
        {"reversed rows", 0, 3, 3, 0, 8, RAS_CODEC_BAD_RECTANGLE},
        {"right of the buffer", 0, 12, 0, 3, 8, RAS_CODEC_BAD_RECTANGLE},
        {"below the buffer", 0, 3, 0, 4, 8, RAS_CODEC_BAD_RECTANGLE},
        {"left of the buffer", -1, 3, 0, 3, 8, RAS_CODEC_BAD_RECTANGLE},
    };
    for (const row& c : cases) {
        EXPECT_EQ(ras_save_bmp(c.x1, c.x2, c.y1, c.y2, c.bits, name.c_str()), c.result) << c.what;
        EXPECT_FALSE(std::filesystem::exists(name)) << c.what;
    }
    ras_close_buffer();
    open_new_buffer(24, 4, 4);
    EXPECT_EQ(ras_save_bmp(0, 3, 0, 3, 8, name.c_str()), RAS_CODEC_BAD_RECTANGLE);
    EXPECT_FALSE(std::filesystem::exists(name));
    EXPECT_EQ(ras_save_bmp(0, 3, 0, 3, 24, path("no/such/folder.bmp").c_str()), RAS_BMP_CANNOT_OPEN);
}

TEST_F(BmpSave, FailedWriteIsReported)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "needs /dev/full";
    open_new_buffer(8, 64, 64);
    EXPECT_EQ(ras_save_bmp(0, 63, 0, 63, 8, "/dev/full"), RAS_CODEC_WRITE_FAILED);
    EXPECT_TRUE(std::filesystem::exists("/dev/full")) << "a device is never removed";
}

TEST_F(BmpSave, ExistingFileIsReplaced)
{
    const std::string name = write_file("old.bmp", bytes(5000, 0x55));
    open_new_buffer(24, 2, 1);
    ASSERT_EQ(ras_save_bmp(0, 1, 0, 0, 24, name.c_str()), 0);
    EXPECT_EQ(read_file(name).size(), 62u);
}

// Round trips through the writer and the reader, one body per buffer depth: what is written and
// read back (palette kept) is what was there, for every bit count the depth is written with.
class BmpRoundTrip : public CodecTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(BmpRoundTrip, PixelsComeBackUnchanged)
{
    const int32_t depth = GetParam();
    struct pass {
        int32_t bits;
        int32_t lowest; // the index values that survive this bit count
        int32_t count;
    };
    const std::vector<pass> passes = depth == 8 ? std::vector<pass>{{1, 10, 2}, {4, 10, 16}, {8, 0, 256}}
                                                : std::vector<pass>{{24, 0, 0}};
    const int32_t width = 13;
    const int32_t height = 3;
    for (const pass& p : passes) {
        const int32_t source = open_new_buffer(depth, width, height);
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) {
                const int32_t n = 37 * x + 101 * y + 5;
                int32_t v = 0;
                switch (depth) {
                case 8: v = p.lowest + n % p.count; break;
                case 16: v = (n * 2654435761u) & 0xFFFF; break;
                default: v = static_cast<int32_t>((n * 2654435761u) & 0xFFFFFF); break;
                }
                ras_set_color(v);
                ras_point(x, y);
            }
        const auto written = pixels(width, height);
        const std::string name = path("trip" + std::to_string(p.bits) + ".bmp");
        ASSERT_EQ(ras_save_bmp(0, width - 1, 0, height - 1, p.bits, name.c_str()), 0);
        const int32_t target = open_new_buffer(depth, width, height);
        ASSERT_EQ(ras_load_bmp(name.c_str(), RAS_BMP_KEEP_PALETTE), 0);
        EXPECT_EQ(pixels(width, height), written) << p.bits << " bits";
        ras_close_buffer();
        ras_free_buffer(source);
        ras_free_buffer(target);
    }
}

TEST_P(BmpRoundTrip, InnerRectangleLandsAtTheOrigin)
{
    const int32_t depth = GetParam();
    open_new_buffer(depth, 6, 5);
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 6; ++x) {
            ras_set_color(depth == 8 ? 10 * y + x : 0x010101 * (10 * y + x) & (depth == 16 ? 0xFFFF : 0xFFFFFF));
            ras_point(x, y);
        }
    const int32_t expected_first = ras_get_pixel(2, 1);
    const int32_t expected_last = ras_get_pixel(4, 3);
    const std::string name = path("inner.bmp");
    ASSERT_EQ(ras_save_bmp(2, 4, 1, 3, depth == 8 ? 8 : 24, name.c_str()), 0);
    open_new_buffer(depth, 3, 3);
    ASSERT_EQ(ras_load_bmp(name.c_str(), RAS_BMP_KEEP_PALETTE), 0);
    EXPECT_EQ(ras_get_pixel(0, 0), expected_first);
    EXPECT_EQ(ras_get_pixel(2, 2), expected_last);
}

INSTANTIATE_TEST_SUITE_P(AllDepths, BmpRoundTrip, ::testing::Values(8, 16, 24, 32), depth_name);

} // namespace
