// The sprite file reader on any bytes. A refused file must leave the document exactly as it was;
// an accepted one must keep the document's invariants and survive a write and a re-read.

#include "FuzzSupport.h"

#include "document/Spritedata.h"

#include <cstdio>
#include <string>

namespace {

bool KeepsInvariants(const TSpriteUnit& sprite) {
  if (sprite.CelCount() < 1 || sprite.FCurrent != 0 || sprite.FWidth < 1 || sprite.FHeight < 1) return false;
  if (sprite.FPixelCount != sprite.FWidth * sprite.FHeight) return false;
  if (sprite.FCelBytes != sprite.FPixelCount * CelBytesPerPixel(sprite.FDepth)) return false;
  for (const TCelBlock& cel : sprite.FCels)
    if (cel.size() != static_cast<std::size_t>(sprite.FCelBytes)) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    using fuzz_support::require;
    const std::string name = fuzz_support::write_input(data, size);

    TSpriteUnit sprite(3, 2, 16);
    sprite.AddCel(TCelBlock(12, 0x5A));
    const std::vector<TCelBlock> cels = sprite.FCels;
    TSpritePalette palette{};
    palette[7] = {1, 2, 3};
    const TSpritePalette paletteBefore = palette;
    bool hasPalette = false;
    SpritePath = "before/";
    SpriteName = "before.spr";

    const TSpriteFileResult result = LoadSpriteFile(sprite, name, palette, hasPalette);
    if (!result) {
        require(!result.Reason.empty(), "a refusal gives a reason");
        require(sprite.FCels == cels && sprite.FWidth == 3 && sprite.FHeight == 2 && sprite.FDepth == 16,
                "a refused file leaves the document as it was");
        require(palette == paletteBefore && !hasPalette, "a refused file hands over no palette");
        require(SpritePath == "before/" && SpriteName == "before.spr", "a refused file keeps the file name");
        return 0;
    }
    require(KeepsInvariants(sprite), "an accepted file gives a sound document");
    require(hasPalette == (sprite.FDepth == 8), "a palette exactly for 8-bit sprites");
    if (size > 4'000'000) return 0;  // the round trip below only adds time for big inputs

    const std::string copy = name + ".spr";
    require(SaveSpriteFile(sprite, copy, palette).Ok, "an accepted sprite can be written");
    TSpriteUnit reread(1, 1, 8);
    TSpritePalette rereadPalette{};
    bool rereadHasPalette = false;
    require(LoadSpriteFile(reread, copy, rereadPalette, rereadHasPalette).Ok, "what was written reads back");
    require(reread.FCels == sprite.FCels && reread.FDepth == sprite.FDepth && reread.FWidth == sprite.FWidth &&
                reread.FHeight == sprite.FHeight,
            "the cels survive the round trip");
    std::remove(copy.c_str());
    return 0;
}
