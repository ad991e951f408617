#pragma once

#include "views/PlotKey.h"

#include <QSize>
#include <QString>

namespace survey {
class CKestrixDoc;
} // namespace survey

class QPainter;

// What a picture of a survey's plot says of the hole: its name (the one set,
// else the survey's file name) and, where known, the date and site.
struct PictureCaption {
    QString holeName;
    QString dateAndSite; // empty when the survey has neither
};
PictureCaption CaptionOf(const survey::CKestrixDoc& doc);

// Writes the caption in the picture's top-right corner, the key's value title
// under the view's title, its depth title centred under the depth labels and
// its legend in the bottom-right corner, all in the painter's font, within
// the margins the views leave around their frames. `size` is the picture's
// in the painter's coordinates.
void DrawPlotAnnotations(QPainter& painter, QSize size, const PictureCaption& caption, const PlotKey& key);
