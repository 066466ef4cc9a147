#pragma once
// The engine's file state, shared by the BMP and PCX codecs: one open file, the 4,096-byte I/O
// buffer every byte of it passes through, the row buffer for one row in transit and the scratch
// palette of triples taken from a file. It exists once and is reused by every call, so a codec
// call never allocates; the codecs are not re-entrant.
//
// Small reads and writes go through the I/O buffer in blocks of at most 4,096 bytes; a request of
// a block or more (the BMP codec's batches of rows) goes to the file in one call.
//
// Reading stops quietly at the end of the file or at a read error: the read functions then
// deliver fewer bytes than asked and at_end() becomes true. Writing keeps going after a failed
// write but remembers it, so that close_file() can report it.

#include "raster/codecs/codec_result.h"

#include <cstddef>
#include <cstdint>

namespace codec_internal {

// The widest picture row the codecs accept, in pixels.
constexpr int32_t kMaxRowPixels = RAS_CODEC_MAX_ROW_PIXELS;
constexpr std::size_t kIoBufferBytes = 4096;
// Room for the widest accepted row at the largest number of bytes per pixel a row can take in
// transit (4 for a 32-bit buffer row; 3 planes of 16,384 bytes for a 24-bit PCX).
constexpr std::size_t kRowBufferBytes = static_cast<std::size_t>(kMaxRowPixels) * 4;
constexpr std::size_t kPaletteBytes = 768;

struct file_state {
    int fd = -1;
    bool at_end = false;       // reading reached the end of the file or failed
    bool write_failed = false; // a write of this file failed
    std::size_t io_next = 0;   // reading: next unread byte of io; writing: bytes waiting in io
    std::size_t io_count = 0;  // reading: bytes held in io
    uint8_t io[kIoBufferBytes];
    uint8_t row[kRowBufferBytes];
    uint8_t palette[kPaletteBytes]; // 256 triples red, green, blue
};

extern file_state files;

// Opens name for reading (others may read too). False if it cannot be opened or is not a
// regular file.
bool open_for_reading(const char* name);
// Creates name for writing, replacing an existing file. False if it cannot be created.
bool create_for_writing(const char* name);
// Writes out what waits in the I/O buffer (for a written file) and closes. Returns false if any
// write of the file failed. Does nothing when no file is open.
bool close_file();
// Closes the written file and removes it if it is a regular file: used when writing failed, so no
// damaged picture stays behind.
void discard_written_file(const char* name);

// Size of the open file in bytes; -1 if unknown.
int64_t file_size();
// Moves the read position to offset (counted from the start of the file). False if that fails.
bool seek_to(int64_t offset);
// Copies up to count bytes into out; returns how many arrived.
std::size_t read_bytes(uint8_t* out, std::size_t count);
// Passes over count bytes; false if the file ended first.
bool skip_bytes(int64_t count);
// Refills the I/O buffer with the next block; false when nothing more arrives.
bool refill();

// The next byte, or -1 at the end of the file.
inline int32_t read_byte()
{
    if (files.io_next == files.io_count && !refill())
        return -1;
    return files.io[files.io_next++];
}

// Queues bytes for writing; full blocks go out as they fill.
void write_bytes(const uint8_t* data, std::size_t count);
// Writes out the waiting bytes now.
void flush_writes();

// Records why the call now ending failed (reason: a fixed sentence) and returns code; with
// RAS_CODEC_DONE (0) the reason is cleared.
int32_t finish(int32_t code, const char* reason = "");

// Closes the open file when the scope ends, on every return path.
class file_closer {
 public:
    file_closer() = default;
    file_closer(const file_closer&) = delete;
    file_closer& operator=(const file_closer&) = delete;
    ~file_closer() { close_file(); }
};

} // namespace codec_internal
