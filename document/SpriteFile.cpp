// Reading and writing ".spr" files.
//
// Current format (little-endian, no alignment):
//   0  "qmcw95"            6 bytes
//   6  cel count N         int32
//   10 depth               int32 (8, 16, 24 or 32)
//   14 width               int32
//   18 height              int32
//   22 palette             768 bytes of 6-bit red, green, blue; only at depth 8
//   22 or 790  cels        N blocks of FCelBytes bytes
// Legacy format (8-bit only, no magic): int16 count, width, height at 0, 2, 4; palette at 6; cels
// at 774. A legacy file is only recognised when its size is exactly what its header announces,
// because nothing else tells it apart from an arbitrary file. Bytes after the last cel of a current
// file (which the magic identifies) are ignored, as they always were.

#include "document/Spritedata.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kMagic[6] = {'q', 'm', 'c', 'w', '9', '5'};
constexpr std::size_t kCurrentHeaderBytes = 22;
constexpr std::size_t kLegacyHeaderBytes = 6;
constexpr std::size_t kPaletteBytes = 768;

TSpriteFileResult Failed(std::string reason) { return {false, std::move(reason)}; }
TSpriteFileResult Done() { return {true, {}}; }

std::string SystemError(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

std::int32_t ReadInt32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                                   std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24);
}

std::int32_t ReadInt16(const std::uint8_t* p) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | p[1] << 8));
}

void PutInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// 6-bit file components become 8-bit ones; the low 8 bits are kept, so a malformed 64 reads as 3.
std::uint8_t ScaleUp(std::uint8_t stored) { return static_cast<std::uint8_t>(stored * 255 / 63); }

void ReadPalette(const std::uint8_t* p, TSpritePalette& palette) {
  for (auto& entry : palette) {
    entry = {ScaleUp(p[0]), ScaleUp(p[1]), ScaleUp(p[2])};
    p += 3;
  }
}

// Everything the header says, once it has been checked against the file's real size.
struct TSpriteLayout {
  std::int32_t Count = 0;
  std::int32_t Depth = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::size_t PaletteOffset = 0;  // 0 when the file has no palette
  std::size_t CelsOffset = 0;
  std::size_t CelBytes = 0;
};

// Checks the header values; on success fills layout.CelBytes.
std::string CheckHeaderValues(TSpriteLayout& layout) {
  if (layout.Count < 1) return "the file announces " + std::to_string(layout.Count) + " cels";
  const std::int32_t bytesPerPixel = CelBytesPerPixel(layout.Depth);
  if (bytesPerPixel == 0)
    return "the colour depth " + std::to_string(layout.Depth) + " is not 8, 16, 24 or 32 bits";
  if (layout.Width < 1 || layout.Height < 1)
    return "the cel size " + std::to_string(layout.Width) + " x " + std::to_string(layout.Height) +
           " is impossible";
  // Both sizes are below 2^31, so their product fits in 64 bits; times 3 it might not.
  const std::int64_t pixels = std::int64_t{layout.Width} * layout.Height;
  const std::int64_t celBytes = pixels * (pixels > std::numeric_limits<std::int32_t>::max() ? 1 : bytesPerPixel);
  if (celBytes > std::numeric_limits<std::int32_t>::max())
    return "the cel size " + std::to_string(layout.Width) + " x " + std::to_string(layout.Height) +
           " is too large";
  layout.CelBytes = static_cast<std::size_t>(celBytes);
  return {};
}

std::string TruncationReason(const TSpriteLayout& layout, std::size_t fileSize) {
  const std::size_t present =
      fileSize > layout.CelsOffset ? (fileSize - layout.CelsOffset) / layout.CelBytes : 0;
  return "the file is truncated: " + std::to_string(layout.Count) + " cels announced, " +
         std::to_string(present) + " present";
}

bool HoldsAllCels(const TSpriteLayout& layout, std::size_t fileSize) {
  if (fileSize < layout.CelsOffset) return false;
  // Count and CelBytes are both below 2^31, so the product cannot overflow 64 bits.
  return std::uint64_t{static_cast<std::uint32_t>(layout.Count)} * layout.CelBytes <=
         fileSize - layout.CelsOffset;
}

