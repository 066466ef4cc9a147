#pragma once
// Helpers shared by the fuzz targets: the codecs read files by name, so every input is written
// to a scratch file first; and a snapshot of the active buffer and the palette, to check that a
// refused file changed neither.

#include <array>
#include <cstddef>
#include <cstring>
#include <cstdint>
#include <vector>

namespace fuzz_support {

// Writes data to this process's scratch file (in /dev/shm when it exists) and returns its name.
const char* write_input(const uint8_t* data, std::size_t size);

// The input's first N bytes, zero-padded when it is shorter: a header the queries can read.
template <std::size_t N>
std::array<uint8_t, N> padded_prefix(const uint8_t* data, std::size_t size)
{
    std::array<uint8_t, N> head{};
    if (size > 0)
        std::memcpy(head.data(), data, size < N ? size : N);
    return head;
}

// The engine started once, with the default palette restored before every input so that inputs
// do not influence one another.
void start_engine_with_default_palette();

// A buffer of the given depth and size, made active; -1 if it cannot be made.
int32_t make_active_buffer(int32_t depth, int32_t width, int32_t height);
// Makes no buffer active and releases handle.
void release_buffer(int32_t handle);

struct snapshot {
    std::vector<uint8_t> pixels;  // the active buffer's pixel memory
    std::vector<int32_t> palette; // r, g, b of the 256 logical palette entries
    bool operator==(const snapshot&) const = default;
};
snapshot take_snapshot();

// The codec under test: its loader, and a writer that stores the whole active buffer in the
// same format (as 8 or 24 bits per pixel).
struct codec {
    int32_t (*load)(const char* name, int32_t flags);
    int32_t (*save_all)(const char* name);
};

// Loads the file named name into buffers of every depth (one of width x height, one small one
// with a clip rectangle), with and without keeping the palette, and checks the results: a known
// code, a reason exactly when it failed, nothing changed when the file was refused, and whatever
// was read survives a round trip through the writer and the loader unchanged. allowed lists the
// codes the loader may return, ending with -1.
void exercise_loader(const codec& tested, const char* name, int32_t width, int32_t height, const int32_t* allowed);

// Aborts with a message when condition is false (an invariant the fuzzer should report).
void require(bool condition, const char* what);

} // namespace fuzz_support
