#pragma once
// The raster engine: off-screen pixel buffers addressed by handles 0..31, one active buffer that
// every drawing and transfer call acts on, and the window surface the editor shows.
//
// Every call takes and returns 32-bit integers or pointers; 0 means done. Only buffer allocation,
// buffer opening and the codecs (raster/codecs/) report failures. A call that needs an active
// buffer and finds none does nothing and returns 0. Buffer coordinates: x to the right, y
// downwards, (0, 0) the top-left pixel. Rows are stored bottom-up in memory.
//
// Native pixel value, by the active depth: 8 bits a palette index; 16 bits 5-6-5 (red in the top
// bits); 24 and 32 bits (red << 16) | (green << 8) | blue (a 32-bit pixel also keeps bits 24..31).
//
// Blocks are pixel rectangles in caller memory, rows packed without gaps, the BOTTOM row first.
// Index blocks hold 1 byte per pixel (palette index) at any depth; direct blocks hold the 16-bit
// 5-6-5 value (low byte first) for 16-bit buffers and blue, green, red for 24- and 32-bit buffers.
// A transfer covers the rectangle whose lower-left pixel is the graphics position (x, y): block
// row r, column c is buffer pixel (x + c, y - r). Transfers never change the graphics position.
//
// Memory safety: no call, whatever its arguments, reads or writes outside a buffer's pixel memory
// or outside the width x height pixels of a block the caller passes. Operations that do not clip
// to the clip rectangle are still limited to the buffer; the clip rectangle itself is always
// used as its intersection with the buffer.
//
// The engine is one process-wide state, used from one thread only; it is not re-entrant.

#include <cstdint>

// ---- The window surface -------------------------------------------------------------------

// The image the engine pastes into: 32 bits per pixel, rows top-down, bytes_per_line apart (a
// multiple of 4, at least width * 4; the engine never draws into a surface that breaks this),
// each pixel a uint32_t 0xFFRRGGBB (the layout of QImage::Format_RGB32 and Format_ARGB32). The owner
// keeps the struct alive while the engine holds it and may change its fields between calls (for
// example after a resize). After every paste that changed pixels the engine calls changed (when
// not null) with owner and the changed rectangle: left, top, width, height in surface pixels.
struct ras_surface {
    uint32_t* pixels;
    int32_t width;
    int32_t height;
    int32_t bytes_per_line;
    void (*changed)(void* owner, int32_t left, int32_t top, int32_t width, int32_t height);
    void* owner;
};

// The active buffer seen as a drawing target (what ras_get_memory_dc returns): its pixel memory
// (the bottom row first, rows bytes_per_line apart), stored width, height and depth. It always
// describes the buffer active at the time it is read; with no buffer active pixels is null and
// the sizes are 0.
struct ras_memory_dc {
    uint8_t* pixels;
    int32_t width;
    int32_t height;
    int32_t bytes_per_line;
    int32_t depth;
};

// A palette object: 256 entries of red, green, blue. Made by ras_make_default_palette or
// ras_make_palette, owned by the caller, released with ras_delete_palette.
struct ras_palette;

// ---- Buffers and the active buffer --------------------------------------------------------

// Hands the engine the surface that ras_paste draws into (null: pastes draw nothing). Kept by
// pointer, not copied. Call it first; may be called again at any time (a second window). 0.
int32_t ras_set_window_dc(ras_surface* surface);

// Starts the engine: all 32 slots free (any still allocated are released), no active buffer,
// current colour 0, graphics position (0, 0), allocation depth 8. 0.
int32_t ras_init();

// Stops the engine: no active buffer, every buffer still allocated is released. 0.
int32_t ras_shutdown();

// Depth of the window surface in bits: always 32 (palette-based screens are not supported, so the
// engine always behaves as on a screen deeper than 8 bits).
int32_t ras_display_bits();

// Sets the depth of the next ras_alloc_buffer (8, 16, 24 or 32). Any other value is stored too,
// and the next allocation then fails with -2. 0.
int32_t ras_set_buffer_depth(int32_t depth);

// Creates a buffer of the allocation depth in the lowest free slot: stored width = width rounded
// up to a multiple of 4, pixels zero-filled, clip rectangle the whole buffer. Does not open it.
// Returns the handle 0..31; -1 when no slot is free; -2 when the memory cannot be had (also for
// width or height below 1, an unsupported depth, or a size of 2 GiB or more).
int32_t ras_alloc_buffer(int32_t width, int32_t height);

// Releases a buffer's memory. A handle outside 0..31, a free slot or the ACTIVE buffer is
// ignored (open another buffer or ras_close_buffer first). 0.
int32_t ras_free_buffer(int32_t handle);

