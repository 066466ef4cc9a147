#pragma once
// Results of the BMP and PCX loaders and writers. 0 means done; every other value names why a
// file was refused or could not be read or written completely. Codes 1 to 4 keep the meanings
// each codec's header gives them; codes 5 and up are shared by both codecs.

#include <cstdint>

enum : int32_t {
    RAS_CODEC_DONE = 0,
    // 1..4: see bmp.h and pcx.h (cannot open or create, not this format, unsupported layout or
    // bit count for this buffer, compressed BMP).

    // A picture row wider than RAS_CODEC_MAX_ROW_PIXELS pixels, or a PCX row whose planes
    // together hold more than 65,536 bytes (what the row buffer takes). Refused before anything
    // changes; also returned by the writers for a rectangle that wide (no file is created).
    RAS_CODEC_TOO_WIDE = 5,
    // The file ends before its last row (or before its header or palette ends). Decoding stopped
    // there: the rows read so far are in place and the rest of the buffer is as it was. The
    // palette steps that follow the rows (an 8-bit buffer's) have not run; a 16-, 24- or 32-bit
    // buffer has the file's colours, installed before the rows so that they could be converted.
    // A file that ends inside its header or colour table changes nothing.
    RAS_CODEC_TRUNCATED = 6,
    // A header field contradicts itself or the format: zero or negative width or height, a
    // header too short to hold its fields, pixel data that starts inside the header, PCX planes of
    // 0 or bytes per line too few for the width. Refused before anything changes.
    RAS_CODEC_BAD_HEADER = 7,
    // A PCX window whose origin lies right of or below the active buffer: no pixel could be
    // placed, so nothing was read or changed.
    RAS_CODEC_OUTSIDE_BUFFER = 8,
    // Writing the file failed (for example, the disk is full). The damaged file is removed.
    RAS_CODEC_WRITE_FAILED = 9,
    // The writers' rectangle is reversed or not inside the active buffer, or the bit count does
    // not suit the buffer's depth. Refused before any file is created.
    RAS_CODEC_BAD_RECTANGLE = 10,
};

// The widest picture the codecs read or write, in pixels per row.
constexpr int32_t RAS_CODEC_MAX_ROW_PIXELS = 16384;

// A sentence saying why the last load or save failed, for a message box ("" after a success).
// The header and palette queries leave it alone. The text is a constant: it stays valid.
const char* ras_codec_failure_reason();
