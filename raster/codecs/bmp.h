#pragma once
// Reading and writing Windows device-independent bitmap files (BMP), uncompressed, 1, 4, 8 and
// 24 bits per pixel, with the core (12-byte) or any info header. The loader reads into the active
// buffer and the writer stores a rectangle of it. File names are paths in the system's 8-bit
// character set. The calls share the engine's one file state: not re-entrant.
//
// Results of ras_load_bmp and ras_save_bmp are those below and the shared codes of
// codec_result.h (5 and up); ras_codec_failure_reason() gives a sentence for the last failure.

#include "raster/codecs/codec_result.h"

#include <cstdint>

// Results specific to BMP files.
enum : int32_t {
    RAS_BMP_CANNOT_OPEN = 1,     // load: the file cannot be opened. save: no active buffer, a
                                 // bit count other than 1, 4, 8, 24, or the file cannot be created
    RAS_BMP_NOT_BMP = 2,         // the file does not begin with "BM"
    RAS_BMP_UNSUPPORTED = 3,     // bit count 16 or 32, or 24 for an 8-bit buffer
    RAS_BMP_COMPRESSED = 4,      // the compression field's low byte is not 0
};

// Flags of ras_load_bmp.
enum : int32_t {
    RAS_BMP_KEEP_PALETTE = 1, // leave the palette alone: the file's colours are skipped
};

// Reads the first 54 bytes of the file into header. 0 when all 54 arrived and they begin with
// "BM"; -1 when the file cannot be opened; -2 for fewer than 54 bytes, a read error or no "BM".
int32_t ras_bmp_header(const char* name, uint8_t* header);

// Width and height from the 54 header bytes: the 16-bit fields of a core header (header size
// 12), otherwise the signed 32-bit fields. A top-down picture (negative height) reports its
// height as a positive number of rows, so that a buffer of that size can be made for it; the
// one value without a positive counterpart, -2^31, is reported as stored. Bytes not beginning
// with "BM" give -1 for both. Always 0.
int32_t ras_bmp_dimensions(const uint8_t* header, int32_t* width, int32_t* height);

// The file's colour table as up to 256 triples red, green, blue into rgb (768 bytes). Returns the
// number of entries delivered (0: no colour table); -1 when the file cannot be opened; -2 for a
// short or damaged header, no "BM", or a colour table the file ends before.
int32_t ras_bmp_palette(const char* name, uint8_t* rgb);

// Places the picture with its top-left pixel at (0, 0) of the active buffer; columns and rows
// beyond the buffer are not stored. Rows may be stored bottom-up (positive height) or top-down.
// For an 8-bit buffer, 1- and 4-bit pictures become indices 10 and up and their colours entries
// 10 and up of the palette; an 8-bit picture's colours are fitted into entries 10..245 with
// ras_reduce_colors (every pixel of the buffer inside its clip rectangle is renumbered). For a
// 16-, 24- or 32-bit buffer an indexed picture's colours are installed in the palette first
// (at entry 10 for 1 and 4 bits, at 0 for 8 bits) and the pixels converted through them. Every
// refusal happens before a pixel or palette entry changes.
// 0 done (also with no active buffer: nothing is read); RAS_BMP_* and RAS_CODEC_* otherwise.
int32_t ras_load_bmp(const char* name, int32_t flags);

// Writes columns x1..x2, rows y1..y2 (inclusive) of the active buffer with bits 1, 4 or 8 from an
// 8-bit buffer or 24 from a 16-, 24- or 32-bit one; a file that exists is replaced. 1 and 4 bits
// store the lowest bit and (index - 10) mod 16 of each index, with colour table entries 10..11
// and 10..25; 8 bits store the indices with all 256 entries. 0 written; RAS_BMP_CANNOT_OPEN,
// RAS_CODEC_BAD_RECTANGLE, RAS_CODEC_TOO_WIDE (no file is created for any of these) or
// RAS_CODEC_WRITE_FAILED.
int32_t ras_save_bmp(int32_t x1, int32_t x2, int32_t y1, int32_t y2, int32_t bits, const char* name);
