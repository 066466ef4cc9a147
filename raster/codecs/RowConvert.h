#pragma once
// Turning one picture row into one buffer row. A picture format supplies a source (how to find
// the index or the colour of column x in its row as read from the file); the buffer depth
// supplies a sink (how a pixel is stored). A codec picks the pair's converter once per file from
// the tables below, so the per-pixel loop holds no decisions.

#include <cstdint>
#include <cstring>

namespace codec_internal {

// One row to convert.
struct row_job {
    const uint8_t* src = nullptr; // the picture row as read (all planes of a PCX row)
    int32_t plane_bytes = 0;      // PCX: bytes of one plane; plane k starts at k * plane_bytes
    uint8_t* dst = nullptr;       // first pixel of the buffer row
    int32_t count = 0;            // pixels to convert
    const uint32_t* conversion = nullptr; // index -> native value of the active 16/24/32-bit buffer
    uint8_t index_add = 0;        // added to every index of a 1- or 4-bit picture
};

using row_converter = void (*)(const row_job&);

struct rgb {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// Sinks. Index sinks store a palette index (8 bits) or its conversion-table value; colour sinks
// store a colour directly.
struct sink8 {
    static void put(const row_job& job, int32_t x, uint8_t index) { job.dst[x] = index; }
};

struct sink16 {
    static void put16(const row_job& job, int32_t x, uint32_t value)
    {
        job.dst[2 * x] = static_cast<uint8_t>(value);
        job.dst[2 * x + 1] = static_cast<uint8_t>(value >> 8);
    }
    static void put(const row_job& job, int32_t x, uint8_t index) { put16(job, x, job.conversion[index]); }
    static void put(const row_job& job, int32_t x, rgb c)
    {
        put16(job, x, (static_cast<uint32_t>(c.red & 0xF8) << 8) | (static_cast<uint32_t>(c.green >> 2) << 5) |
                          static_cast<uint32_t>(c.blue >> 3));
    }
};

struct sink24 {
    static void put(const row_job& job, int32_t x, uint8_t index)
    {
        const uint32_t value = job.conversion[index];
        uint8_t* p = job.dst + 3 * x;
        p[0] = static_cast<uint8_t>(value);
        p[1] = static_cast<uint8_t>(value >> 8);
        p[2] = static_cast<uint8_t>(value >> 16);
    }
    static void put(const row_job& job, int32_t x, rgb c)
    {
        uint8_t* p = job.dst + 3 * x;
        p[0] = c.blue;
        p[1] = c.green;
        p[2] = c.red;
    }
};

// A 32-bit pixel from an index or a PCX colour gets a fourth byte of 0.
struct sink32 {
    static void put(const row_job& job, int32_t x, uint8_t index)
    {
        const uint32_t value = job.conversion[index] & 0xFFFFFFu;
        uint8_t* p = job.dst + 4 * x;
        p[0] = static_cast<uint8_t>(value);
        p[1] = static_cast<uint8_t>(value >> 8);
        p[2] = static_cast<uint8_t>(value >> 16);
        p[3] = 0;
    }
    static void put(const row_job& job, int32_t x, rgb c)
    {
        uint8_t* p = job.dst + 4 * x;
        p[0] = c.blue;
        p[1] = c.green;
        p[2] = c.red;
        p[3] = 0;
    }
};

// A 32-bit pixel from a BMP colour keeps its fourth byte.
struct sink32_keep_fourth {
    static void put(const row_job& job, int32_t x, rgb c)
    {
        uint8_t* p = job.dst + 4 * x;
        p[0] = c.blue;
        p[1] = c.green;
        p[2] = c.red;
    }
};

template <class Source, class Sink>
void convert_row(const row_job& job)
{
    for (int32_t x = 0; x < job.count; ++x)
        Sink::put(job, x, Source::at(job, x));
}

// Converters for an indexed source, by depth index (8, 16, 24, 32 bits).
template <class Source>
constexpr row_converter kIndexedConverters[4] = {
    convert_row<Source, sink8>,
    convert_row<Source, sink16>,
    convert_row<Source, sink24>,
    convert_row<Source, sink32>,
};

// One byte per pixel copied as it stands: the 8-bit picture into an 8-bit buffer.
inline void copy_indices(const row_job& job)
{
    std::memcpy(job.dst, job.src, static_cast<std::size_t>(job.count));
}

} // namespace codec_internal