// Makes a buffer active: loads its geometry and clip rectangle; an 8-bit buffer receives the
// engine's colour table, for 16, 24 and 32 bits the conversion table is rebuilt from the logical
// palette. Does not touch the graphics position or the current colour. 0; -1 handle outside
// 0..31; -2 slot free (the previously active buffer then stays active).
int32_t ras_open_buffer(int32_t handle);

// No buffer is active afterwards (the buffer stays allocated). 0.
int32_t ras_close_buffer();

// The active handle, or -1.
int32_t ras_get_active_buffer();

// The drawing target standing for the active buffer; the pointer stays valid for the process.
const ras_memory_dc* ras_get_memory_dc();

// Stored width - 1 and height - 1 of the active buffer; -1 with none active.
int32_t ras_max_x();
int32_t ras_max_y();

// Address of the first byte of row y of the active buffer (row 0 is the highest in memory);
// null for y outside the buffer or with no buffer active.
uint8_t* ras_row_address(int32_t y);

// Sets the clip rectangle (inclusive) of the active buffer; it stays with that buffer and comes
// back on every later open. Stored as given; the clipping operations use its intersection with
// the buffer (an empty or inverted rectangle clips everything away). 0.
int32_t ras_set_clip(int32_t left, int32_t right, int32_t top, int32_t bottom);

// Copies columns x1..x2, rows y1..y2 (inclusive) of the active buffer to the window surface so
// that pixel (x1, y2), the rectangle's lower-left, lands on surface point (x, y): the top-left
// goes to (x, y - (y2 - y1)). 8-bit pixels go through the buffer's colour table, 16-bit ones are
// widened from 5-6-5, 32-bit ones lose their fourth byte. Clipped to the buffer and to the
// surface; reports the changed rectangle to the surface's owner. Nothing without an active
// buffer, a surface, or with x1 > x2 or y1 > y2. 0.
int32_t ras_paste(int32_t x1, int32_t x2, int32_t y1, int32_t y2, int32_t x, int32_t y);

// ---- Pixels, colours, lines and rectangles ------------------------------------------------

// Sets the graphics position (may lie outside the buffer). 0.
int32_t ras_move_to(int32_t x, int32_t y);

// Sets the current colour from a native value for the depth of the last opened buffer (8 bits
// after ras_init): 8 bits the low byte (an index), 16 bits the low half, 24/32 bits the value.
// Needs no active buffer. 0.
int32_t ras_set_color(int32_t value);

// Native value of r, g, b (low 8 bits of each used) at the active depth; 0 for 8 bits.
int32_t ras_make_color(int32_t r, int32_t g, int32_t b);

// r, g, b (0..255) of a native value at the active depth; 16 bits scale 5 and 6 bits up with
// dropped remainders (31 and 63 give 255). For 8 bits the outputs are left as they are (use
// ras_get_rgb). Null outputs are skipped. 0.
int32_t ras_color_to_rgb(int32_t value, int32_t* r, int32_t* g, int32_t* b);

// Writes the current colour at (x, y) if it lies inside the clip rectangle. 0.
int32_t ras_point(int32_t x, int32_t y);

// The native value at (x, y) (32 bits: the whole word); 0 outside the buffer or with none active.
int32_t ras_get_pixel(int32_t x, int32_t y);

// Line in the current colour from the graphics position to (x, y), both ends included, clipped
// to the clip rectangle; afterwards the graphics position is (x, y) even if nothing was drawn. 0.
int32_t ras_draw_to(int32_t x, int32_t y);

// Fills x1..x2, y1..y2 (inclusive) with the current colour; ignores the clip rectangle but is
// limited to the buffer. Nothing when x1 > x2 or y1 > y2. 0.
int32_t ras_rect(int32_t x1, int32_t x2, int32_t y1, int32_t y2);

// Sets every byte of the active buffer's pixel memory to 0. 0.
int32_t ras_erase();

// Sets every pixel of the active buffer, the padding columns included, to the current colour. 0.
int32_t ras_fill_buffer();

// ---- Image blocks -------------------------------------------------------------------------

// Bytes of a width x height block at the depth of the last opened buffer: 1, 2, 3, 3 bytes per
// pixel for 8, 16, 24, 32 bits (an index block at 8 bits, a direct block otherwise). Needs no
// active buffer. 0 for a negative size or one that does not fit in int32_t.
int32_t ras_block_size(int32_t width, int32_t height);

// Direct block from the active buffer (32 bits: blue, green, red, the fourth byte dropped).
// Nothing on an 8-bit buffer. Block pixels outside the buffer are left as they are. 0.
int32_t ras_get_block(uint8_t* block, int32_t width, int32_t height);

// Index block from the active buffer. 16/24/32 bits: each pixel becomes the lowest index whose
// conversion-table entry equals it (32 bits: all four bytes), or 0 when none does. Block pixels
// outside the buffer are left as they are. 0.
int32_t ras_get_block8(uint8_t* block, int32_t width, int32_t height);

