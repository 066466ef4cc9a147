#pragma once
// Window and buffer rectangles of the edit view. Rectangles are inclusive on all four sides, so a
// picture of width w placed at left x has right edge x + w - 1.

#include <cstdint>

struct TPoint {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

// True when left <= point.X <= right and top <= point.Y <= bottom; the point is then rewritten
// relative to the rectangle's corner (X - left, Y - top). On false the point is left unchanged.
bool PointInRect(TPoint& point, std::int32_t left, std::int32_t top, std::int32_t right,
                 std::int32_t bottom);
inline bool PointInRect(TPoint& point, const TRect& rect) {
  return PointInRect(point, rect.Left, rect.Top, rect.Right, rect.Bottom);
}
