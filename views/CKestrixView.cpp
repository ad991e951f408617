#include "views/CKestrixView.h"

#include "survey/KestrixDoc.h"
#include "survey/ListingRows.h"
#include "survey/NearestReading.h"
#include "views/ListingRowPainter.h"
#include "views/ViewServices.h"
#include "textio/VectorState.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

using namespace survey;

namespace {

// The widest line in pixels. The font has a fixed pitch, so lines whose
// pieces have the same lengths are equally wide: each pattern of lengths is
// measured once.
int WidestLine(const ListingText& head, const std::set<std::array<std::size_t, 6>>& rowPieceLengths,
               const QFontMetrics& metrics)
{
    int widest = 0;
    for (const std::string& piece : head.headingPieces)
        widest += metrics.horizontalAdvance(QString::fromStdString(piece));
    for (const std::string& line : head.headerLines)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(line)));
    for (const std::array<std::size_t, 6>& lengths : rowPieceLengths) {
        int sum = 0;
        for (std::size_t length : lengths)
            sum += metrics.horizontalAdvance(QString(static_cast<qsizetype>(length), QLatin1Char('0')));
        widest = std::max(widest, sum);
    }
    return widest;
}

// Rows measured for the widest line at one go: about half a millisecond's work.
constexpr std::size_t kRowsMeasuredAtOnce = 16384;

} // namespace

CKestrixView::CKestrixView(const CKestrixDoc& doc, ViewServices& services, QWidget* parent)
    : QAbstractScrollArea(parent), m_doc(doc), m_services(services), m_font(ListingFont())
{
    // No frame: unscrolled, the listing starts at the window's top-left corner.
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    m_measuring.setInterval(0);
    connect(&m_measuring, &QTimer::timeout, this, &CKestrixView::FollowSurvey);
}

QFont CKestrixView::ListingFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace, QFont::PreferMatch);
    font.setFixedPitch(true);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    // The largest size whose line (ascent + descent) fits the 16-pixel cell.
    for (int pixels = kLineHeight; pixels > 4; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).height() <= kLineHeight)
            break;
    }
    return font;
}

ListingText CKestrixView::Listing()
{
    Sync();
    ListingText listing = m_cache.Head();
    listing.rows.reserve(m_cache.Listed().size());
    for (int index : m_cache.Listed())
        listing.rows.push_back(BuildListingRow(m_doc, index));
    return listing;
}

ListingGeometry CKestrixView::Geometry() const
{
    return {m_cache.RowCount(), viewport()->height(), verticalScrollBar()->value()};
}

void CKestrixView::SetListedRows(survey::ListedRows rows)
{
    if (rows == m_rows)
        return;
    Sync();
    const ListingGeometry before = Geometry();
    const int firstShown = before.rows > 0 ? ObservationOfRow(before.FirstVisibleRow()) : 0;
    const int collarShown = std::min(before.scroll, ListingGeometry::kCollarLines);
    m_rows = rows;
    Sync();
    ClearSelection();
    const int row = RowAtOrAfter(firstShown);
    verticalScrollBar()->setValue(row > 0 ? row + ListingGeometry::kCollarLines : collarShown);
    viewport()->update();
}

int CKestrixView::RowAtOrAfter(int index) const
{
    const std::vector<int>& listed = m_cache.Listed();
    const auto found = std::lower_bound(listed.begin(), listed.end(), index);
    return static_cast<int>(std::min(found - listed.begin(), static_cast<std::ptrdiff_t>(listed.size()) - 1));
}

int CKestrixView::ShowDepth(double depth)
{
    Sync();
    const int row = NearestOf(m_doc, m_cache.Listed(), depth);
    if (row < 0)
        return -1;
    Select(row, row);
    const ListingGeometry geometry = Geometry();
    verticalScrollBar()->setValue(row + ListingGeometry::kCollarLines + 1 - (geometry.PageRows() + 1) / 2);
    return row;
}

// Lays the listing out again when the survey changed: its extent (measured
// when the scroll bars follow) and, when other observations are listed, no
// selection.
bool CKestrixView::RefreshListing()
{
    textio::ReleaseWideVectorRegisters();
    const ListingCache::Change change = m_cache.Refresh(m_doc, m_rows);
    if (change == ListingCache::Change::None)
        return false;
    m_contentWidthKnown = false;
    if (change == ListingCache::Change::Rows)
        ClearSelection();
    return true;
}

void CKestrixView::Sync()
{
    if (RefreshListing())
        UpdateScrollBars();
}

void CKestrixView::FollowSurvey()
{
    RefreshListing();
    UpdateScrollBars();
}