// Direct block into the active buffer, every pixel written (32 bits: fourth byte 0). Nothing on
// an 8-bit buffer. Parts outside the buffer are dropped. 0.
int32_t ras_put_block(const uint8_t* block, int32_t width, int32_t height);

// Index block into the active buffer, every pixel written; 16/24/32 bits through the conversion
// table. Parts outside the buffer are dropped. 0.
int32_t ras_put_block8(const uint8_t* block, int32_t width, int32_t height);

// As ras_put_block, clipped to the clip rectangle, and source pixels of value 0 (a 16-bit 0 or
// three zero bytes) leave the buffer unchanged. Nothing on an 8-bit buffer. 0.
int32_t ras_put_block_clip(const uint8_t* block, int32_t width, int32_t height);

// As ras_put_block8, clipped to the clip rectangle, and index 0 leaves the buffer unchanged. 0.
int32_t ras_put_block8_clip(const uint8_t* block, int32_t width, int32_t height);

// ---- Span fill ----------------------------------------------------------------------------

// Recolours with the current colour, starting at (x, y) whose native value is seed: up and then
// down the column x while pixels match seed, and in each such row the horizontal run of seed
// pixels that contains column x (drawn with ras_move_to / ras_draw_to, so clipped). Not a flood
// fill: regions reached only through other columns stay. Nothing if (x, y) is outside the buffer.
void ras_span_fill(int32_t x, int32_t y, int32_t seed);

// ---- Mirrored puts and flips --------------------------------------------------------------

// As ras_put_block_clip with every row reversed: block row r, column c goes to buffer pixel
// (x + width - 1 - c, y - r). Clipped, value 0 skipped, nothing on an 8-bit buffer. 0.
int32_t ras_put_block_mirror(const uint8_t* block, int32_t width, int32_t height);

// As ras_put_block8_clip with every row reversed (see ras_put_block_mirror). 0.
int32_t ras_put_block8_mirror(const uint8_t* block, int32_t width, int32_t height);

// Turns a direct block upside down in place (row r swaps with row height - 1 - r): 3 bytes per
// pixel when the last opened buffer is 24- or 32-bit, otherwise 2. Needs no active buffer; a null
// block, a height below 2 or a width below 1 changes nothing. 0.
int32_t ras_flip_block(uint8_t* block, int32_t width, int32_t height);

// Turns an index block (1 byte per pixel) upside down in place. 0.
int32_t ras_flip_block8(uint8_t* block, int32_t width, int32_t height);

// ---- Palettes -----------------------------------------------------------------------------

// Fills the engine's logical palette with the 256 default colours, rebuilds the colour table and
// returns a new palette object holding them (owned by the caller).
ras_palette* ras_make_default_palette();

// Standard static colours into entries 0..9 and 246..255, rgb (count triples red, green, blue)
// into entries first .. first + count - 1, and, when count < 236, black into the next
// 236 - count entries; rebuilds the colour table (not the conversion table) and returns a new
// palette object (owned by the caller; null when memory runs out). Entries outside 0..255 are
// never written, and the triples for them are never read; a null rgb gives no colours (count 0).
ras_palette* ras_make_palette(int32_t first, int32_t count, const uint8_t* rgb);

// Releases a palette object (null is ignored). If it is the current palette, there is none after.
void ras_delete_palette(ras_palette* palette);

// Makes the palette the current one. The tables stay as they are. 0.
int32_t ras_realize_palette(ras_palette* palette);

// Only with an active buffer and count > 0: entries first .. first + count - 1 of the logical
// palette, the colour table and the current palette object become the rgb triples; an active
// 8-bit buffer receives the colour table; an active 16/24/32-bit buffer gets those conversion
// entries patched. Entries outside 0..255 are never written; a null rgb does nothing. 0.
int32_t ras_animate_palette(int32_t first, int32_t count, const uint8_t* rgb);

// Red, green and blue of logical palette entry index (outputs untouched for an index outside
// 0..255; null outputs skipped). 0.
int32_t ras_get_rgb(int32_t index, int32_t* r, int32_t* g, int32_t* b);

// An active 8-bit buffer receives the engine's colour table; otherwise nothing. 0.
int32_t ras_refresh_colors();

// ---- Colour reduction ---------------------------------------------------------------------

// For an active 8-bit buffer: merges the closest colours used inside the clip rectangle until at
// most n remain, packs them in order of their old indices, moves them to offset .. offset + n - 1
// of palette (256 entries red, green, blue, rewritten in place; the rest black) and renumbers
// the pixels. Nothing with another depth, no active buffer, a null palette, offset < 0, n < 1 or
// offset + n > 256. 0.
int32_t ras_reduce_colors(int32_t offset, int32_t n, uint8_t* palette);
