#pragma once

#include "survey/EditRecord.h"

#include <QCoreApplication>
#include <QString>
#include <QUndoCommand>

namespace survey {
class CKestrixDoc;
} // namespace survey

// One edit of a survey in its undo history. The edit is made before the
// command is pushed, so the push does not make it again; undo and redo then
// take it back and make it again exactly, and every view redraws.
class EditCommand : public QUndoCommand {
    Q_DECLARE_TR_FUNCTIONS(EditCommand)

public:
    // `doc` must outlive the command; `record` is what making the edit on it returned.
    EditCommand(survey::CKestrixDoc& doc, survey::EditRecord record, const QString& name);

    void undo() override;
    void redo() override;

private:
    survey::CKestrixDoc& m_doc;
    survey::EditRecord m_record;
    bool m_madeOnPush = true;
};

// What the Edit menu calls an edit after "Undo" and "Redo": "Delete reading
// at 205.00 m", "Add control point", "Fit degree 3 polynomial", ...
QString EditName(const survey::EditRecord& record);
