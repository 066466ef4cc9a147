// The header, dimension, window and palette queries of both codecs on any bytes.

#include "FuzzSupport.h"

#include "raster/codecs/bmp.h"
#include "raster/codecs/pcx.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    using fuzz_support::require;
    const char* name = fuzz_support::write_input(data, size);

    uint8_t bmp_header[54];
    const int32_t bmp_result = ras_bmp_header(name, bmp_header);
    require(bmp_result == 0 || bmp_result == -2, "BMP header result");
    require((bmp_result == 0) == (size >= 54 && data[0] == 'B' && data[1] == 'M'), "BMP header accepted exactly");
    if (bmp_result == 0) {
        int32_t width = 0;
        int32_t height = 0;
        require(ras_bmp_dimensions(bmp_header, &width, &height) == 0, "dimensions result");
    }
    uint8_t rgb[768 + 1];
    rgb[768] = 0xA5;
    const int32_t bmp_entries = ras_bmp_palette(name, rgb);
    require(bmp_entries >= -2 && bmp_entries <= 256 && bmp_entries != -1, "BMP palette count");
    require(rgb[768] == 0xA5, "BMP palette wrote past its area");

    uint8_t pcx_header[128];
    const int32_t pcx_result = ras_pcx_header(name, pcx_header);
    require(pcx_result == 0 || pcx_result == -2, "PCX header result");
    require((pcx_result == 0) == (size >= 128 && data[0] == 10), "PCX header accepted exactly");
    const auto padded = fuzz_support::padded_prefix<128>(data, size);
    int32_t window[4];
    ras_pcx_window(padded.data(), &window[0], &window[1], &window[2], &window[3]);
    require((window[0] == -1) == (padded[0] != 10), "PCX window marks a wrong manufacturer");
    const int32_t pcx_colours = ras_pcx_palette(name, rgb);
    require(pcx_colours == 256 || pcx_colours == 16 || pcx_colours == 0 || pcx_colours == -2, "PCX palette count");
    require((pcx_colours == -2) == (pcx_result == -2), "PCX palette and header agree");
    require(rgb[768] == 0xA5, "PCX palette wrote past its area");
    return 0;
}
