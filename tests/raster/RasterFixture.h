#pragma once
// Shared set-up for the raster engine tests: a fresh engine per test, buffers made and opened in
// one call, the four depths as test parameters, and pictures written out as rows of characters.

#include "raster/RasterState.h"
#include "raster/raster.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

class RasterTest : public ::testing::Test {
protected:
    void SetUp() override { ras_init(); }
    void TearDown() override { ras_shutdown(); }

    // Makes a buffer of the depth and opens it; returns its handle.
    static int32_t open_new_buffer(int32_t depth, int32_t width, int32_t height)
    {
        ras_set_buffer_depth(depth);
        const int32_t handle = ras_alloc_buffer(width, height);
        EXPECT_GE(handle, 0);
        EXPECT_EQ(ras_open_buffer(handle), 0);
        return handle;
    }
};

// A test body run once per buffer depth.
class DepthTest : public RasterTest, public ::testing::WithParamInterface<int32_t> {
protected:
    int32_t depth() const { return GetParam(); }

    // Two distinct native values that use every byte the depth stores.
    int32_t ink() const
    {
        switch (depth()) {
        case 8: return 0xC7;
        case 16: return 0xA5C3;
        case 24: return 0x123456;
        default: return 0x00ABCDEF;
        }
    }
    int32_t paper() const
    {
        switch (depth()) {
        case 8: return 0x3A;
        case 16: return 0x1E2D;
        case 24: return 0xFEDCBA;
        default: return 0x00102030;
        }
    }
};

inline std::string depth_name(const ::testing::TestParamInfo<int32_t>& info)
{
    return "Depth" + std::to_string(info.param);
}

#define INSTANTIATE_FOR_ALL_DEPTHS(suite) \
    INSTANTIATE_TEST_SUITE_P(AllDepths, suite, ::testing::Values(8, 16, 24, 32), depth_name)

// The active buffer's top-left width x height pixels, each shown as the character that legend
// gives its value ('?' for a value not in the legend): legend[i] stands for values[i].
inline std::vector<std::string> picture(int32_t width, int32_t height, const std::string& legend,
                                        const std::vector<int32_t>& values)
{
    std::vector<std::string> rows;
    for (int32_t y = 0; y < height; ++y) {
        std::string row;
        for (int32_t x = 0; x < width; ++x) {
            const int32_t v = ras_get_pixel(x, y);
            char c = '?';
            for (size_t i = 0; i < values.size(); ++i)
                if (values[i] == v)
                    c = legend[i];
            row += c;
        }
        rows.push_back(row);
    }
    return rows;
}

// The whole pixel memory of the active buffer, for "nothing changed" checks.
inline std::vector<uint8_t> buffer_bytes()
{
    const ras_memory_dc* dc = ras_get_memory_dc();
    return std::vector<uint8_t>(dc->pixels, dc->pixels + static_cast<size_t>(dc->bytes_per_line) * dc->height);
}

// Sets entry i of the engine's palette directly, for tests of the conversions that use it.
inline void set_palette_entry(int i, uint8_t r, uint8_t g, uint8_t b)
{
    raster_internal::state.logical[i] = {r, g, b, 1};
    raster_internal::state.colour_table[i] = {b, g, r, 0};
}
