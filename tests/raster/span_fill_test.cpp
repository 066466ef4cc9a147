// The Fill tool's span fill: which rows and runs it repaints, and what it leaves alone.

#include "RasterFixture.h"

#include <climits>
#include <string>
#include <vector>

namespace {

// Pictures are written with '.' for the seed colour, '#' for a wall colour and '*' for the fill
// colour; the buffer is exactly as wide as the rows (a multiple of 4, so no padding columns).
class SpanFillTest : public DepthTest {
protected:
    int32_t wall() const
    {
        switch (depth()) {
        case 8: return 0x55;
        case 16: return 0x0841;
        case 24: return 0x00FF00;
        default: return 0x00445566;
        }
    }
    std::vector<int32_t> values() const { return {paper(), wall(), ink()}; }
    static constexpr const char* kLegend = ".#*";

    void draw(const std::vector<std::string>& rows)
    {
        open_new_buffer(depth(), static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()));
        for (size_t y = 0; y < rows.size(); ++y) {
            for (size_t x = 0; x < rows[y].size(); ++x) {
                ras_set_color(values()[std::string(kLegend).find(rows[y][x])]);
                ras_point(static_cast<int32_t>(x), static_cast<int32_t>(y));
            }
        }
        ras_set_color(ink());
    }
    std::vector<std::string> shown(const std::vector<std::string>& rows) const
    {
        return picture(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()), kLegend,
                       values());
    }
};

struct FillCase {
    const char* name;
    std::vector<std::string> before;
    int32_t x, y;
    std::vector<std::string> after;
};

TEST_P(SpanFillTest, RepaintsTheRunsAlongTheSeedColumn)
{
    const FillCase cases[] = {
        {"rectangle",
         {"########", "##....##", "##....##", "########"}, 3, 1,
         {"########", "##****##", "##****##", "########"}},
        {"U seeded in the left arm fills the arm and the bar, not the right arm",
         {"#.####.#", "#.####.#", "#......#", "########"}, 1, 0,
         {"#*####.#", "#*####.#", "#******#", "########"}},
        {"each row its own run; parts joined only through other columns stay",
         {"...#....", "#.....##", "##.#...."}, 2, 1,
         {"***#....", "#*****##", "##*#...."}},
        {"seed in the bottom row: the upward pass does it all",
         {"...#....", "#.....##", "##.#...."}, 2, 2,
         {"***#....", "#*****##", "##*#...."}},
        {"seed in the top row: only the downward pass goes on",
         {"#.##", "#...", "#.##"}, 1, 0,
         {"#*##", "#***", "#*##"}},
        {"a pass stops at the first wall in the column, even with seed beyond it",
         {"#.#.", "#.#.", "####", "#.#."}, 1, 0,
         {"#*#.", "#*#.", "####", "#.#."}},
        {"runs reach both buffer edges",
         {"........", "###.####", "........"}, 3, 1,
         {"********", "###*####", "********"}},
        {"a seed pixel enclosed on every side fills only itself",
         {"###", "#.#", "###"}, 1, 1,
         {"###", "#*#", "###"}},
    };
    for (const FillCase& c : cases) {
        draw(c.before);
        ras_span_fill(c.x, c.y, ras_get_pixel(c.x, c.y));
        EXPECT_EQ(shown(c.before), c.after) << c.name;
    }
}

TEST_P(SpanFillTest, FillingWithTheSeedColourChangesNothing)
{
    draw({"#.####.#", "#.####.#", "#......#", "########"});
    const std::vector<uint8_t> before = buffer_bytes();
    ras_set_color(paper());
    ras_span_fill(1, 0, paper());
    EXPECT_EQ(buffer_bytes(), before);
}

TEST_P(SpanFillTest, SpansAreClippedButThePassesGoOn)
{
    draw({"........", "........", "........"});
    ras_set_clip(2, 5, 0, 1);
    ras_span_fill(3, 1, paper());
    EXPECT_EQ(shown({"........", "........", "........"}),
              (std::vector<std::string>{"..****..", "..****..", "........"}));
}

// A 6-pixel-wide buffer is stored 8 wide; the run goes on into the two extra columns.
TEST_P(SpanFillTest, RunsIntoThePaddingColumns)
{
    open_new_buffer(depth(), 6, 2);
    ras_set_color(paper());
    ras_fill_buffer();
    ras_set_color(ink());
    ras_span_fill(0, 0, paper());
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x <= ras_max_x(); ++x)
            EXPECT_EQ(ras_get_pixel(x, y), ink()) << x << "," << y;
}

TEST_P(SpanFillTest, ASeedPointOutsideTheBufferChangesNothing)
{
    draw({"....", "....", "...."});
    const std::vector<uint8_t> before = buffer_bytes();
    const int32_t points[][2] = {{-1, 0}, {4, 0}, {0, -1}, {0, 3}, {INT32_MIN, INT32_MAX}};
    for (const auto& p : points) {
        ras_span_fill(p[0], p[1], paper());
        EXPECT_EQ(buffer_bytes(), before) << p[0] << "," << p[1];
    }
}

TEST_P(SpanFillTest, NoActiveBufferIsHarmless)
{
    draw({"...."});
    const int32_t handle = ras_get_active_buffer();
    ras_close_buffer();
    ras_span_fill(0, 0, paper());
    ras_open_buffer(handle);
    EXPECT_EQ(shown({"...."}), std::vector<std::string>{"...."});
}

INSTANTIATE_FOR_ALL_DEPTHS(SpanFillTest);

} // namespace
