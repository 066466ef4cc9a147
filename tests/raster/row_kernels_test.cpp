// The row conversions this processor uses give exactly the portable results, for every length
// around the vector widths, and write nothing past the pixels they were given.

#include "raster/RowKernels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using raster_internal::portable_row_kernels;
using raster_internal::row_kernels;

constexpr uint8_t kGuard = 0xA7;
constexpr int32_t kMaxPixels = 70;

std::vector<uint8_t> source_bytes(size_t count)
{
    std::vector<uint8_t> bytes(count);
    uint32_t seed = 12345;
    for (uint8_t& b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<uint8_t>(seed >> 16);
    }
    return bytes;
}

// Runs both forms of one conversion over 0..kMaxPixels pixels into guarded outputs.
template <typename Out, typename Kernel>
void expect_same(Kernel chosen, Kernel portable, int32_t src_bytes, int32_t dst_bytes)
{
    for (int32_t pixels = 0; pixels <= kMaxPixels; ++pixels) {
        // The source is exactly as long as the pixels need, so a read past it shows under ASan.
        const std::vector<uint8_t> src = source_bytes(static_cast<size_t>(pixels * src_bytes));
        const size_t out_bytes = static_cast<size_t>(pixels * dst_bytes);
        std::vector<uint8_t> a(out_bytes + 16, kGuard);
        std::vector<uint8_t> b(out_bytes + 16, kGuard);
        chosen(reinterpret_cast<Out*>(a.data()), src.data(), pixels);
        portable(reinterpret_cast<Out*>(b.data()), src.data(), pixels);
        ASSERT_EQ(a, b) << pixels << " pixels";
        for (size_t i = out_bytes; i < a.size(); ++i)
            ASSERT_EQ(a[i], kGuard) << pixels << " pixels: byte " << i << " written";
    }
}

TEST(RowKernels, MatchThePortableFormsExactly)
{
    const auto& k = row_kernels();
    const auto& p = portable_row_kernels();
    expect_same<uint8_t>(k.bgr_to_bgr0, p.bgr_to_bgr0, 3, 4);
    expect_same<uint8_t>(k.bgr0_to_bgr, p.bgr0_to_bgr, 4, 3);
    expect_same<uint32_t>(k.bgr_to_surface, p.bgr_to_surface, 3, 4);
    expect_same<uint32_t>(k.bgrx_to_surface, p.bgrx_to_surface, 4, 4);
    expect_same<uint32_t>(k.rgb565_to_surface, p.rgb565_to_surface, 2, 4);
}

TEST(RowKernels, WidenEvery565ValueLikeColorToRgb)
{
    std::vector<uint8_t> src(65536 * 2);
    for (uint32_t v = 0; v < 65536; ++v) {
        src[v * 2] = static_cast<uint8_t>(v);
        src[v * 2 + 1] = static_cast<uint8_t>(v >> 8);
    }
    std::vector<uint32_t> out(65536);
    row_kernels().rgb565_to_surface(out.data(), src.data(), 65536);
    for (uint32_t v = 0; v < 65536; ++v) {
        const uint32_t expected = 0xFF000000u | (((v >> 11) * 255 / 31) << 16) |
                                  ((((v >> 5) & 63) * 255 / 63) << 8) | ((v & 31) * 255 / 31);
        ASSERT_EQ(out[v], expected) << std::hex << v;
    }
}

} // namespace
