#include "FuzzSupport.h"

#include "raster/codecs/codec_result.h"
#include "raster/raster.h"

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fuzz_support {

const char* write_input(const uint8_t* data, std::size_t size)
{
    static const std::string name = [] {
        struct stat info {};
        const std::string folder = ::stat("/dev/shm", &info) == 0 ? "/dev/shm" : "/tmp";
        return folder + "/celwright-fuzz-" + std::to_string(::getpid());
    }();
    static const bool cleaned_at_exit = [] {
        std::atexit([] {
            std::remove(name.c_str());
            std::remove((name + ".copy").c_str());
        });
        return true;
    }();
    (void)cleaned_at_exit;
    std::FILE* file = std::fopen(name.c_str(), "wb");
    require(file != nullptr, "cannot create the scratch file");
    if (size > 0)
        require(std::fwrite(data, 1, size, file) == size, "cannot write the scratch file");
    std::fclose(file);
    return name.c_str();
}

void start_engine_with_default_palette()
{
    static const bool started = [] {
        ras_init();
        std::atexit([] { ras_shutdown(); });
        return true;
    }();
    (void)started;
    ras_delete_palette(ras_make_default_palette());
}

int32_t make_active_buffer(int32_t depth, int32_t width, int32_t height)
{
    ras_set_buffer_depth(depth);
    const int32_t handle = ras_alloc_buffer(width, height);
    if (handle < 0)
        return -1;
    ras_open_buffer(handle);
    ras_refresh_colors();
    return handle;
}

void release_buffer(int32_t handle)
{
    ras_close_buffer();
    ras_free_buffer(handle);
}

snapshot take_snapshot()
{
    snapshot shot;
    const ras_memory_dc* dc = ras_get_memory_dc();
    if (dc->pixels != nullptr)
        shot.pixels.assign(dc->pixels, dc->pixels + static_cast<std::size_t>(dc->bytes_per_line) * dc->height);
    shot.palette.resize(256 * 3);
    for (int32_t i = 0; i < 256; ++i)
        ras_get_rgb(i, &shot.palette[3 * i], &shot.palette[3 * i + 1], &shot.palette[3 * i + 2]);
    return shot;
}

namespace {

// Writes the active buffer with the codec and reads it back (palette kept) into a new buffer of
// the same size: every pixel must come back.
void check_round_trip(const codec& tested, const char* name, int32_t depth)
{
    const std::string copy = std::string(name) + ".copy";
    const int32_t source = ras_get_active_buffer();
    const snapshot written = take_snapshot();
    require(tested.save_all(copy.c_str()) == 0, "the writer failed");
    const ras_memory_dc* dc = ras_get_memory_dc();
    const int32_t handle = make_active_buffer(depth, dc->width, dc->height);
    require(handle >= 0, "cannot make a buffer");
    require(tested.load(copy.c_str(), 1) == 0, "the loader refused the writer's file");
    require(take_snapshot().pixels == written.pixels, "pixels changed in a round trip");
    ras_open_buffer(source);
    ras_free_buffer(handle);
    std::remove(copy.c_str());
}

} // namespace

void exercise_loader(const codec& tested, const char* name, int32_t width, int32_t height, const int32_t* allowed)
{
    struct buffer_size {
        int32_t width;
        int32_t height;
        bool clipped;
    };
    const buffer_size sizes[2] = {{std::clamp(width, 1, 40), std::clamp(height, 1, 40), false}, {7, 3, true}};
    for (const int32_t depth : {8, 16, 24, 32}) {
        for (const buffer_size& size : sizes) {
            for (const int32_t flags : {0, 1}) {
                start_engine_with_default_palette();
                const int32_t handle = make_active_buffer(depth, size.width, size.height);
                require(handle >= 0, "cannot make a buffer");
                if (size.clipped)
                    ras_set_clip(1, 5, 1, 2);
                const snapshot before = take_snapshot();
                const int32_t result = tested.load(name, flags);
                bool known = false;
                for (const int32_t* code = allowed; *code >= 0; ++code)
                    known = known || *code == result;
                require(known, "unexpected result code");
                require((result == 0) == (ras_codec_failure_reason()[0] == 0), "reason given exactly on failure");
                if (result != 0 && result != RAS_CODEC_TRUNCATED)
                    require(take_snapshot() == before, "a refused file changed the buffer or the palette");
                if (result == 0 && flags == 1)
                    require(take_snapshot().palette == before.palette, "the palette changed although kept");
                if (result == 0)
                    check_round_trip(tested, name, depth);
                release_buffer(handle);
            }
        }
    }
}

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace fuzz_support