// Works out the layout from the file's first bytes (head) and its real size, or says why the
// file is not a sprite file.
std::string ParseLayout(const std::vector<std::uint8_t>& head, std::size_t fileSize,
                        TSpriteLayout& layout) {
  const std::size_t size = head.size();
  if (size >= sizeof kMagic && std::memcmp(head.data(), kMagic, sizeof kMagic) == 0) {
    if (size < kCurrentHeaderBytes) return "the file is truncated: its header is incomplete";
    layout.Count = ReadInt32(&head[6]);
    layout.Depth = ReadInt32(&head[10]);
    layout.Width = ReadInt32(&head[14]);
    layout.Height = ReadInt32(&head[18]);
    if (std::string bad = CheckHeaderValues(layout); !bad.empty()) return bad;
    layout.PaletteOffset = layout.Depth == 8 ? kCurrentHeaderBytes : 0;
    layout.CelsOffset = kCurrentHeaderBytes + (layout.Depth == 8 ? kPaletteBytes : 0);
    if (!HoldsAllCels(layout, fileSize)) return TruncationReason(layout, fileSize);
    return {};
  }

  const std::string notSprite = "the file is not a sprite file";
  if (size < kLegacyHeaderBytes + kPaletteBytes) return notSprite;
  layout.Count = ReadInt16(&head[0]);
  layout.Width = ReadInt16(&head[2]);
  layout.Height = ReadInt16(&head[4]);
  layout.Depth = 8;
  if (!CheckHeaderValues(layout).empty()) return notSprite;
  layout.PaletteOffset = kLegacyHeaderBytes;
  layout.CelsOffset = kLegacyHeaderBytes + kPaletteBytes;
  if (fileSize != layout.CelsOffset + std::size_t(layout.Count) * layout.CelBytes) return notSprite;
  return {};
}

// A sprite file open for reading. Only the header and the cels the header announces are read,
// and only once the file's size has been found to hold them, so neither a hostile header nor a
// huge unrelated file makes the reader take more memory than the sprite needs.
class TSpriteFileReader {
 public:
  TSpriteFileReader() = default;
  TSpriteFileReader(const TSpriteFileReader&) = delete;
  TSpriteFileReader& operator=(const TSpriteFileReader&) = delete;
  ~TSpriteFileReader() {
    if (fd_ >= 0) ::close(fd_);
  }

  std::string Open(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return SystemError("the file cannot be opened");
    struct stat info {};
    if (::fstat(fd_, &info) != 0) return SystemError("the file cannot be read");
    if (!S_ISREG(info.st_mode)) return "the path is not a regular file";
    size_ = static_cast<std::size_t>(info.st_size);
    return {};
  }

  std::size_t Size() const { return size_; }

  // Reads exactly count bytes at offset; false when they cannot all be read (the file shrank
  // while it was read, or the system failed).
  bool ReadAt(std::size_t offset, std::uint8_t* target, std::size_t count) const {
    while (count > 0) {
      const ssize_t got = ::pread(fd_, target, count, static_cast<off_t>(offset));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;
      offset += static_cast<std::size_t>(got);
      target += got;
      count -= static_cast<std::size_t>(got);
    }
    return true;
  }

 private:
  int fd_ = -1;
  std::size_t size_ = 0;
};

void SplitPath(const std::string& path, std::string& directory, std::string& name) {
  const std::size_t slash = path.find_last_of('/');
  directory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  name = slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::uint8_t> Serialise(const TSpriteUnit& sprite, const TSpritePalette& palette) {
  std::vector<std::uint8_t> out;
  out.reserve(kCurrentHeaderBytes + kPaletteBytes +
              std::size_t(sprite.CelCount()) * std::size_t(sprite.FCelBytes));
  out.insert(out.end(), kMagic, kMagic + sizeof kMagic);
  PutInt32(out, sprite.CelCount());
  PutInt32(out, sprite.FDepth);
  PutInt32(out, sprite.FWidth);
  PutInt32(out, sprite.FHeight);
  if (sprite.FDepth == 8) {
    for (const TPaletteColor& c : palette) {
      out.push_back(static_cast<std::uint8_t>(c.Red >> 2));
      out.push_back(static_cast<std::uint8_t>(c.Green >> 2));
      out.push_back(static_cast<std::uint8_t>(c.Blue >> 2));
    }
  }
  for (const TCelBlock& cel : sprite.FCels) out.insert(out.end(), cel.begin(), cel.end());
  return out;
}

std::string WriteAll(int fd, const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return SystemError("the file cannot be written");
    done += static_cast<std::size_t>(put);
  }
  if (::fsync(fd) != 0) return SystemError("the file cannot be written");
  return {};
}

