#pragma once

#include "DocumentHost.h"
#include "KestrixDoc.h"
#include "LineSource.h"
#include "MessageSink.h"
#include "PlotViews.h"
#include "ViewServices.h"

#include <QImage>
#include <QWidget>

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

// Where the view's latest mapping puts the logical point (x, y).
inline QPoint Device(const PlotFrame& view, std::int32_t x, std::int32_t y)
{
    const PlotMapping::Point p = view.Mapping().LPtoDP({x, y});
    return QPoint(p.x, p.y);
}

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

inline QRgb Rgb(int r, int g, int b) { return qRgb(r, g, b); }
