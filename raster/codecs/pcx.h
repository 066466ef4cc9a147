#pragma once
// Reading and writing PCX picture files (run-length encoded, 128-byte header): 2 colours,
// 16 colours in 4 bit planes, 256 colours with the palette block at the end of the file, and
// 24 bits in 3 planes. The loader reads into the active buffer and the writer stores a rectangle
// of it. File names are paths in the system's 8-bit character set. The calls share the engine's
// one file state: not re-entrant.
//
// Results of ras_load_pcx and ras_save_pcx are those below and the shared codes of
// codec_result.h (5 and up); ras_codec_failure_reason() gives a sentence for the last failure.

#include "raster/codecs/codec_result.h"

#include <cstdint>

// Results specific to PCX files.
enum : int32_t {
    RAS_PCX_CANNOT_OPEN = 1, // load: the file cannot be opened. save: no active buffer, or the
                             // file cannot be created
    RAS_PCX_NOT_PCX = 2,     // fewer than 128 header bytes, or byte 0 is not 10
    RAS_PCX_UNSUPPORTED = 3, // a layout the loader does not read, or 3 planes for an 8-bit buffer
};

// Flags of ras_load_pcx.
enum : int32_t {
    RAS_PCX_KEEP_PALETTE = 1, // leave the palette alone
};

// Reads the first 128 bytes of the file into header. 0 when all arrived and byte 0 is 10; -1 when
// the file cannot be opened; -2 for fewer than 128 bytes, a read error or byte 0 not 10.
int32_t ras_pcx_header(const char* name, uint8_t* header);

// The window fields (unsigned 16-bit) of the 128 header bytes; -1 in all four when byte 0 is not
// 10. The picture is xmax - xmin + 1 by ymax - ymin + 1 pixels. Always 0.
int32_t ras_pcx_window(const uint8_t* header, int32_t* xmin, int32_t* xmax, int32_t* ymin, int32_t* ymax);

// The file's palette as triples red, green, blue into rgb (768 bytes; entries not delivered are
// set to black). Returns 256 (the palette block at the end of a version 5 file), 16 (the header's
// triples: version below 5, 4 planes, or no marked palette block), 0 for a 3-plane picture; -1
// when the file cannot be opened; -2 for a short header or byte 0 not 10.
int32_t ras_pcx_palette(const char* name, uint8_t* rgb);

// Places the picture with its top-left pixel at (xmin, ymin) of the active buffer; rows and
// columns beyond the buffer are not stored. With an 8-bit buffer 2- and 16-colour pictures become
// indices 10 and up and 256-colour ones are copied as they are; with a 16-, 24- or 32-bit buffer
// indices convert through the palette and 24-bit pictures are stored directly. Unless flags keeps
// the palette: a direct-colour buffer takes the file's palette from entry 0 before decoding; an
// 8-bit buffer afterwards takes a 2- or 16-colour picture's first 16 triples at entries 10..25,
// and has a 256-colour picture's colours fitted into 10..245 with ras_reduce_colors. Every
// refusal happens before a pixel or palette entry changes.
// 0 done (also with no active buffer: nothing is read); RAS_PCX_* and RAS_CODEC_* otherwise.
int32_t ras_load_pcx(const char* name, int32_t flags);

// Writes columns x1..x2, rows y1..y2 (inclusive) of the active buffer; a file that exists is
// replaced. An 8-bit buffer gives a 256-colour picture followed by the logical palette, a 16-,
// 24- or 32-bit buffer a 3-plane picture. The window fields hold the rectangle's own coordinates.
// 0 written; RAS_PCX_CANNOT_OPEN, RAS_CODEC_BAD_RECTANGLE (also for coordinates beyond 65535),
// RAS_CODEC_TOO_WIDE (no file is created for any of these) or RAS_CODEC_WRITE_FAILED.
int32_t ras_save_pcx(int32_t x1, int32_t x2, int32_t y1, int32_t y2, const char* name);
