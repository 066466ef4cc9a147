// The codecs' shared file state over POSIX file calls.

#include "raster/codecs/FileState.h"
#include "raster/codecs/codec_result.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace codec_internal {

file_state files;

namespace {

bool writing = false;
const char* failure_reason = "";

void reset_buffer()
{
    files.io_next = 0;
    files.io_count = 0;
    files.at_end = false;
}

// Reads until count bytes arrived, the file ended or a read failed (an interrupted read is
// repeated).
std::size_t read_fully(uint8_t* out, std::size_t count)
{
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n = ::read(files.fd, out + got, count - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

void write_fully(const uint8_t* data, std::size_t count)
{
    while (count > 0 && !files.write_failed) {
        const ssize_t n = ::write(files.fd, data, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            files.write_failed = true;
            break;
        }
        data += n;
        count -= static_cast<std::size_t>(n);
    }
}

} // namespace

bool open_for_reading(const char* name)
{
    close_file();
    if (name == nullptr)
        return false;
    // Only a regular file is a picture: a folder cannot be read and a pipe could block forever
    // (O_NONBLOCK keeps the open itself from waiting for a writer).
    files.fd = ::open(name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    writing = false;
    reset_buffer();
    files.write_failed = false;
    struct stat info {};
    if (files.fd >= 0 && (::fstat(files.fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(files.fd);
        files.fd = -1;
    }
    return files.fd >= 0;
}

bool create_for_writing(const char* name)
{
    close_file();
    if (name == nullptr)
        return false;
    files.fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    writing = true;
    reset_buffer();
    files.write_failed = false;
    return files.fd >= 0;
}

bool close_file()
{
    if (files.fd < 0)
        return !files.write_failed;
    if (writing)
        flush_writes();
    if (::close(files.fd) != 0 && writing)
        files.write_failed = true;
    files.fd = -1;
    writing = false;
    reset_buffer();
    return !files.write_failed;
}

void discard_written_file(const char* name)
{
    close_file();
    // Only a file of our own making goes; a device or pipe named as the target stays.
    struct stat info {};
    if (::stat(name, &info) == 0 && S_ISREG(info.st_mode))
        ::unlink(name);
}

int64_t file_size()
{
    struct stat info {};
    if (files.fd < 0 || ::fstat(files.fd, &info) != 0)
        return -1;
    return static_cast<int64_t>(info.st_size);
}

bool seek_to(int64_t offset)
{
    reset_buffer();
    if (offset < 0 || ::lseek(files.fd, static_cast<off_t>(offset), SEEK_SET) < 0) {
        files.at_end = true;
        return false;
    }
    return true;
}

bool refill()
{
    files.io_next = 0;
    files.io_count = 0;
    if (files.at_end || files.fd < 0)
        return false;
    files.io_count = read_fully(files.io, kIoBufferBytes);
    if (files.io_count == 0) {
        files.at_end = true;
        return false;
    }
    return true;
}

std::size_t read_bytes(uint8_t* out, std::size_t count)
{
    std::size_t got = 0;
    while (got < count) {
        // What is left of a large request bypasses the I/O buffer: one call instead of a block
        // at a time.
        if (files.io_next == files.io_count && count - got >= kIoBufferBytes && !files.at_end) {
            const std::size_t direct = read_fully(out + got, count - got);
            got += direct;
            if (got < count)
                files.at_end = true;
            break;
        }
        if (files.io_next == files.io_count && !refill())
            break;
        const std::size_t take = std::min(count - got, files.io_count - files.io_next);
        std::memcpy(out + got, files.io + files.io_next, take);
        files.io_next += take;
        got += take;
    }
    return got;
}

bool skip_bytes(int64_t count)
{
    while (count > 0) {
        if (files.io_next == files.io_count && !refill())
            return false;
        const std::size_t held = files.io_count - files.io_next;
        const std::size_t take = count < static_cast<int64_t>(held) ? static_cast<std::size_t>(count) : held;
        files.io_next += take;
        count -= static_cast<int64_t>(take);
    }
    return true;
}

void write_bytes(const uint8_t* data, std::size_t count)
{
    if (count >= kIoBufferBytes) {
        flush_writes();
        write_fully(data, count);
        return;
    }
    while (count > 0) {
        if (files.io_next == kIoBufferBytes)
            flush_writes();
        const std::size_t take = std::min(count, kIoBufferBytes - files.io_next);
        std::memcpy(files.io + files.io_next, data, take);
        files.io_next += take;
        data += take;
        count -= take;
    }
}

void flush_writes()
{
    write_fully(files.io, files.io_next);
    files.io_next = 0;
}

int32_t finish(int32_t code, const char* reason)
{
    failure_reason = code == 0 ? "" : reason;
    return code;
}

} // namespace codec_internal

const char* ras_codec_failure_reason()
{
    return codec_internal::failure_reason;
}
