#pragma once

#include "views/PathFrame.h"

// The hole's path seen from above: East across, North up (grid north), with
// a north arrow in the frame's top-right corner.
class CPlanView : public PathFrame {
    Q_OBJECT
public:
    // `survey`, `services` and `link` are not owned and must outlive the view;
    // without a link the view keeps a depth window of its own.
    CPlanView(SurveyEditor& survey, ViewServices& services, PlotLink* link = nullptr, QWidget* parent = nullptr);

protected:
    QString Title() const override;
    QString HorizontalAxisName() const override;
    QString VerticalAxisName() const override;
    QPointF Project(const survey::Observation& obs) const override;
    QPointF Collar() const override;
    void DrawDecorations(QPainter& painter) override;
};
