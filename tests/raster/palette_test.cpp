// The palette: its default colours, palettes built from colour lists, the views kept in step
// with it (colour table of 8-bit buffers, conversion table of the others) and palette objects.

#include "RasterFixture.h"

#include <array>
#include <climits>
#include <vector>

namespace {

struct Rgb {
    int32_t r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "(" << c.r << "," << c.g << "," << c.b << ")";
}

Rgb entry(int32_t index)
{
    Rgb c{-1, -1, -1};
    ras_get_rgb(index, &c.r, &c.g, &c.b);
    return c;
}

Rgb of(const ras_palette_entry& e)
{
    return {e.red, e.green, e.blue};
}

// n colour triples, triple i = (i + 1, 2 * i, 255 - i).
std::vector<uint8_t> colour_list(int n)
{
    std::vector<uint8_t> rgb;
    for (int i = 0; i < n; ++i) {
        rgb.push_back(static_cast<uint8_t>(i + 1));
        rgb.push_back(static_cast<uint8_t>(2 * i));
        rgb.push_back(static_cast<uint8_t>(255 - i));
    }
    return rgb;
}

Rgb listed(int i)
{
    return {(i + 1) & 255, (2 * i) & 255, 255 - i};
}

const Rgb kStatic[20] = {{0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},
                         {0, 0, 128},     {128, 0, 128},   {0, 128, 128},   {192, 192, 192},
                         {192, 220, 192}, {164, 200, 240}, {255, 251, 240}, {160, 160, 164},
                         {128, 128, 128}, {255, 0, 0},     {0, 255, 0},     {255, 255, 0},
                         {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};

int32_t static_index(int i)
{
    return i < 10 ? i : 236 + i;
}

// What the window shows for pixel (x, y) of the active buffer, pasted onto a 1 x 1 surface.
uint32_t shown_at(int32_t x, int32_t y)
{
    uint32_t pixel = 0;
    ras_surface surface{&pixel, 1, 1, 4, nullptr, nullptr};
    ras_set_window_dc(&surface);
    ras_paste(x, x, y, y, 0, 0);
    ras_set_window_dc(nullptr);
    return pixel & 0xFFFFFF;
}

class PaletteTest : public RasterTest {
protected:
    void TearDown() override
    {
        for (ras_palette* p : made_)
            ras_delete_palette(p);
        RasterTest::TearDown();
    }
    ras_palette* keep(ras_palette* p)
    {
        made_.push_back(p);
        return p;
    }

private:
    std::vector<ras_palette*> made_;
};

struct DefaultCase {
    int32_t index;
    Rgb colour;
};

TEST_F(PaletteTest, DefaultPaletteFillsAllEntries)
{
    ras_palette* palette = keep(ras_make_default_palette());
    ASSERT_NE(palette, nullptr);
    const DefaultCase cases[] = {
        {0, {0, 0, 0}},         {7, {192, 192, 192}},   {9, {164, 200, 240}},   {10, {0, 0, 0}},
        {11, {0, 0, 170}},      {16, {170, 85, 0}},     {25, {255, 255, 255}},  {27, {85, 85, 85}},
        {29, {255, 255, 255}},  {30, {0, 0, 255}},      {31, {64, 0, 255}},     {38, {255, 0, 0}},
        {42, {255, 255, 0}},    {46, {0, 255, 0}},      {53, {0, 64, 255}},     {54, {125, 125, 255}},
        {102, {0, 0, 113}},     {200, {48, 32, 64}},      {245, {44, 48, 64}},    {246, {255, 251, 240}},
        {249, {255, 0, 0}},     {255, {255, 255, 255}},
    };
    for (const DefaultCase& c : cases) {
        EXPECT_EQ(entry(c.index), c.colour) << c.index;
        EXPECT_EQ(of(palette->entries[c.index]), c.colour) << c.index;
    }
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(palette->entries[i].flags, 1) << i;
        EXPECT_EQ(of(raster_internal::state.logical[i]), of(palette->entries[i])) << i;
    }
}

// The start-up order builds the palette before the engine starts; buffers then show it.
TEST_F(PaletteTest, BuffersMadeAfterStartUpShowTheDefaultColours)
{
    ras_realize_palette(keep(ras_make_default_palette()));
    ras_init();
    open_new_buffer(8, 4, 1);
    ras_set_color(38);
    ras_point(0, 0);
    ras_set_color(11);
    ras_point(1, 0);
    EXPECT_EQ(shown_at(0, 0), 0xFF0000u);
    EXPECT_EQ(shown_at(1, 0), 0x0000AAu);
    open_new_buffer(16, 4, 1);
    const uint8_t block[] = {38, 255};
    ras_put_block8(block, 2, 1);
    EXPECT_EQ(ras_get_pixel(0, 0), 0xF800);
    EXPECT_EQ(ras_get_pixel(1, 0), 0xFFFF);
}

TEST_F(PaletteTest, MakePaletteSetsStaticColoursAndTheList)
{
    keep(ras_make_default_palette());
    const std::vector<uint8_t> rgb = colour_list(236);
    ras_palette* palette = keep(ras_make_palette(10, 236, rgb.data()));
    ASSERT_NE(palette, nullptr);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(entry(static_index(i)), kStatic[i]) << static_index(i);
        EXPECT_EQ(palette->entries[static_index(i)].flags, 1);
    }
    for (int i = 0; i < 236; ++i) {
        EXPECT_EQ(entry(10 + i), listed(i)) << 10 + i;
        EXPECT_EQ(of(palette->entries[10 + i]), listed(i)) << 10 + i;
        EXPECT_EQ(palette->entries[10 + i].flags, 1);
    }
}

