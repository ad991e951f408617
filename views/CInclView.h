#pragma once

#include "views/PlotFrame.h"

// The inclination worked out from the accelerometer readings, against depth,
// in a 180-degree frame centred on a multiple of 10 degrees, or fitted to the
// readings in the depth window. Picks and
// deletes observations in delete mode; takes no part in the control mode.
class CInclView : public PlotFrame {
    Q_OBJECT
public:
    // `doc`, `services` and `link` are not owned and must outlive the view;
    // without a link the view keeps a depth window of its own.
    CInclView(SurveyEditor& survey, ViewServices& services, PlotLink* link = nullptr, QWidget* parent = nullptr);

    double m_dCentre = 0.0; // centre of the vertical range, degrees

    // The axes' titles and the legend a picture of the plot carries.
    PlotKey Key() const override;

protected:
    QString Title() const override;
    void GatherSamples() override;
    bool SamplesFollowSplices() const override { return true; }
    bool SamplesKeptWithOrientation() const override { return true; }
    void SetupVerticalRange() override;
    void DrawCurves(QPainter& painter) override;
    void DrawGrid(QPainter& painter) override;
    QString ReadingValues(std::int32_t index) const override;
    std::int32_t PickY(const survey::Observation& obs, int k) const override;
};
