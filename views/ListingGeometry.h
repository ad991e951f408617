#pragma once

#include <algorithm>

// Where the listing's lines sit in its window, for one vertical scroll
// position. The listing is five collar lines, the heading line and one line
// per listed row, 16 pixels apart from the top. It scrolls by whole lines;
// once the collar has scrolled away the heading stays at the top and the
// rows pass under it. Painting and the mouse share this, so the row drawn at
// a pixel is the row picked there.
struct ListingGeometry {
    static constexpr int kLineHeight = 16;
    static constexpr int kCollarLines = 5;

    int rows = 0;       // listed rows
    int viewHeight = 0; // pixels
    int scroll = 0;     // lines scrolled past the top, 0 to MaxScroll()

    // Top of collar line `line` (0 to 4); above the window once scrolled past.
    int CollarLineTop(int line) const { return (line - scroll) * kLineHeight; }
    int HeadingTop() const { return std::max(kCollarLines - scroll, 0) * kLineHeight; }
    int RowsTop() const { return HeadingTop() + kLineHeight; }
    int RowTop(int row) const { return (kCollarLines + 1 + row - scroll) * kLineHeight; }

    // Rows wholly in view below the heading once the collar has gone (at least one).
    int PageRows() const { return std::max(viewHeight / kLineHeight - 1, 1); }
    // The scroll that shows the last row (or, without rows, the heading) wholly.
    int MaxScroll() const { return std::max(rows + kCollarLines - PageRows(), 0); }
    int FirstVisibleRow() const { return std::max(scroll - kCollarLines, 0); }
    // The last row wholly in view (may be past the last row).
    int LastWholeRow() const { return scroll - kCollarLines + PageRows() - 1; }
    // The scroll, nearest the present one, that shows `row` wholly.
    int ScrollShowing(int row) const
    {
        if (row < FirstVisibleRow())
            return row + kCollarLines;
        if (row > LastWholeRow())
            return row + kCollarLines + 1 - PageRows();
        return scroll;
    }

    // The row of the line at `y` (pixels, y >= 0): below FirstVisibleRow() when
    // `y` is on the heading or the collar, rows or more below the last row.
    int RowLineAt(int y) const { return y / kLineHeight + scroll - kCollarLines - 1; }
    // The listed row at `y`, or -1 when none is drawn there.
    int RowAt(int y) const
    {
        if (y < RowsTop())
            return -1;
        const int row = RowLineAt(y);
        return row < rows ? row : -1;
    }
};
