#include "editor/Geometry.h"

bool PointInRect(TPoint& point, std::int32_t left, std::int32_t top, std::int32_t right,
                 std::int32_t bottom) {
  if (point.X < left || point.X > right || point.Y < top || point.Y > bottom) return false;
  point.X -= left;
  point.Y -= top;
  return true;
}
