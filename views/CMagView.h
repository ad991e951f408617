#pragma once

#include "views/PlotFrame.h"

// The East, North and Up magnetic components against depth, in nanotesla.
// The vertical range follows the data (within +-10,000,000 nT) and is worked
// out only when the view paints; the mouse uses the range of the latest
// paint. Draws a zero line instead of a grid and centre line, and picks an
// observation by any of its three points.
class CMagView : public PlotFrame {
    Q_OBJECT
public:
    // `doc` and `services` are not owned and must outlive the view.
    CMagView(survey::CKestrixDoc& doc, ViewServices& services, QWidget* parent = nullptr);

protected:
    QString Title() const override;
    bool BeginPaint() override;
    void SetupVerticalRange() override {} // keeps the range of the latest paint
    void DrawValueLabels(QPainter& painter) override;
    void DrawCurves(QPainter& painter) override;
    void DrawLevelLine(QPainter& painter) override;
    int PointsPerObservation() const override { return 3; }
    std::int32_t PickY(const survey::Observation& obs, int k) const override;

private:
    bool SpansZero() const { return m_nYMax > 0 && m_nYMin < 0; }
};
