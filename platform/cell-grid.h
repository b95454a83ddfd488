// The cell operations of a console screen buffer (Win32 WriteConsoleOutput,
// FillConsoleOutputAttribute, ScrollConsoleScreenBuffer) on a grid of cells, written once for the
// consoles that keep their cells themselves: the terminal's screen buffer and the in-memory
// console the tests run on.
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

// Places the block of a caller's buffer that starts at bufferOrigin at region, clipped to the
// width x height grid; put(x, y, cell) writes each cell, and region receives the part written.
// False, writing nothing, when the buffer or its origin make no sense.
template <typename Put>
bool WriteCells(int width, int height, const CharInfo* cells, Coord bufferSize, Coord bufferOrigin,
                SmallRect* region, Put put) {
  if (cells == nullptr || region == nullptr || bufferSize.x <= 0 || bufferSize.y <= 0 ||
      bufferOrigin.x < 0 || bufferOrigin.y < 0 || bufferOrigin.x >= bufferSize.x ||
      bufferOrigin.y >= bufferSize.y) {
    return false;
  }
  int columns = std::min(region->right - region->left + 1, bufferSize.x - bufferOrigin.x);
  int rows = std::min(region->bottom - region->top + 1, bufferSize.y - bufferOrigin.y);
  int left = std::max<int>(region->left, 0);
  int top = std::max<int>(region->top, 0);
  int right = std::min(region->left + columns - 1, width - 1);
  int bottom = std::min(region->top + rows - 1, height - 1);
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      int sourceX = bufferOrigin.x + (x - region->left);
      int sourceY = bufferOrigin.y + (y - region->top);
      put(x, y, cells[static_cast<size_t>(sourceY) * bufferSize.x + sourceX]);
    }
  }
  *region = SmallRect{static_cast<int16_t>(left), static_cast<int16_t>(top),
                      static_cast<int16_t>(right), static_cast<int16_t>(bottom)};
  return true;
}

// Recolours length cells from start, row after row, up to the end of the grid; recolour(x, y)
// changes each. False when start lies outside the grid.
template <typename Recolour>
bool FillAttributes(int width, int height, uint32_t length, Coord start, uint32_t* written,
                    Recolour recolour) {
  if (start.x < 0 || start.y < 0 || start.x >= width || start.y >= height) return false;
  uint32_t done = 0;
  for (int y = start.y, x = start.x; y < height && done < length; ++done) {
    recolour(x, y);
    if (++x == width) {
      x = 0;
      ++y;
    }
  }
  if (written != nullptr) *written = done;
  return true;
}

}  // namespace pf