struct ShortListCase {
    int32_t first, count;
    int32_t listed_from, listed_to;  // entries taken from the list, half-open
    int32_t black_from, black_to;    // entries turned black
};

// Entries that neither the list nor the black tail reaches keep their previous colours; indices
// outside the palette are never written nor read from the list.
TEST_F(PaletteTest, MakePaletteWithShortOrMisplacedLists)
{
    const ShortListCase cases[] = {
        {10, 16, 10, 26, 26, 246},
        {10, 0, 10, 10, 10, 246},
        {20, 236, 20, 256, 256, 256},
        {250, 16, 250, 256, 256, 256},
        {-5, 10, 0, 5, 5, 231},
        {10, -3, 10, 10, 10, 246},
        {INT32_MAX, 236, 256, 256, 256, 256},
        {INT32_MIN, 236, 0, 0, 0, 0},
    };
    for (const ShortListCase& c : cases) {
        keep(ras_make_default_palette());
        std::array<Rgb, 256> before;
        for (int i = 0; i < 256; ++i)
            before[i] = entry(i);
        const std::vector<uint8_t> rgb = colour_list(c.count > 0 ? c.count : 0);
        keep(ras_make_palette(c.first, c.count, rgb.data()));
        for (int i = 0; i < 256; ++i) {
            Rgb expected = before[i];
            if (i < 10 || i >= 246)
                expected = kStatic[i < 10 ? i : i - 236];
            if (i >= c.listed_from && i < c.listed_to)
                expected = listed(i - c.first);
            if (i >= c.black_from && i < c.black_to)
                expected = {0, 0, 0};
            EXPECT_EQ(entry(i), expected) << "first " << c.first << " count " << c.count << " entry " << i;
        }
    }
}

TEST_F(PaletteTest, MakePaletteWithoutAListLeavesTheSpritesEntriesBlack)
{
    keep(ras_make_default_palette());
    keep(ras_make_palette(10, 236, nullptr));
    for (int i = 10; i < 246; ++i)
        EXPECT_EQ(entry(i), (Rgb{0, 0, 0})) << i;
}

// The conversion table follows a new palette only when a direct-colour buffer is opened again;
// an 8-bit buffer's colour table only when it is refreshed or opened again.
TEST_F(PaletteTest, ViewsFollowANewPaletteOnOpenOrRefresh)
{
    keep(ras_make_default_palette());
    const int32_t direct = open_new_buffer(16, 4, 1);
    const std::vector<uint8_t> white = {255, 255, 255};
    keep(ras_make_palette(10, 1, white.data()));
    const uint8_t index[] = {10};
    ras_put_block8(index, 1, 1);
    EXPECT_EQ(ras_get_pixel(0, 0), 0) << "old conversion table";
    ras_open_buffer(direct);
    ras_put_block8(index, 1, 1);
    EXPECT_EQ(ras_get_pixel(0, 0), 0xFFFF) << "rebuilt on opening";

    const int32_t indexed = open_new_buffer(8, 4, 1);
    ras_set_color(11);
    ras_point(0, 0);
    const std::vector<uint8_t> red = {200, 0, 0};
    keep(ras_make_palette(11, 1, red.data()));
    EXPECT_EQ(shown_at(0, 0), 0u) << "the buffer still carries the old colour table (11 black)";
    ras_refresh_colors();
    EXPECT_EQ(shown_at(0, 0), 0xC80000u);
    keep(ras_make_palette(11, 1, white.data()));
    ras_open_buffer(indexed);
    EXPECT_EQ(shown_at(0, 0), 0xFFFFFFu);
}

