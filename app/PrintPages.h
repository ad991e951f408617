#pragma once

#include "survey/ListingRows.h"

#include <QSize>

namespace survey {
class CKestrixDoc;
} // namespace survey

class QPagedPaintDevice;
class PlotLink;
class QPainter;
struct PlotKind;

// A survey window on paper. `painter` is active on `device`, its viewport the
// printable area.

// The plot as a window of `windowSize` shows it (with the survey's depth
// window and settings in `link`), drawn as lines and text scaled to fit the
// page whole with its shape kept, on one page; lines a quarter millimetre wide.
void PrintPlot(QPainter& painter, const PlotKind& kind, const survey::CKestrixDoc& doc, QSize windowSize,
               PlotLink* link);

// The survey's listing text with `rows` listed, top to bottom, as many pages
// as it takes; a listing wider than the page is made smaller to fit it. The
// number of pages.
int PrintListing(QPainter& painter, QPagedPaintDevice& device, const survey::CKestrixDoc& doc,
                 survey::ListedRows rows = survey::ListedRows::TenMetreSteps);
