// Portable and AVX2 forms of the row conversions; see RowKernels.h.

#include "raster/RowKernels.h"

#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define CELWRIGHT_HAVE_AVX2_KERNELS 1
#include <immintrin.h>
#endif

namespace raster_internal {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

void bgr_to_bgr0_portable(uint8_t* dst, const uint8_t* src, int32_t pixels)
{
    for (int32_t i = 0; i < pixels; ++i, dst += 4, src += 3) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
        dst[3] = 0;
    }
}

void bgr0_to_bgr_portable(uint8_t* dst, const uint8_t* src, int32_t pixels)
{
    for (int32_t i = 0; i < pixels; ++i, dst += 3, src += 4) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
    }
}

void bgr_to_surface_portable(uint32_t* dst, const uint8_t* src, int32_t pixels)
{
    for (int32_t i = 0; i < pixels; ++i, src += 3)
        dst[i] = kOpaque | src[0] | (static_cast<uint32_t>(src[1]) << 8) |
                 (static_cast<uint32_t>(src[2]) << 16);
}

void bgrx_to_surface_portable(uint32_t* dst, const uint8_t* src, int32_t pixels)
{
    for (int32_t i = 0; i < pixels; ++i, src += 4) {
        uint32_t v;
        std::memcpy(&v, src, 4);
        dst[i] = kOpaque | v;
    }
}

void rgb565_to_surface_portable(uint32_t* dst, const uint8_t* src, int32_t pixels)
{
    for (int32_t i = 0; i < pixels; ++i, src += 2) {
        const uint32_t v = src[0] | (static_cast<uint32_t>(src[1]) << 8);
        const uint32_t r = (v >> 11) * 255 / 31;
        const uint32_t g = ((v >> 5) & 63) * 255 / 63;
        const uint32_t b = (v & 31) * 255 / 31;
        dst[i] = kOpaque | (r << 16) | (g << 8) | b;
    }
}

#ifdef CELWRIGHT_HAVE_AVX2_KERNELS

// Eight 3-byte pixels as eight 4-byte lanes with the fourth byte 0: the low half comes from
// bytes 0..11, the high half from bytes 12..23 (loaded from byte 8). Reads exactly 24 bytes.
__attribute__((target("avx2"))) inline __m256i load8_bgr(const uint8_t* src)
{
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,
                                            4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1);
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 8));
    return _mm256_shuffle_epi8(_mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1), spread);
}

__attribute__((target("avx2"))) void bgr_to_bgr0_avx2(uint8_t* dst, const uint8_t* src, int32_t pixels)
{
    // Two independent groups per step keep the shuffle unit busy; one alone leaves it waiting.
    int32_t i = 0;
    for (; i + 16 <= pixels; i += 16, src += 48, dst += 64) {
        const __m256i first = load8_bgr(src);
        const __m256i second = load8_bgr(src + 24);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), first);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 32), second);
    }
    for (; i + 8 <= pixels; i += 8, src += 24, dst += 32)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), load8_bgr(src));
    bgr_to_bgr0_portable(dst, src, pixels - i);
}

__attribute__((target("avx2"))) void bgr_to_surface_avx2(uint32_t* dst, const uint8_t* src, int32_t pixels)
{
    const __m256i opaque = _mm256_set1_epi32(static_cast<int32_t>(kOpaque));
    int32_t i = 0;
    for (; i + 8 <= pixels; i += 8, src += 24)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_or_si256(load8_bgr(src), opaque));
    bgr_to_surface_portable(dst + i, src, pixels - i);
}

// Each 16-byte store writes 4 bytes past its 12 useful ones; the loop stops while at least two
// more pixels follow, so those bytes are always rewritten by the next store or the tail.
__attribute__((target("avx2"))) void bgr0_to_bgr_avx2(uint8_t* dst, const uint8_t* src, int32_t pixels)
{
    const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,
                                          0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int32_t i = 0;
    for (; i + 10 <= pixels; i += 8, src += 32, dst += 24) {
        const __m256i packed =
            _mm256_shuffle_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src)), pack);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm256_castsi256_si128(packed));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 12), _mm256_extracti128_si256(packed, 1));
    }
    bgr0_to_bgr_portable(dst, src, pixels - i);
}

__attribute__((target("avx2"))) void bgrx_to_surface_avx2(uint32_t* dst, const uint8_t* src, int32_t pixels)
{
    const __m256i opaque = _mm256_set1_epi32(static_cast<int32_t>(kOpaque));
    int32_t i = 0;
    for (; i + 8 <= pixels; i += 8, src += 32)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i),
                            _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src)), opaque));
    bgrx_to_surface_portable(dst + i, src, pixels - i);
}

// value * 255 / 31 == (value * 1053) >> 7 for 0..31, and value * 255 / 63 == (value * 4145) >> 10
// for 0..63, so the widening needs no division.
__attribute__((target("avx2"))) void rgb565_to_surface_avx2(uint32_t* dst, const uint8_t* src, int32_t pixels)
{
    const __m256i opaque = _mm256_set1_epi32(static_cast<int32_t>(kOpaque));
    const __m256i five = _mm256_set1_epi32(31);
    const __m256i six = _mm256_set1_epi32(63);
    const __m256i scale5 = _mm256_set1_epi32(1053);
    const __m256i scale6 = _mm256_set1_epi32(4145);
    int32_t i = 0;
    for (; i + 8 <= pixels; i += 8, src += 16) {
        const __m256i v = _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src)));
        const __m256i r = _mm256_srli_epi32(_mm256_mullo_epi32(_mm256_srli_epi32(v, 11), scale5), 7);
        const __m256i g = _mm256_srli_epi32(
            _mm256_mullo_epi32(_mm256_and_si256(_mm256_srli_epi32(v, 5), six), scale6), 10);
        const __m256i b = _mm256_srli_epi32(_mm256_mullo_epi32(_mm256_and_si256(v, five), scale5), 7);
        const __m256i rgb = _mm256_or_si256(_mm256_or_si256(_mm256_slli_epi32(r, 16), _mm256_slli_epi32(g, 8)),
                                            _mm256_or_si256(b, opaque));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), rgb);
    }
    rgb565_to_surface_portable(dst + i, src, pixels - i);
}

#endif

constexpr RowKernels kPortable = {bgr_to_bgr0_portable, bgr0_to_bgr_portable, bgr_to_surface_portable,
                                  bgrx_to_surface_portable, rgb565_to_surface_portable};

RowKernels choose_kernels()
{
#ifdef CELWRIGHT_HAVE_AVX2_KERNELS
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2"))
        return {bgr_to_bgr0_avx2, bgr0_to_bgr_avx2, bgr_to_surface_avx2, bgrx_to_surface_avx2,
                rgb565_to_surface_avx2};
#endif
    return kPortable;
}

} // namespace

const RowKernels& row_kernels()
{
    static const RowKernels chosen = choose_kernels();
    return chosen;
}

const RowKernels& portable_row_kernels()
{
    return kPortable;
}

} // namespace raster_internal
