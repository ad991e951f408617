#pragma once

#include "FakeViewServices.h"
#include "RecordingSink.h"
#include "survey/DocumentHost.h"
#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"
#include "views/PlotViews.h"

#include <QImage>
#include <gtest/gtest.h>
#include <QWidget>

#include <memory>
#include <ostream>
#include <vector>

// Test helpers for the depth plots: a host that redraws the views it knows,
// surveys made in code, rendering.

class FakeHost : public survey::DocumentHost {
public:
    void UpdateAllViews() override
    {
        ++updates;
        for (QWidget* view : views)
            view->update();
    }
    void OpenPlotWindows() override {}

    std::vector<QWidget*> views;
    int updates = 0;
};

// The three depth plots, for rows that name one.
enum class Plot { Inclination, Azimuth, Magnetic };
struct PlotRow {
    const char* name;
    Plot plot;
};
inline const auto kEveryPlot = ::testing::Values(PlotRow{"Inclination", Plot::Inclination},
                                                 PlotRow{"Azimuth", Plot::Azimuth}, PlotRow{"Magnetic", Plot::Magnetic});

inline std::unique_ptr<PlotFrame> MakePlot(Plot plot, SurveyEditor& doc, ViewServices& services)
{
    switch (plot) {
    case Plot::Inclination: return std::make_unique<CInclView>(doc, services);
    case Plot::Azimuth: return std::make_unique<CAzView>(doc, services);
    case Plot::Magnetic: break;
    }
    return std::make_unique<CMagView>(doc, services);
}

// An observation with only the fields the plots read.
inline survey::Observation PlotPoint(double depth, double incl, double az, double e = 0, double n = 0, double u = 0)
{
    survey::Observation obs{};
    obs.Depth = depth;
    obs.CalcIncl = incl;
    obs.CalcAzMag = az;
    obs.AzUsed = az;
    obs.MagE = e;
    obs.MagN = n;
    obs.MagU = u;
    return obs;
}

inline void SetObservations(survey::CKestrixDoc& doc, const std::vector<survey::Observation>& rows)
{
    doc.m_nObs = static_cast<std::int32_t>(rows.size());
    doc.m_pObs = std::make_unique<survey::Observation[]>(rows.size() + 1);
    for (std::size_t i = 0; i < rows.size(); ++i)
        doc.m_pObs[i] = rows[i];
}

// The demo survey of examples/, loaded as the program loads it: 4001
// observations from 0 to 400 m with a disturbed interval and a few spikes.
inline bool LoadDemoSurvey(survey::CKestrixDoc& doc)
{
    RecordingSink sink;
    survey::FileLineSource source(KESTRIX_EXAMPLES_DIR "/demo.txt");
    const survey::LoadResult result = doc.LoadRawSurvey(KESTRIX_EXAMPLES_DIR "/demo.txt", source, sink);
    return source.IsOpen() && result == survey::LoadResult::Loaded && sink.messages.empty();
}

// The view painted at `width` x `height` pixels into an image.
inline QImage Render(QWidget& view, int width = 800, int height = 600)
{
    view.resize(width, height);
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    view.render(&image);
    return image;
}

// Where the view's latest mapping puts the logical point (x, y).
inline QPoint Device(const PlotFrame& view, std::int32_t x, std::int32_t y)
{
    const PlotMapping::Point p = view.Mapping().LPtoDP({x, y});
    return QPoint(p.x, p.y);
}

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

inline QRgb Rgb(int r, int g, int b) { return qRgb(r, g, b); }
