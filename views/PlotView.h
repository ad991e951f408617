#pragma once

#include "survey/EditOperations.h"
#include "views/DepthWindow.h"
#include "views/PlotKey.h"

#include <QColor>
#include <QPen>
#include <QPolygon>
#include <QWidget>

#include <cstdint>
#include <memory>

namespace survey {
class CKestrixDoc;
} // namespace survey

class PlotLink;
class QFontMetrics;
class QPainter;
class SurveyEditor;
class ViewServices;

// A plot window of one survey, drawn from the document at every paint: the
// depth plots (PlotFrame) and the hole's path (PathFrame). The same painting
// makes the window, its pictures and its printed page. A plot keeps no
// survey data; it reads the survey through its editor and the depth window
// through the survey's PlotLink (or a link of its own), and repaints when
// the link changes.
class PlotView : public QWidget {
    Q_OBJECT
public:
    // The least distance in device pixels from each edge of the window to
    // the plot's frame; the frame's labels may need more.
    static constexpr std::int32_t kMargin = 50;
    // The mouse reaches a reading within this many pixels of it.
    static constexpr double kPickDistance = 6.0;

    // `survey`, `services` and `link` are not owned and must outlive the view.
    PlotView(SurveyEditor& survey, ViewServices& services, PlotLink* link, QWidget* parent);
    ~PlotView() override;

    // Paints the whole client area from the document, in device pixels.
    virtual void OnDraw(QPainter& painter) = 0;
    // Lines `pixels` device pixels wide. The default, 0, is the thinnest line
    // the device draws: one pixel on screen, but a faint hairline on paper.
    void SetLineWidth(qreal pixels) { m_lineWidth = pixels; }
    // Curves at their exact device coordinates rather than whole pixels: a
    // vector picture (SVG, PDF, paper) keeps them. Off by default.
    void SetExactCoordinates(bool exact) { m_exactCoordinates = exact; }

    PlotLink& Link() const { return *m_link; }
    // What a picture of the plot names beside it, as of the last paint;
    // nothing by default.
    virtual PlotKey Key() const { return {}; }

    // Text alignments of the plots' labels.
    // RightBottom ends just left of and above `at`, RightTop just left of
    // and below it, RightMiddle just left of it, centred on its level.
    enum class Anchor { LeftTop, RightBottom, RightTop, RightMiddle, CenterTop };
    // Writes `text` in the painter's font, black on an opaque white cell,
    // placed on the device point `at` as `anchor` says.
    static void DrawTextAt(QPainter& painter, QPoint at, Anchor anchor, const QString& text);
    // The width in pixels of the cell DrawTextAt gives `text`: its advance,
    // or its ink where a glyph reaches beyond the advance.
    static int TextCellWidth(const QFontMetrics& metrics, const QString& text);

protected:
    const survey::CKestrixDoc& Doc() const;
    // Hands the edit `op` to the survey's editor.
    void Edit(const survey::EditOperation& op);
    ViewServices& Services() const { return m_services; }
    // Sets a status bar pane.
    void SetPane(int pane, const QString& text) const;
    // The depth window or anomalies changed; by default a repaint.
    virtual void OnLinkChanged();

    // trunc(value x m_dScale), saturated: a depth in plot units.
    std::int32_t Scaled(double value) const;
    // The hole's ends in plot units, from the first and the last reading;
    // {0, 0} without readings.
    DepthSpan WholeHole() const;
    // A solid pen of the view's line width, on screen one device pixel wide,
    // whose lines leave out their end pixel.
    QPen ThinPen(QColor colour) const;
    // One polyline through `points` (device pixels), the first a move; a
    // point equal to the one before adds nothing, and the last pixel is left out.
    static void DrawPolyline(QPainter& painter, const QPolygon& points);

    void paintEvent(QPaintEvent* event) override;

private:
    SurveyEditor& m_survey;
    ViewServices& m_services;
    std::unique_ptr<PlotLink> m_ownLink; // only without a shared one
    PlotLink* m_link;
    qreal m_lineWidth = 0; // device pixels; 0 for the thinnest line
    bool m_exactCoordinates = false;

protected:
    bool ExactCoordinates() const { return m_exactCoordinates; }
};
