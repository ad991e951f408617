#pragma once

#include "survey/KestrixDoc.h"
#include "views/ViewServices.h"

// The application's side of the views, for views tested alone: status bar
// panes that record, standard cursor shapes that tests can tell apart, and
// edits counted and made on the document directly.
class FakeViewServices : public ViewServices {
public:
    void SetPaneText(int pane, const QString& text) override { panes[pane == DepthPane ? 1 : 0] = text; }
    QCursor DeleteCursor() const override { return QCursor(Qt::CrossCursor); }
    QCursor TargetCursor() const override { return QCursor(Qt::PointingHandCursor); }
    QCursor ControlCursor() const override { return QCursor(Qt::SizeAllCursor); }
    void ApplyEdit(survey::CKestrixDoc& doc, const survey::EditOperation& op) override
    {
        ++edits;
        doc.Apply(op);
    }

    QString panes[2];
    int edits = 0;
};
