// ras_load_pcx on any bytes, into buffers of every depth.

#include "FuzzSupport.h"

#include "raster/codecs/pcx.h"
#include "raster/raster.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const char* name = fuzz_support::write_input(data, size);
    const auto header = fuzz_support::padded_prefix<128>(data, size);
    int32_t xmin = 0;
    int32_t xmax = 0;
    int32_t ymin = 0;
    int32_t ymax = 0;
    ras_pcx_window(header.data(), &xmin, &xmax, &ymin, &ymax);
    static const int32_t allowed[] = {RAS_CODEC_DONE,       RAS_PCX_NOT_PCX,     RAS_PCX_UNSUPPORTED,
                                      RAS_CODEC_TOO_WIDE,   RAS_CODEC_TRUNCATED, RAS_CODEC_BAD_HEADER,
                                      RAS_CODEC_OUTSIDE_BUFFER, -1};
    const fuzz_support::codec pcx{ras_load_pcx,
                                  [](const char* file) { return ras_save_pcx(0, ras_max_x(), 0, ras_max_y(), file); }};
    fuzz_support::exercise_loader(pcx, name, xmax - xmin + 1, ymax - ymin + 1, allowed);
    return 0;
}
