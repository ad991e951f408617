#include "app/WindowLayout.h"

#include <algorithm>

std::vector<QRect> TileGeometry(int count, const QRect& area)
{
    std::vector<QRect> tiles;
    if (count <= 0)
        return tiles;
    int columns = 1;
    while (columns * columns < count)
        ++columns;
    const int rows = (count + columns - 1) / columns;
    for (int i = 0; i < count; ++i) {
        const int row = i / columns;
        const int inRow = row == rows - 1 ? count - row * columns : columns;
        const int column = i % columns;
        const int left = area.width() * column / inRow;
        const int right = area.width() * (column + 1) / inRow;
        const int top = area.height() * row / rows;
        const int bottom = area.height() * (row + 1) / rows;
        tiles.emplace_back(area.left() + left, area.top() + top, right - left, bottom - top);
    }
    return tiles;
}

std::vector<QRect> CascadeGeometry(int count, const QRect& area, int step)
{
    std::vector<QRect> windows;
    if (count <= 0)
        return windows;
    step = std::max(1, step);
    const int width = std::max(area.width() - (count - 1) * step, area.width() * 2 / 3);
    const int height = std::max(area.height() - (count - 1) * step, area.height() * 2 / 3);
    const int perRun = 1 + std::max(0, std::min((area.width() - width) / step, (area.height() - height) / step));
    for (int i = 0; i < count; ++i) {
        const int offset = (i % perRun) * step;
        windows.emplace_back(area.left() + offset, area.top() + offset, width, height);
    }
    return windows;
}