struct AnimateCase {
    int32_t depth;
    int32_t expected; // conversion of (1, 2, 3) at the depth, or the colour shown at 8 bits
};

// Entry 11 starts as (0, 0, 170), so every view has something to change.
TEST_F(PaletteTest, AnimateChangesEntriesInEveryView)
{
    const AnimateCase cases[] = {{8, 0x010203}, {16, 0}, {24, 0x010203}, {32, 0x010203}};
    for (const AnimateCase& c : cases) {
        ras_realize_palette(keep(ras_make_default_palette()));
        open_new_buffer(c.depth, 4, 1);
        const uint8_t rgb[] = {1, 2, 3};
        EXPECT_EQ(ras_animate_palette(11, 1, rgb), 0);
        EXPECT_EQ(entry(11), (Rgb{1, 2, 3}));
        EXPECT_EQ(of(raster_internal::state.current_palette->entries[11]), (Rgb{1, 2, 3}));
        if (c.depth == 8) {
            ras_set_color(11);
            ras_point(0, 0);
            EXPECT_EQ(shown_at(0, 0), static_cast<uint32_t>(c.expected));
        } else {
            ras_set_color(-1);
            ras_fill_buffer();
            const uint8_t index[] = {11};
            ras_put_block8(index, 1, 1);
            EXPECT_EQ(ras_get_pixel(0, 0), c.expected) << c.depth;
        }
    }
}

TEST_F(PaletteTest, AnimateNeedsAnActiveBufferAndAPositiveCount)
{
    keep(ras_make_default_palette());
    const uint8_t rgb[] = {1, 2, 3};
    ras_animate_palette(10, 1, rgb);
    EXPECT_EQ(entry(10), (Rgb{0, 0, 0})) << "no active buffer";
    open_new_buffer(8, 4, 1);
    ras_animate_palette(11, 0, rgb);
    ras_animate_palette(11, -1, rgb);
    ras_animate_palette(11, 1, nullptr);
    EXPECT_EQ(entry(11), (Rgb{0, 0, 170}));
}

TEST_F(PaletteTest, AnimateWritesOnlyEntriesInsideThePalette)
{
    keep(ras_make_default_palette());
    open_new_buffer(16, 4, 1);
    const std::vector<uint8_t> rgb = colour_list(8);
    ras_animate_palette(252, 8, rgb.data());
    ras_animate_palette(-6, 8, rgb.data());
    ras_animate_palette(INT32_MAX, 8, rgb.data());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(entry(252 + i), listed(i)) << 252 + i;
    EXPECT_EQ(entry(0), listed(6));
    EXPECT_EQ(entry(1), listed(7));
    EXPECT_EQ(entry(2), (Rgb{0, 128, 0}));
}

TEST_F(PaletteTest, GetRgbOutsideThePaletteLeavesTheOutputs)
{
    keep(ras_make_default_palette());
    for (int32_t index : {-1, 256, INT32_MIN}) {
        EXPECT_EQ(entry(index), (Rgb{-1, -1, -1})) << index;
    }
    ras_get_rgb(255, nullptr, nullptr, nullptr);
}

TEST_F(PaletteTest, DeletingTheCurrentPaletteLeavesNone)
{
    ras_palette* palette = ras_make_default_palette();
    ras_realize_palette(palette);
    EXPECT_EQ(raster_internal::state.current_palette, palette);
    ras_delete_palette(palette);
    EXPECT_EQ(raster_internal::state.current_palette, nullptr);
    ras_delete_palette(nullptr);
    open_new_buffer(8, 4, 1);
    const uint8_t rgb[] = {1, 2, 3};
    ras_animate_palette(10, 1, rgb);
    EXPECT_EQ(entry(10), (Rgb{1, 2, 3}));
}

} // namespace
