#pragma once

#include "views/PlotFrame.h"

#include <cstdint>

// The magnetic azimuth against depth, where the user edits the azimuth: in
// delete mode a click removes the observation under the mouse, in control
// mode a click adds a control point and a right click on a control point's
// cross removes it. Shows the control points as blue crosses and, once a fit
// is in force, the fitted curve; a fitted value range takes in the measured
// and fitted azimuths and the control points within the depth window.
class CAzView : public PlotFrame {
    Q_OBJECT
public:
    // `doc`, `services` and `link` are not owned and must outlive the view;
    // without a link the view keeps a depth window of its own.
    CAzView(SurveyEditor& survey, ViewServices& services, PlotLink* link = nullptr, QWidget* parent = nullptr);

    // The frame's mapping, then the logical size of 100 device pixels.
    bool SetupMapping() override;

    struct Size {
        std::int32_t width;
        std::int32_t height; // negative: y grows upward
    };
    double m_dCentre = 0.0;       // centre of the vertical range, degrees
    Size m_size100Px{0, 0};       // 100 device pixels in logical units

    // The axes' titles and the legend a picture of the plot carries.
    PlotKey Key() const override;

protected:
    QString Title() const override;
    // Each reading's measured azimuth and, with a fit in force, the fitted
    // azimuth at its depth (in plot units, unrounded).
    void GatherSamples() override;
    bool SamplesFollowSplices() const override { return true; }
    void SetupVerticalRange() override;
    void DrawCurves(QPainter& painter) override;
    void DrawGrid(QPainter& painter) override;
    void DrawOverlays(QPainter& painter) override;
    std::int32_t PickY(const survey::Observation& obs, int k) const override;
    QString ReadingValues(std::int32_t index) const override;
    void ApplyModeCursor() override;
    QString Prompt() const override;
    void OnOtherModeClick(QPoint mouse) override;
    void OnRightClick(QPoint mouse) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // In control mode the message pane says where a click would place a point.
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void DrawControlPoints(QPainter& painter) const;
    // The control point whose cross covers device pixel `mouse` (of several,
    // the one centred nearest, then the one drawn last), or -1.
    std::int32_t ControlPointAt(QPoint mouse) const;
    // The measured (0) or fitted (1) azimuth's curve, both built in one pass.
    void DrawAzimuthCurve(QPainter& painter, int curve);
};
