// ras_load_bmp on any bytes, into buffers of every depth.

#include "FuzzSupport.h"

#include "raster/codecs/bmp.h"
#include "raster/raster.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const char* name = fuzz_support::write_input(data, size);
    const auto header = fuzz_support::padded_prefix<54>(data, size);
    int32_t width = 0;
    int32_t height = 0;
    ras_bmp_dimensions(header.data(), &width, &height);
    static const int32_t allowed[] = {RAS_CODEC_DONE,      RAS_BMP_NOT_BMP,    RAS_BMP_UNSUPPORTED,
                                      RAS_BMP_COMPRESSED,  RAS_CODEC_TOO_WIDE, RAS_CODEC_TRUNCATED,
                                      RAS_CODEC_BAD_HEADER, -1};
    const fuzz_support::codec bmp{ras_load_bmp, [](const char* file) {
                                      const int32_t bits = ras_get_memory_dc()->depth == 8 ? 8 : 24;
                                      return ras_save_bmp(0, ras_max_x(), 0, ras_max_y(), bits, file);
                                  }};
    fuzz_support::exercise_loader(bmp, name, width, height, allowed);
    return 0;
}