// Until every row is measured the listing is as wide as the widest line
// measured since the change or before it.
void CKestrixView::MeasureRows()
{
    textio::ReleaseWideVectorRegisters();
    m_contentWidthKnown = m_cache.MeasureRows(m_doc, kRowsMeasuredAtOnce);
    const int measured = WidestLine(m_cache.Head(), m_cache.MeasuredPieceLengths(), QFontMetrics(m_font));
    m_contentWidth = m_contentWidthKnown ? measured : std::max(m_contentWidth, measured);
    if (m_contentWidthKnown)
        m_measuring.stop();
    else if (!m_measuring.isActive())
        m_measuring.start();
}

void CKestrixView::UpdateScrollBars()
{
    if (!m_contentWidthKnown)
        MeasureRows();
    const ListingGeometry geometry = Geometry();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, geometry.MaxScroll());
    vertical->setPageStep(geometry.PageRows());
    vertical->setSingleStep(1);
    QScrollBar* horizontal = horizontalScrollBar();
    const int width = viewport()->width();
    horizontal->setRange(0, std::max(m_contentWidth - width, 0));
    horizontal->setPageStep(std::max(width, 1));
    horizontal->setSingleStep(QFontMetrics(m_font).horizontalAdvance(QLatin1Char('0')));
}

void CKestrixView::OnDraw(QPainter& painter)
{
    const ListingText& head = m_cache.Head();
    const ListingGeometry geometry = Geometry();
    const int left = -horizontalScrollBar()->value();
    const int width = viewport()->width();
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    const QColor highlight = palette().color(group, QPalette::Highlight);
    const QColor highlightedText = palette().color(group, QPalette::HighlightedText);

    painter.save();
    painter.setFont(m_font);
    painter.setPen(Qt::black);
    painter.setBackground(Qt::white);
    painter.setBackgroundMode(Qt::OpaqueMode);
    const QFontMetrics metrics(m_font, painter.device());
    // Each piece starts where the one before it ended.
    auto drawLine = [&](int y, const auto& pieces) {
        int x = left;
        for (const std::string& piece : pieces) {
            const QString text = QString::fromStdString(piece);
            painter.drawText(x, y + metrics.ascent(), text);
            x += metrics.horizontalAdvance(text);
        }
    };
    for (int line = 0; line < ListingGeometry::kCollarLines; ++line) {
        const int y = geometry.CollarLineTop(line);
        if (y > -kLineHeight)
            drawLine(y, std::array<std::string, 1>{head.headerLines[static_cast<std::size_t>(line)]});
    }
    drawLine(geometry.HeadingTop(), head.headingPieces);
    ListingRowPainter rows(m_font, metrics, painter);
    for (int row = geometry.FirstVisibleRow(); row < geometry.rows; ++row) {
        const int y = geometry.RowTop(row);
        if (y >= geometry.viewHeight)
            break;
        const bool selected = HasSelection() && row >= FirstSelectedRow() && row <= LastSelectedRow();
        if (selected) {
            painter.fillRect(0, y, width, kLineHeight, highlight);
            painter.setPen(highlightedText);
            painter.setBackgroundMode(Qt::TransparentMode);
        }
        const int index = ObservationOfRow(row);
        if (index < m_doc.m_nObs)
            rows.Draw(painter, left, y + metrics.ascent(), BuildListingRow(m_doc, index).pieces);
        if (selected) {
            painter.setPen(Qt::black);
            painter.setBackgroundMode(Qt::OpaqueMode);
        }
    }
    painter.restore();
}

void CKestrixView::paintEvent(QPaintEvent*)
{
    // A change of the survey shows in this paint; the scroll bars follow
    // once it is over, since they may resize the viewport being painted (and
    // the widest line, which every row decides, need not hold the paint up).
    if (RefreshListing())
        QMetaObject::invokeMethod(this, &CKestrixView::FollowSurvey, Qt::QueuedConnection);
    QPainter painter(viewport());
    if (viewport()->devicePixelRatio() != 1.0) {
        painter.fillRect(viewport()->rect(), Qt::white);
        OnDraw(painter);
        return;
    }
    // Drawn on an image of its own and copied: there the rows' glyphs are
    // placed without the window's offset (see ListingRowPainter).
    if (m_canvas.size() != viewport()->size())
        m_canvas = QImage(viewport()->size(), QImage::Format_RGB32);
    m_canvas.fill(Qt::white);
    {
        QPainter canvas(&m_canvas);
        OnDraw(canvas);
    }
    painter.drawImage(0, 0, m_canvas);
}

void CKestrixView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    FollowSurvey();
}

