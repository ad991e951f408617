#pragma once

#include "views/PlotMapping.h"

#include <QColor>
#include <QPen>
#include <QPolygon>
#include <QWidget>

#include <cstdint>

namespace survey {
class CKestrixDoc;
struct Observation;
} // namespace survey

class QPainter;
class ViewServices;

// The frame shared by the depth plots: a white window with the title in its
// top-left corner, a plot frame inset by a margin, depth from left to right
// and the value upward, value and depth labels, the depth readout while the
// mouse moves, and the picking and deletion of observations in delete mode.
// Each view adds its vertical range, curves, overlays and mouse rules. The
// view keeps no survey data: every paint and mouse event reads the document.
class PlotFrame : public QWidget {
    Q_OBJECT
public:
    // The frame's distance from each edge of the window, in device pixels.
    static constexpr std::int32_t kMargin = 50;
    // A point is picked when the mouse lies less than this many pixels from
    // it across and up or down: a square of 5 by 5 pixels.
    static constexpr int kPickRadius = 3;

    // `doc` and `services` are not owned and must outlive the view.
    PlotFrame(survey::CKestrixDoc& doc, ViewServices& services, QWidget* parent);

    // Paints the whole client area from the document, in device pixels.
    void OnDraw(QPainter& painter);

    // Works out the ranges and sets the mapping for the current client size.
    // True when the mapping spans a drawable frame: observations, distinct
    // first and last depths, a vertical range and room inside the margins.
    // Otherwise the mapping is still defined (a zero extent collapses onto
    // the frame's left or bottom edge).
    virtual bool SetupMapping();

    const PlotMapping& Mapping() const { return m_mapping; }

    // Text alignments of the frame's labels.
    enum class Anchor { LeftTop, RightBottom, CenterTop };
    // Writes `text` in the painter's font, black on an opaque white cell,
    // placed on the device point `at` as `anchor` says.
    static void DrawTextAt(QPainter& painter, QPoint at, Anchor anchor, const QString& text);

    std::int32_t m_nMargin = kMargin; // device pixels between the window's edges and the frame
    std::int32_t m_nXMin = 0;         // logical x of the frame's left edge
    std::int32_t m_nXMax = 0;         // logical x of the frame's right edge
    std::int32_t m_nYMin = 0;         // logical y of the frame's bottom edge
    std::int32_t m_nYMax = 0;         // logical y of the frame's top edge
    std::int32_t m_nHitObs = -1;      // observation under the mouse in delete mode, or -1

protected:
    survey::CKestrixDoc& Doc() const { return m_doc; }
    ViewServices& Services() const { return m_services; }

    // --- What each view supplies ---
    virtual QString Title() const = 0;
    // Called at the start of every paint, after the horizontal range; false
    // ends the paint with nothing drawn.
    virtual bool BeginPaint() { return true; }
    // Sets m_nYMin and m_nYMax (and the view's own range members).
    virtual void SetupVerticalRange() = 0;
    // Value labels left of the frame; by default bottom, middle and top.
    virtual void DrawValueLabels(QPainter& painter);
    virtual void DrawCurves(QPainter& painter) = 0;
    virtual void DrawGrid(QPainter&) {}
    virtual void DrawOverlays(QPainter&) {}
    // The level line after the frame; by default the centre line.
    virtual void DrawLevelLine(QPainter& painter);
    // Picking: how many points each observation has, and point k's logical y.
    virtual int PointsPerObservation() const { return 1; }
    virtual std::int32_t PickY(const survey::Observation& obs, int k) const = 0;
    // The cursor and prompt of a mouse move; by default those of delete mode.
    virtual void ApplyModeCursor();
    virtual QString Prompt() const;
    // Left button down outside delete mode.
    virtual void OnOtherModeClick(QPoint) {}

    // --- Helpers for the views ---
    // trunc(value x m_dScale) clamped into [m_nYMin, m_nYMax].
    std::int32_t ClampedY(double value) const;
    // trunc(value x m_dScale), saturated.
    std::int32_t Scaled(double value) const;
    QPoint ToDevice(std::int32_t x, std::int32_t y) const;
    // A solid pen one device pixel wide whose lines leave out their end pixel.
    static QPen ThinPen(QColor colour);
    // A line from (x1, y1) to (x2, y2) in logical units, leaving out its end.
    void LineLP(QPainter& painter, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) const;
    // One polyline through `points` (device pixels), the first a move; a
    // point equal to the one before adds nothing, and the last pixel is left out.
    static void DrawPolyline(QPainter& painter, const QPolygon& points);
    // The curve of one field: one clamped point per observation.
    void DrawFieldCurve(QPainter& painter, QColor colour, double (*value)(const survey::Observation&)) const;
    // The centred 180-degree range of the inclination and azimuth views:
    // floor(mean of the field / 10) x 10, the frame spanning +-90 around it.
    double CentredRange(double (*value)(const survey::Observation&));
    // The 17 light grey lines at every 10 degrees within +-80 of `centre`.
    void DrawDegreeGrid(QPainter& painter, double centre) const;

    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

    // Sets a status bar pane.
    void SetPane(int pane, const QString& text) const;

private:
    void SetupHorizontalRange();
    void DrawDepthLabels(QPainter& painter);
    void DrawFrame(QPainter& painter);
    void Pick(QPoint mouse);

    survey::CKestrixDoc& m_doc;
    ViewServices& m_services;
    PlotMapping m_mapping;
    bool m_framed = false; // the latest mapping spans a drawable frame
};
