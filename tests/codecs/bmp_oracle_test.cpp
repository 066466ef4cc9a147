// Qt's BMP reader and writer as an independent judge: pictures Qt writes are read by us to the
// same colours, and pictures we write are read by Qt to the colours we hold.

#include "CodecTestSupport.h"

#include "raster/codecs/bmp.h"

#include <QColor>
#include <QImage>

namespace {

// Sizes that put the end of a row at every position inside a byte and a 4-byte group.
const std::pair<int32_t, int32_t> kSizes[] = {{1, 1}, {3, 2}, {5, 5}, {7, 3}, {9, 1}, {17, 4}, {33, 2}};

colour from_qrgb(QRgb c)
{
    return colour{qRed(c), qGreen(c), qBlue(c)};
}

// A deterministic colour for pixel (x, y) and the picture's seed.
QRgb sample(int32_t x, int32_t y, int32_t seed)
{
    const uint32_t n = static_cast<uint32_t>(x * 73 + y * 151 + seed * 977) * 2654435761u;
    return qRgb(static_cast<int>(n >> 24), static_cast<int>((n >> 16) & 255), static_cast<int>((n >> 8) & 255));
}

// The colour our 16-bit buffer keeps of a colour: the top 5, 6 and 5 bits.
colour as_565(colour c)
{
    return colour{c.red & 0xF8, c.green & 0xFC, c.blue & 0xF8};
}

class BmpOracle : public CodecTest, public ::testing::WithParamInterface<int32_t> {
protected:
    int32_t depth() const { return GetParam(); }

    // Reads the file into a fresh buffer of the test's depth and compares every pixel's colour
    // with Qt's picture.
    void expect_read_as(const std::string& name, const QImage& image)
    {
        const int32_t handle = open_new_buffer(depth(), image.width(), image.height());
        ASSERT_EQ(ras_load_bmp(name.c_str(), 0), 0) << name << ": " << ras_codec_failure_reason();
        for (int32_t y = 0; y < image.height(); ++y)
            for (int32_t x = 0; x < image.width(); ++x) {
                const colour expected = from_qrgb(image.pixel(x, y));
                EXPECT_EQ(colour_at(depth(), x, y), depth() == 16 ? as_565(expected) : expected)
                    << name << " at " << x << "," << y;
            }
        ras_close_buffer();
        ras_free_buffer(handle);
    }
};

TEST_P(BmpOracle, IndexedPicturesQtWritesReadToTheSameColours)
{
    int32_t seed = 0;
    for (const auto& [width, height] : kSizes) {
        struct kind {
            const char* name;
            QImage::Format format;
            int32_t colours;
        };
        const kind kinds[] = {{"mono", QImage::Format_Mono, 2}, {"sixteen", QImage::Format_Indexed8, 16},
                              {"two-hundred", QImage::Format_Indexed8, 200}};
        for (const kind& k : kinds) {
            ++seed;
            QImage image(width, height, k.format);
            QList<QRgb> table;
            for (int32_t i = 0; i < k.colours; ++i)
                table.append(sample(i, 0, seed));
            image.setColorTable(table);
            for (int32_t y = 0; y < height; ++y)
                for (int32_t x = 0; x < width; ++x)
                    image.setPixel(x, y, static_cast<uint>((x * 7 + y * 3 + seed) % k.colours));
            const std::string name = path(std::string(k.name) + std::to_string(width) + "x" + std::to_string(height) + ".bmp");
            ASSERT_TRUE(image.save(QString::fromStdString(name), "BMP"));
            expect_read_as(name, image);
        }
    }
}

// 24-bit pictures, for the depths that read them (an 8-bit buffer refuses them).
class BmpOracleDirect : public BmpOracle {};

TEST_P(BmpOracleDirect, DirectColourPicturesQtWritesReadToTheSameColours)
{
    int32_t seed = 100;
    for (const auto& [width, height] : kSizes) {
        QImage image(width, height, QImage::Format_RGB32);
        ++seed;
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                image.setPixel(x, y, sample(x, y, seed));
        const std::string name = path("rgb" + std::to_string(width) + "x" + std::to_string(height) + ".bmp");
        ASSERT_TRUE(image.save(QString::fromStdString(name), "BMP"));
        expect_read_as(name, image);
    }
}

TEST_P(BmpOracle, PicturesWeWriteQtReadsToTheColoursWeHold)
{
    const std::vector<int32_t> bit_counts = depth() == 8 ? std::vector<int32_t>{1, 4, 8} : std::vector<int32_t>{24};
    for (const auto& [width, height] : kSizes) {
        for (const int32_t bits : bit_counts) {
            const int32_t handle = open_new_buffer(depth(), width, height);
            for (int32_t y = 0; y < height; ++y)
                for (int32_t x = 0; x < width; ++x) {
                    const QRgb c = sample(x, y, bits);
                    ras_set_color(depth() == 8 ? (x * 5 + y * 11) & 255 : ras_make_color(qRed(c), qGreen(c), qBlue(c)));
                    ras_point(x, y);
                }
            const std::string name = path("ours" + std::to_string(bits) + "-" + std::to_string(width) + "x" + std::to_string(height) + ".bmp");
            ASSERT_EQ(ras_save_bmp(0, width - 1, 0, height - 1, bits, name.c_str()), 0);
            const QImage read(QString::fromStdString(name), "BMP");
            ASSERT_FALSE(read.isNull()) << name;
            ASSERT_EQ(read.width(), width);
            ASSERT_EQ(read.height(), height);
            for (int32_t y = 0; y < height; ++y)
                for (int32_t x = 0; x < width; ++x) {
                    colour expected{};
                    const int32_t v = ras_get_pixel(x, y);
                    if (depth() == 8) {
                        // 1 and 4 bits keep the index's lowest bit or (index - 10) mod 16, naming
                        // the colour table's entries from 10 up.
                        const int32_t stored = bits == 1 ? v & 1 : bits == 4 ? (v - 10) & 15 : v;
                        expected = entry(bits == 8 ? stored : 10 + stored);
                    } else if (depth() == 16) {
                        expected = colour{((v >> 11) & 31) * 255 / 31, ((v >> 5) & 63) * 255 / 63, (v & 31) * 255 / 31};
                    } else {
                        expected = colour{(v >> 16) & 255, (v >> 8) & 255, v & 255};
                    }
                    EXPECT_EQ(from_qrgb(read.pixel(x, y)), expected) << name << " at " << x << "," << y;
                }
            ras_close_buffer();
            ras_free_buffer(handle);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllDepths, BmpOracle, ::testing::Values(8, 16, 24, 32), depth_name);
INSTANTIATE_TEST_SUITE_P(DirectDepths, BmpOracleDirect, ::testing::Values(16, 24, 32), depth_name);

} // namespace