// The heading stays while the rows move, so the whole viewport is painted again.
void CKestrixView::scrollContentsBy(int, int) { viewport()->update(); }

void CKestrixView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    if (HasSelection())
        viewport()->update(); // the selection's colours follow the focus
}

void CKestrixView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    if (HasSelection())
        viewport()->update();
}

void CKestrixView::Select(int anchor, int current)
{
    const bool had = HasSelection();
    m_anchor = anchor;
    m_current = current;
    viewport()->update();
    if (had != HasSelection())
        emit copyAvailable(HasSelection());
}

void CKestrixView::SelectAll()
{
    Sync();
    const int rows = Geometry().rows;
    if (rows > 0)
        Select(0, rows - 1);
}

void CKestrixView::ClearSelection()
{
    if (HasSelection())
        Select(-1, -1);
}

QString CKestrixView::SelectedText()
{
    Sync();
    if (!HasSelection())
        return QString();
    const std::span<const int> rows(m_cache.Listed());
    const auto first = static_cast<std::size_t>(FirstSelectedRow());
    const auto count = static_cast<std::size_t>(LastSelectedRow() - FirstSelectedRow() + 1);
    return QString::fromStdString(ListingRowsAsTabText(m_doc, rows.subspan(first, count)));
}

void CKestrixView::Copy()
{
    const QString text = SelectedText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

// Moves the selection's moving end by `rows` and scrolls it into view. A
// first Shift+key selects the first row in view.
void CKestrixView::ExtendSelection(int rows)
{
    const ListingGeometry geometry = Geometry();
    if (geometry.rows == 0)
        return;
    if (!HasSelection()) {
        Select(geometry.FirstVisibleRow(), geometry.FirstVisibleRow());
    } else {
        const long long moved = static_cast<long long>(m_current) + rows;
        Select(m_anchor, static_cast<int>(std::clamp<long long>(moved, 0, geometry.rows - 1)));
    }
    verticalScrollBar()->setValue(geometry.ScrollShowing(m_current));
}

void CKestrixView::keyPressEvent(QKeyEvent* event)
{
    Sync();
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
        return;
    }
    const ListingGeometry geometry = Geometry();
    const int everything = geometry.rows + ListingGeometry::kCollarLines + 1;
    int lines = 0;
    switch (event->key()) {
    case Qt::Key_Up: lines = -1; break;
    case Qt::Key_Down: lines = 1; break;
    case Qt::Key_PageUp: lines = -geometry.PageRows(); break;
    case Qt::Key_PageDown: lines = geometry.PageRows(); break;
    case Qt::Key_Home: lines = -everything; break;
    case Qt::Key_End: lines = everything; break;
    case Qt::Key_Left: horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub); return;
    case Qt::Key_Right: horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd); return;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    if (event->modifiers() & Qt::ShiftModifier)
        ExtendSelection(lines);
    else
        verticalScrollBar()->setValue(geometry.scroll + lines);
}

void CKestrixView::mousePressEvent(QMouseEvent* event)
{
    Sync();
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const int row = Geometry().RowAt(static_cast<int>(event->position().y()));
    if (row < 0) {
        ClearSelection();
        return;
    }
    m_selecting = true;
    if ((event->modifiers() & Qt::ShiftModifier) && HasSelection())
        Select(m_anchor, row);
    else
        Select(row, row);
}

void CKestrixView::mouseMoveEvent(QMouseEvent* event)
{
    m_services.SetPaneText(ViewServices::MessagePane, QString());
    m_services.SetPaneText(ViewServices::DepthPane, QString());
    if (m_selecting && (event->buttons() & Qt::LeftButton) && HasSelection()) {
        Sync();
        // Dragged above the rows or below the window: one line further each move.
        const int y = static_cast<int>(event->position().y());
        ListingGeometry geometry = Geometry();
        if (y < geometry.RowsTop() && geometry.FirstVisibleRow() > 0)
            verticalScrollBar()->setValue(geometry.scroll - 1);
        else if (y >= geometry.viewHeight)
            verticalScrollBar()->setValue(geometry.scroll + 1);
        geometry = Geometry();
        if (geometry.rows > 0) {
            const int last = std::min(geometry.LastWholeRow(), geometry.rows - 1);
            Select(m_anchor, std::clamp(geometry.RowLineAt(std::max(y, 0)), geometry.FirstVisibleRow(),
                                        std::max(last, geometry.FirstVisibleRow())));
        }
    }
    QAbstractScrollArea::mouseMoveEvent(event);
}

void CKestrixView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_selecting = false;
    QAbstractScrollArea::mouseReleaseEvent(event);
}
