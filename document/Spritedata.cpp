#include "document/Spritedata.h"

#include <limits>
#include <stdexcept>
#include <utility>

std::string SpritePath;
std::string SpriteName;
const std::string ProductTitle = "Quillmoor Celwright 95";

std::int32_t CelBytesPerPixel(std::int32_t depth) {
  switch (depth) {
    case 8: return 1;
    case 16: return 2;
    case 24: return 3;
    case 32: return 3;
    default: return 0;
  }
}

TSpriteUnit::TSpriteUnit(std::int32_t width, std::int32_t height, std::int32_t depth)
    : FWidth(width), FHeight(height), FDepth(depth), FPixelCount(0), FCelBytes(0) {
  const std::int32_t bytesPerPixel = CelBytesPerPixel(depth);
  if (bytesPerPixel == 0) throw std::invalid_argument("sprite depth must be 8, 16, 24 or 32");
  if (width < 1 || height < 1) throw std::invalid_argument("sprite width and height must be at least 1");
  const std::int64_t pixels = std::int64_t{width} * height;
  if (pixels > std::numeric_limits<std::int32_t>::max() ||
      pixels * bytesPerPixel > std::numeric_limits<std::int32_t>::max())
    throw std::invalid_argument("sprite cel is too large");
  FPixelCount = static_cast<std::int32_t>(pixels);
  FCelBytes = static_cast<std::int32_t>(pixels * bytesPerPixel);
}

TCelBlock TSpriteUnit::NewCelBlock() const { return TCelBlock(static_cast<std::size_t>(FCelBytes), 0); }

void TSpriteUnit::CheckBlockSize(const TCelBlock& block) const {
  if (block.size() != static_cast<std::size_t>(FCelBytes))
    throw std::invalid_argument("cel block size does not match the sprite");
}

std::int32_t TSpriteUnit::AddCel(TCelBlock block) {
  CheckBlockSize(block);
  FCels.push_back(std::move(block));
  FCurrent = CelCount() - 1;
  return FCurrent;
}

void TSpriteUnit::InsertCel(TCelBlock block) {
  CheckBlockSize(block);
  if (FCurrent < 0 || FCurrent > CelCount()) throw std::out_of_range("cel index out of range");
  FCels.insert(FCels.begin() + FCurrent, std::move(block));
}

void TSpriteUnit::DeleteCel(std::int32_t index) {
  if (CelCount() == 1) return;
  if (index < 0 || index >= CelCount()) throw std::out_of_range("cel index out of range");
  FCels.erase(FCels.begin() + index);
  if (FCurrent > CelCount() - 1) FCurrent = CelCount() - 1;
}

void TSpriteUnit::FreeCels() { FCels.clear(); }

std::uint8_t* TSpriteUnit::CurrentCel() { return GetCel(FCurrent); }

std::uint8_t* TSpriteUnit::GetCel(std::int32_t index) {
  return const_cast<std::uint8_t*>(std::as_const(*this).GetCel(index));
}

const std::uint8_t* TSpriteUnit::GetCel(std::int32_t index) const {
  if (index < 0 || index >= CelCount()) throw std::out_of_range("cel index out of range");
  return FCels[static_cast<std::size_t>(index)].data();
}

std::int32_t TSpriteUnit::CelCount() const { return static_cast<std::int32_t>(FCels.size()); }