// Saving over a symbolic link replaces the file it points to, not the link.
std::string ResolveTarget(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_symlink(path, error)) {
    const auto resolved = std::filesystem::canonical(path, error);
    if (!error) return resolved.string();
  }
  return path;
}

// Makes the rename itself durable; a folder that cannot be synced still holds the new file.
void SyncDirectoryOf(const std::string& target) {
  const std::string directory = std::filesystem::path(target).parent_path().string();
  const int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

mode_t NewFileMode(const std::string& target) {
  struct stat info {};
  if (::stat(target.c_str(), &info) == 0) return info.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

TSpriteFileResult LoadSpriteFile(TSpriteUnit& sprite, const std::string& path,
                                 TSpritePalette& palette, bool& hasPalette) {
  std::error_code existsError;
  if (!std::filesystem::exists(path, existsError)) return Failed("the file does not exist");

  TSpriteFileReader file;
  if (std::string error = file.Open(path); !error.empty()) return Failed(error);
  std::vector<std::uint8_t> head(std::min(file.Size(), kCurrentHeaderBytes + kPaletteBytes));
  if (!file.ReadAt(0, head.data(), head.size())) return Failed(SystemError("the file cannot be read"));

  TSpriteLayout layout;
  if (std::string error = ParseLayout(head, file.Size(), layout); !error.empty()) return Failed(error);

  // Build the new cels aside first, so nothing changes if memory runs out or a read fails.
  std::vector<TCelBlock> cels;
  try {
    cels.reserve(static_cast<std::size_t>(layout.Count));
    std::size_t offset = layout.CelsOffset;
    for (std::int32_t i = 0; i < layout.Count; ++i, offset += layout.CelBytes) {
      TCelBlock& cel = cels.emplace_back(layout.CelBytes);
      if (!file.ReadAt(offset, cel.data(), cel.size()))
        return Failed("the file cannot be read: it changed while it was read");
    }
  } catch (const std::bad_alloc&) {
    return Failed("there is not enough memory to hold the sprite");
  }

  sprite.FreeCels();
  SplitPath(path, SpritePath, SpriteName);
  sprite.FDepth = layout.Depth;
  sprite.FWidth = layout.Width;
  sprite.FHeight = layout.Height;
  sprite.FPixelCount = layout.Width * layout.Height;
  sprite.FCelBytes = static_cast<std::int32_t>(layout.CelBytes);
  sprite.FCurrent = 0;
  sprite.FCels = std::move(cels);

  hasPalette = layout.PaletteOffset != 0;
  if (hasPalette) ReadPalette(head.data() + layout.PaletteOffset, palette);
  return Done();
}

TSpriteFileResult SaveSpriteFile(const TSpriteUnit& sprite, const std::string& path,
                                 const TSpritePalette& palette) {
  if (sprite.CelCount() < 1) return Failed("the sprite has no cels");
  std::vector<std::uint8_t> bytes;
  try {
    bytes = Serialise(sprite, palette);
  } catch (const std::bad_alloc&) {
    return Failed("there is not enough memory to save the sprite");
  }

  const std::string target = ResolveTarget(path);
  std::string temporary = target + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return Failed(SystemError("the file cannot be created"));

  std::string error = WriteAll(fd, bytes);
  if (error.empty() && ::fchmod(fd, NewFileMode(target)) != 0)
    error = SystemError("the file cannot be created");
  if (::close(fd) != 0 && error.empty()) error = SystemError("the file cannot be written");
  if (error.empty() && ::rename(temporary.c_str(), target.c_str()) != 0)
    error = SystemError("the file cannot be replaced");
  if (!error.empty()) {
    ::unlink(temporary.c_str());
    return Failed(error);
  }
  SyncDirectoryOf(target);
  return Done();
}
