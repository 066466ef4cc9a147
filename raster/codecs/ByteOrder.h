#pragma once
// Little-endian fields of file headers, read and written byte by byte (headers need not be
// aligned, and the files' byte order is fixed whatever the machine's).

#include <cstdint>

namespace codec_internal {

inline uint32_t get_u16(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8);
}

inline uint32_t get_u32(const uint8_t* p)
{
    return get_u16(p) | (get_u16(p + 2) << 16);
}

inline int32_t get_i32(const uint8_t* p)
{
    return static_cast<int32_t>(get_u32(p));
}

inline void put_u16(uint8_t* p, uint32_t value)
{
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

inline void put_u32(uint8_t* p, uint32_t value)
{
    put_u16(p, value);
    put_u16(p + 2, value >> 16);
}

} // namespace codec_internal
