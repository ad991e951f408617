#pragma once

#include "survey/Observation.h"
#include "views/PlotView.h"

#include <QPointF>
#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

// The frame shared by the views of the hole's path: the readings' positions
// projected onto a plane, drawn with equal scales (a metre across is a metre
// up on the screen) in a frame inset by a margin, with the title in the
// top-left corner, round values along the bottom and left edges, each axis
// named in metres, the collar marked by a small circle and depth ticks along
// the path. Readings outside the survey's depth window are drawn light grey,
// those inside in the path's colour. Under the mouse the status bar shows the
// nearest reading's depth and position. Each view supplies its projection and
// its own marks; like the depth plots it keeps no survey data.
class PathFrame : public PlotView {
    Q_OBJECT
public:
    // The plane shown spans at least this many metres each way, so that a
    // vertical hole's plan is a dot, not a division by zero.
    static constexpr double kLeastExtent = 1.0;

    // `survey`, `services` and `link` are not owned and must outlive the view.
    PathFrame(SurveyEditor& survey, ViewServices& services, PlotLink* link, QWidget* parent);

    void OnDraw(QPainter& painter) override;

    // Works out the plane's extent and the mapping for the current client
    // size: true when there are readings and the frame has room.
    bool SetupMapping();
    // By the latest mapping: plane point `p` (metres) on the device, and back.
    QPointF ToDevice(QPointF p) const;
    QPointF ToPlane(QPointF device) const;
    // Device pixels per metre, across and up alike.
    double PixelsPerMetre() const { return m_scale; }
    // The frame inside the margins, edges included, in device pixels.
    QRect FrameRect() const { return m_frame; }
    // The reading whose point lies nearest device point `at` within
    // kPickDistance pixels (of equals, the first), or -1.
    std::int32_t ReadingAt(QPointF at) const;
    // Whether reading `index` lies within the survey's depth window.
    bool IsInDepthWindow(std::int32_t index) const;

    // The colours of the path within and outside the depth window.
    static QColor PathColour();
    static QColor DimmedColour();

    // The axes' titles and the legend a picture of the plot carries.
    PlotKey Key() const override;

protected:
    virtual QString Title() const = 0;
    virtual QString HorizontalAxisName() const = 0;
    virtual QString VerticalAxisName() const = 0;
    // Called before every mapping: what the projection needs from the survey.
    virtual void BeginMapping() {}
    // A reading's point on the plane in metres: x to the right, y up.
    virtual QPointF Project(const survey::Observation& obs) const = 0;
    // The collar's point on the plane.
    virtual QPointF Collar() const = 0;
    // Over the path and its marks.
    virtual void DrawDecorations(QPainter&) {}

    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // Round values labelled along one axis: their step's decimals and where they are.
    struct AxisLabels {
        int decimals = 0;
        std::vector<double> values;
    };

    void Map(int leftMargin, int bottomMargin);
    AxisLabels HorizontalLabels() const;
    AxisLabels VerticalLabels() const;
    void DrawAxes(QPainter& painter) const;
    void DrawPath(QPainter& painter, const std::vector<QPointF>& points) const;
    void DrawDepthTicks(QPainter& painter, const std::vector<QPointF>& points) const;
    void DrawCollar(QPainter& painter) const;
    void Readout(QPointF at);

    bool m_framed = false;
    QRect m_frame;
    double m_scale = 1.0; // device pixels per metre
    QPointF m_origin;     // device point of the plane's origin
    DepthSpan m_shown{0, 0}; // the depth window, at the latest mapping
};
