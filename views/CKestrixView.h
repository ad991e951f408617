#pragma once

#include "views/ListingCache.h"
#include "views/ListingGeometry.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QImage>
#include <QString>
#include <QTimer>
#include <algorithm>

namespace survey {
class CKestrixDoc;
} // namespace survey

class ViewServices;

// The listing window: the collar and a table of measured and computed values
// of about one observation per 10 m, or of every observation. Every line is reached by scrolling (scroll
// bars, wheel, arrows, Page Up/Down, Home/End); the heading stays in view while
// the rows pass under it. Rows are selected with the mouse, Shift with the
// keys, or Ctrl+A, and copied as tab-separated text. Moving the mouse over it
// empties both status bar panes. Unscrolled and without a selection it shows
// the lines at 16-pixel steps from the top-left corner.
class CKestrixView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // `doc` and `services` are not owned and must outlive the view.
    CKestrixView(const survey::CKestrixDoc& doc, ViewServices& services, QWidget* parent = nullptr);

    // The listing font: fixed pitch, normal weight, a 16-pixel cell.
    static QFont ListingFont();
    static constexpr int kLineHeight = ListingGeometry::kLineHeight;

    // The listing as shown, every row formatted, brought up to date with the
    // document first (for printing and checks; the window formats only the
    // rows in view).
    survey::ListingText Listing();
    // The line layout at the present size and scroll position.
    ListingGeometry Geometry() const;

    // Which observations are listed; a change keeps the first row in view
    // on the same place of the hole and ends the selection.
    survey::ListedRows ListedRows() const { return m_rows; }
    void SetListedRows(survey::ListedRows rows);
    // The observation shown on `row` (0 to Geometry().rows - 1).
    int ObservationOfRow(int row) const { return m_cache.Listed()[static_cast<std::size_t>(row)]; }
    // Selects the listed row whose depth lies nearest `depth` and scrolls it
    // to the middle of the window; its row, or -1 without rows.
    int ShowDepth(double depth);

    // The selected rows, first to last (indices into Listing().rows).
    bool HasSelection() const { return m_anchor >= 0; }
    int FirstSelectedRow() const { return std::min(m_anchor, m_current); }
    int LastSelectedRow() const { return std::max(m_anchor, m_current); }
    void SelectAll();
    void ClearSelection();
    // The selected rows as tab-separated text (heading names first); empty
    // without a selection.
    QString SelectedText();
    // Puts SelectedText() on the clipboard; nothing without a selection.
    void Copy();

    // Paints the lines in view onto the viewport.
    void OnDraw(QPainter& painter);

signals:
    // Whether there is a selection to copy, on every change of that.
    void copyAvailable(bool available);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool RefreshListing();
    // The row showing observation `index`, or the first listed after it.
    int RowAtOrAfter(int index) const;
    void Sync();
    // Refreshes the listing and sets the scroll bars to it.
    void FollowSurvey();
    // Sets the scroll bars to the listing as last refreshed.
    void UpdateScrollBars();
    // Measures the next share of the rows for the widest line; the rest
    // follows from the event loop, a share at a time, so that no paint
    // waits for every row of a long survey.
    void MeasureRows();
    void Select(int anchor, int current);
    void ExtendSelection(int rows);

    const survey::CKestrixDoc& m_doc;
    ViewServices& m_services;
    QFont m_font;
    ListingCache m_cache;
    survey::ListedRows m_rows = survey::ListedRows::TenMetreSteps;
    QImage m_canvas;        // the viewport's picture, painted anew each time
    int m_contentWidth = 0; // of the widest line, in pixels
    bool m_contentWidthKnown = false; // every row measured since the listing last changed
    QTimer m_measuring;     // measures the rows still unmeasured, when idle
    int m_anchor = -1;      // the row a selection started at; -1 without one
    int m_current = -1;     // the row it reaches to
    bool m_selecting = false; // the left button is down over the rows
};
