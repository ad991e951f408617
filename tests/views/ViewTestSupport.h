#pragma once

#include "DocumentHost.h"
#include "KestrixDoc.h"
#include "LineSource.h"
#include "MessageSink.h"
#include "PlotViews.h"
#include "ViewServices.h"

#include <QImage>
#include <QWidget>

#include <cmath>
#include <memory>
#include <ostream>
#include <vector>

// Test helpers for the depth plots: a status bar and cursors that record,
// a host that redraws the views it knows, surveys made in code, rendering.

class FakeServices : public ViewServices {
public:
    void SetPaneText(int pane, const QString& text) override { panes[pane == 1 ? 1 : 0] = text; }
    // Standard shapes stand in for the drawn cursors so tests can tell them apart.
    QCursor DeleteCursor() const override { return QCursor(Qt::CrossCursor); }
    QCursor TargetCursor() const override { return QCursor(Qt::PointingHandCursor); }
    QCursor ControlCursor() const override { return QCursor(Qt::SizeAllCursor); }

    QString panes[2];
};

class FakeHost : public DocumentHost {
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

// An observation with only the fields the plots read.
inline Observation PlotPoint(double depth, double incl, double az, double e = 0, double n = 0, double u = 0)
{
    Observation obs{};
    obs.Depth = depth;
    obs.CalcIncl = incl;
    obs.CalcAzMag = az;
    obs.AzUsed = az;
    obs.MagE = e;
    obs.MagN = n;
    obs.MagU = u;
    return obs;
}

inline void SetObservations(CKestrixDoc& doc, const std::vector<Observation>& rows)
{
    doc.m_nObs = static_cast<std::int32_t>(rows.size());
    doc.m_pObs = std::make_unique<Observation[]>(rows.size() + 1);
    for (std::size_t i = 0; i < rows.size(); ++i)
        doc.m_pObs[i] = rows[i];
}

// Raw probe readings of a hole with inclination `incl` and magnetic azimuth
// `az` (degrees) in a field of horizontal strength `h` and vertical `v`
// gauss; the probe's roll is 180 degrees.
inline Observation RawReading(double depth, double incl, double az, double h = 0.2, double v = -0.45)
{
    const double rad = 0.017453292519943295;
    const double s = (90.0 - incl) * rad;
    const double h1 = h * std::sin(az * rad);
    const double h2 = h * std::cos(az * rad);
    Observation obs{};
    obs.Depth = depth;
    obs.MagX = -h1;
    obs.MagY = -(h2 * std::cos(s) + v * std::sin(s));
    obs.MagZ = h2 * std::sin(s) - v * std::cos(s);
    obs.AccY = std::sin(incl * rad);
    obs.AccZ = std::cos(incl * rad);
    return obs;
}

// A survey shaped like a real one: depths 0 to 100 m every 0.1 m, an
// inclination near 60 degrees, an azimuth near 120 degrees disturbed between
// 40 and 60 m, and a spike at 75 m; computed as after a load.
inline void FillDemoLikeSurvey(CKestrixDoc& doc, int count = 1001)
{
    std::vector<Observation> rows;
    for (int i = 0; i < count; ++i) {
        const double depth = 100.0 * i / (count - 1);
        double az = 120.0 + 0.05 * depth;
        if (depth > 40.0 && depth < 60.0)
            az += 25.0 * std::sin((depth - 40.0) * 3.141592653589793 / 20.0);
        const double incl = 60.0 + 3.0 * std::sin(depth / 15.0);
        const double field = (i == count * 3 / 4) ? 0.35 : 0.2;
        rows.push_back(RawReading(depth, incl, az, field));
    }
    SetObservations(doc, rows);
    doc.Recalculate();
}

// The demo survey of examples/, loaded as the program loads it: 4001
// observations from 0 to 400 m with a disturbed interval and a few spikes.
inline bool LoadDemoSurvey(CKestrixDoc& doc)
{
    struct Quiet : MessageSink {
        void ShowMessage(const std::string&) override { failed = true; }
        bool failed = false;
    } sink;
    FileLineSource source(KESTRIX_EXAMPLES_DIR "/demo.txt");
    const LoadResult result = doc.LoadRawSurvey(KESTRIX_EXAMPLES_DIR "/demo.txt", source, sink);
    return source.IsOpen() && result == LoadResult::Loaded && !sink.failed;
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

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

inline QRgb Rgb(int r, int g, int b) { return qRgb(r, g, b); }
