#pragma once

#include "survey/EditRecord.h"
#include "survey/KestrixDoc.h"
#include "views/SurveyEditor.h"
#include "views/ViewServices.h"

// The application's side of the views, for views tested alone: status bar
// panes that record and standard cursor shapes that tests can tell apart.
class FakeViewServices : public ViewServices {
public:
    void SetPaneText(int pane, const QString& text) override { panes[pane == DepthPane ? 1 : 0] = text; }
    QCursor DeleteCursor() const override { return QCursor(Qt::CrossCursor); }
    QCursor TargetCursor() const override { return QCursor(Qt::PointingHandCursor); }
    QCursor ControlCursor() const override { return QCursor(Qt::SizeAllCursor); }

    QString panes[2];
};

// A survey that is its own editor, for views tested alone: the edits a view
// hands it are counted and made through the one recording entry.
class FakeSurvey : public survey::CKestrixDoc, public SurveyEditor {
public:
    const survey::CKestrixDoc& Survey() const override { return *this; }
    void Apply(const survey::EditOperation& op) override
    {
        ++edits;
        survey::ApplyRecorded(*this, op);
    }

    int edits = 0;
};
