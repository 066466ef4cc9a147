// Index-block transfers checked against a pixel-by-pixel model over many random placements,
// sizes and clip rectangles, most of them reaching outside the buffer: every buffer pixel and
// every block pixel must end as the model says.

#include "RasterFixture.h"

#include <vector>

namespace {

constexpr int32_t kWidth = 9; // stored width 12
constexpr int32_t kStored = 12;
constexpr int32_t kHeight = 6;

struct Random {
    uint32_t state = 2463534242u;
    int32_t between(int32_t low, int32_t high) // inclusive
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return low + static_cast<int32_t>(state % static_cast<uint32_t>(high - low + 1));
    }
};

// A palette whose 256 conversion entries differ at every depth (see blocks_test.cpp).
void load_distinct_palette()
{
    for (int i = 0; i < 256; ++i)
        set_palette_entry(i, static_cast<uint8_t>((i >> 6) << 6), static_cast<uint8_t>((i & 63) << 2),
                          static_cast<uint8_t>(255 - i));
}

using BlockModelTest = DepthTest;

TEST_P(BlockModelTest, IndexTransfersMatchThePixelModel)
{
    load_distinct_palette();
    open_new_buffer(depth(), kWidth, kHeight);
    Random random;
    for (int round = 0; round < 600; ++round) {
        // The buffer starts as index (x + 12 y) % 250 + 1 everywhere, so every pixel is known.
        std::vector<int32_t> model(kStored * kHeight);
        ras_move_to(0, kHeight - 1);
        std::vector<uint8_t> start(kStored * kHeight);
        for (int32_t i = 0; i < kStored * kHeight; ++i)
            start[static_cast<size_t>(i)] = static_cast<uint8_t>(i % 250 + 1);
        ras_set_clip(0, kStored - 1, 0, kHeight - 1);
        ras_put_block8(start.data(), kStored, kHeight);
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kStored; ++x)
                model[static_cast<size_t>(y * kStored + x)] = start[static_cast<size_t>((kHeight - 1 - y) * kStored + x)];

        const int32_t x = random.between(-8, 14);
        const int32_t y = random.between(-4, 10);
        const int32_t w = random.between(0, 15);
        const int32_t h = random.between(0, 9);
        const int32_t left = random.between(-3, 13);
        const int32_t right = random.between(-3, 13);
        const int32_t top = random.between(-3, 8);
        const int32_t bottom = random.between(-3, 8);
        const bool clipped = random.between(0, 1) == 1;
        std::vector<uint8_t> block(static_cast<size_t>(w * h));
        for (uint8_t& b : block)
            b = static_cast<uint8_t>(random.between(0, 3) == 0 ? 0 : random.between(1, 255));

        ras_set_clip(left, right, top, bottom);
        ras_move_to(x, y);
        if (clipped)
            ras_put_block8_clip(block.data(), w, h);
        else
            ras_put_block8(block.data(), w, h);
        for (int32_t r = 0; r < h; ++r)
            for (int32_t c = 0; c < w; ++c) {
                const int32_t bx = x + c;
                const int32_t by = y - r;
                const uint8_t v = block[static_cast<size_t>(r * w + c)];
                const bool in_buffer = bx >= 0 && bx < kStored && by >= 0 && by < kHeight;
                const bool in_clip = bx >= left && bx <= right && by >= top && by <= bottom;
                if (in_buffer && (!clipped || (in_clip && v != 0)))
                    model[static_cast<size_t>(by * kStored + bx)] = v;
            }
        for (int32_t py = 0; py < kHeight; ++py)
            for (int32_t px = 0; px < kStored; ++px) {
                const int32_t index = model[static_cast<size_t>(py * kStored + px)];
                const int32_t expected = depth() == 8 ? index : static_cast<int32_t>(raster_internal::state.conversion[index]);
                ASSERT_EQ(ras_get_pixel(px, py), expected)
                    << "round " << round << (clipped ? " clipped" : "") << " put at " << x << "," << y << " " << w
                    << "x" << h << " clip " << left << ".." << right << ", " << top << ".." << bottom << "; pixel "
                    << px << "," << py;
            }

        // Getting the same rectangle back: pixels inside the buffer come back, the rest stay.
        std::vector<uint8_t> back(block.size(), 0xEE);
        ras_get_block8(back.data(), w, h);
        for (int32_t r = 0; r < h; ++r)
            for (int32_t c = 0; c < w; ++c) {
                const int32_t bx = x + c;
                const int32_t by = y - r;
                const bool in_buffer = bx >= 0 && bx < kStored && by >= 0 && by < kHeight;
                const int32_t expected = in_buffer ? model[static_cast<size_t>(by * kStored + bx)] : 0xEE;
                ASSERT_EQ(back[static_cast<size_t>(r * w + c)], expected)
                    << "round " << round << " get at " << x << "," << y << " " << w << "x" << h << "; block pixel "
                    << c << "," << r;
            }
    }
}

INSTANTIATE_FOR_ALL_DEPTHS(BlockModelTest);

} // namespace
