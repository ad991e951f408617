#pragma once

#include "views/PathFrame.h"

class QContextMenuEvent;

// The hole's path seen from the side: the horizontal distance from the
// collar along a grid azimuth across, the height up. The azimuth is the
// survey's chosen one (PlotLink::SectionAzimuth, set from the context menu)
// or else the direction from the collar to the deepest reading, and the
// title names it.
class CSectionView : public PathFrame {
    Q_OBJECT
public:
    // `survey`, `services` and `link` are not owned and must outlive the view;
    // without a link the view keeps a depth window of its own.
    CSectionView(SurveyEditor& survey, ViewServices& services, PlotLink* link = nullptr, QWidget* parent = nullptr);

    // The grid azimuth, 0 to 360 degrees, from the collar to the deepest
    // reading (the first of equals); 0 when that lies less than a millimetre
    // from the collar across (a vertical hole) or there are no readings.
    static double DefaultAzimuth(const survey::CKestrixDoc& doc);
    // The azimuth of the latest mapping.
    double Azimuth() const { return m_azimuth; }

protected:
    QString Title() const override;
    QString HorizontalAxisName() const override;
    QString VerticalAxisName() const override;
    void BeginMapping() override;
    QPointF Project(const survey::Observation& obs) const override;
    QPointF Collar() const override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QString AzimuthText() const;

    double m_azimuth = 0.0;
    double m_east = 0.0;  // sin of the azimuth
    double m_north = 1.0; // cos of the azimuth
};
