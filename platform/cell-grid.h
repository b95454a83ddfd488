// The block scroll of a console screen buffer (Win32 ScrollConsoleScreenBuffer) on a grid of
// cells, for the consoles that keep their cells themselves: the terminal's screen buffer and the
// in-memory console.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/platform.h"

namespace pf {

// Moves the source block of a width x height grid (row by row in cells) to destination: what the
// source leaves takes fill, then the block lands over it. Only cells inside clip (nullptr: the
// whole grid) change; changed(x, y) hears of each cell written.
template <typename Changed>
void ScrollCells(std::vector<CharInfo>* cells, int width, int height, const SmallRect& source,
                 const SmallRect* clip, Coord destination, CharInfo fill, Changed changed) {
  int left = std::max<int>(source.left, 0);
  int top = std::max<int>(source.top, 0);
  int right = std::min<int>(source.right, width - 1);
  int bottom = std::min<int>(source.bottom, height - 1);
  int clipLeft = clip ? std::max<int>(clip->left, 0) : 0;
  int clipTop = clip ? std::max<int>(clip->top, 0) : 0;
  int clipRight = clip ? std::min<int>(clip->right, width - 1) : width - 1;
  int clipBottom = clip ? std::min<int>(clip->bottom, height - 1) : height - 1;
  auto index = [width](int x, int y) { return static_cast<size_t>(y) * width + x; };
  const std::vector<CharInfo> before = *cells;
  auto put = [&](int x, int y, CharInfo cell) {
    if (x < clipLeft || x > clipRight || y < clipTop || y > clipBottom) return;
    (*cells)[index(x, y)] = cell;
    changed(x, y);
  };
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) put(x, y, fill);
  }
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      int dx = destination.x + (x - source.left);
      int dy = destination.y + (y - source.top);
      if (dx >= 0 && dy >= 0 && dx < width && dy < height) put(dx, dy, before[index(x, y)]);
    }
  }
}

}  // namespace pf
