#pragma once
// The in-memory sprite: its size, colour depth, the ordered list of its cels and which cel is
// current, plus the identity of the current sprite file.
//
// A cel is a block of FCelBytes bytes in the raster engine's image-block layout: rows from the
// bottom row of the cel up, FWidth pixels each with nothing between rows; 1 byte per pixel at depth
// 8 (palette index), 2 at depth 16 (little-endian 5-6-5), 3 at depths 24 and 32 (blue, green, red).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One cel's pixel bytes. The document owns every block it holds; a pointer obtained from GetCel or
// CurrentCel stays valid until that cel is deleted or the cels are freed, whatever else is added.
using TCelBlock = std::vector<std::uint8_t>;

// One palette entry with 8 bits per component.
struct TPaletteColor {
  std::uint8_t Red = 0;
  std::uint8_t Green = 0;
  std::uint8_t Blue = 0;
  friend bool operator==(const TPaletteColor&, const TPaletteColor&) = default;
};
using TSpritePalette = std::array<TPaletteColor, 256>;

// Bytes one pixel takes in a cel block at the given depth: 1, 2, 3 and 3 at depths 8, 16, 24 and
// 32 (a 32-bit cel keeps only blue, green and red). 0 for any other depth.
std::int32_t CelBytesPerPixel(std::int32_t depth);

class TSpriteUnit {
 public:
  // Throws std::invalid_argument unless width and height are at least 1, depth is 8, 16, 24 or 32
  // and one cel's size fits in 32 bits.
  TSpriteUnit(std::int32_t width, std::int32_t height, std::int32_t depth);

  std::int32_t FWidth;
  std::int32_t FHeight;
  std::int32_t FDepth;
  std::int32_t FPixelCount;  // FWidth * FHeight
  std::int32_t FCelBytes;    // size of one cel block
  std::int32_t FCurrent = 0; // index of the current cel; commands set it directly
  std::vector<TCelBlock> FCels;

  // A zero-filled block of FCelBytes bytes, ready to be added.
  TCelBlock NewCelBlock() const;

  // Appends the block; its index becomes FCurrent and is returned.
  // The block must hold exactly FCelBytes bytes (std::invalid_argument otherwise).
  std::int32_t AddCel(TCelBlock block);
  // Inserts the block at FCurrent, moving the cels from there on up by one; FCurrent is unchanged
  // and so names the inserted cel. Same size rule as AddCel.
  void InsertCel(TCelBlock block);
  // Removes the cel at index unless it is the only one; keeps FCurrent inside the list.
  void DeleteCel(std::int32_t index);
  // Releases every cel; FCurrent is left as it was.
  void FreeCels();

  // The block at FCurrent / at index. An index outside 0..CelCount()-1 throws std::out_of_range.
  std::uint8_t* CurrentCel();
  std::uint8_t* GetCel(std::int32_t index);
  const std::uint8_t* GetCel(std::int32_t index) const;
  std::int32_t CelCount() const;

 private:
  void CheckBlockSize(const TCelBlock& block) const;
};

// The current sprite file: SpritePath + SpriteName + ".spr" is the path Save writes to.
extern std::string SpritePath;  // directory, ending with "/" (empty for the working directory)
extern std::string SpriteName;  // file name; the document commands cut it before its first "."
extern const std::string ProductTitle;

// Outcome of reading or writing a sprite file: true when done, otherwise false with a reason a
// user can read ("the file is truncated: 3 cels announced, 1 present").
struct TSpriteFileResult {
  bool Ok = false;
  std::string Reason;
  explicit operator bool() const { return Ok; }
};

// Reads a ".spr" file (the current format, or the legacy headerless 8-bit format) into sprite.
// Everything is checked before anything changes: on failure the document, SpritePath, SpriteName
// and palette are exactly as they were. On success the cels are replaced, FCurrent is 0, SpritePath
// and SpriteName name the file, and for an 8-bit sprite the palette, scaled to 8 bits, is handed
// over with hasPalette true (false at the other depths, palette untouched).
TSpriteFileResult LoadSpriteFile(TSpriteUnit& sprite, const std::string& path,
                                 TSpritePalette& palette, bool& hasPalette);

// Writes sprite in the current format, with palette at depth 8. The file is written beside the
// target under a temporary name, flushed to disk and then renamed over the target, so a failure
// (cannot create, short write, disk full) leaves any previous file whole.
TSpriteFileResult SaveSpriteFile(const TSpriteUnit& sprite, const std::string& path,
                                 const TSpritePalette& palette);
