#pragma once

#include "views/PlotFrame.h"

#include <array>
#include <vector>

// The East, North and Up magnetic components against depth, in nanotesla.
// The vertical range follows the data (within +-10,000,000 nT): the whole
// survey's with fixed scales, else the depth window's, from the values of
// the latest paint, which the mouse uses too. Draws a zero line instead of a grid and centre line, and picks an
// observation by any of its three points. Drawn as anomalies (a choice of the
// survey's linked plots), the components are less the model's field at each
// reading when the survey has a reference field (survey/Anomalies.h), else
// each is less its median over the survey; all three on one scale, and the
// title says which.
class CMagView : public PlotFrame {
    Q_OBJECT
public:
    // `doc`, `services` and `link` are not owned and must outlive the view;
    // without a link the view keeps a depth window of its own.
    CMagView(SurveyEditor& survey, ViewServices& services, PlotLink* link = nullptr, QWidget* parent = nullptr);

    // The axes' titles and the legend a picture of the plot carries.
    PlotKey Key() const override;

protected:
    QString Title() const override;
    bool BeginPaint() override;
    // Every reading's Up, North and East as drawn, the offsets and the whole
    // survey's range.
    void GatherSamples() override;
    std::uint64_t SamplesVariant() const override;
    bool SamplesFollowSplices() const override;
    void SetupVerticalRange() override;
    std::vector<ValueLabel> ValueLabels() const override;
    void DrawGrid(QPainter& painter) override;
    QString ReadingValues(std::int32_t index) const override;
    void DrawCurves(QPainter& painter) override;
    void DrawLevelLine(QPainter& painter) override;
    int PointsPerObservation() const override { return 3; }
    std::int32_t PickY(const survey::Observation& obs, int k) const override;

private:
    bool SpansZero() const { return m_nYMax > 0 && m_nYMin < 0; }

    // What is taken from each component (Up, North, East) in nanotesla, at
    // the latest paint: its median when drawn as anomalies less medians,
    // otherwise 0.
    std::array<double, 3> m_offsets{};
    // The model and date the anomalies are against; empty otherwise.
    QString m_againstModel;
    // The whole survey's range in plot units, as last gathered.
    std::int32_t m_wholeLow = 0;
    std::int32_t m_wholeHigh = 0;
};
