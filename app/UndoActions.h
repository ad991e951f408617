#pragma once

#include <QObject>
#include <QUndoGroup>

class QAction;
class SurveyDocument;

// The Undo and Redo commands of the main window. They take back and make
// again the edits of the survey whose window is active, whichever of its
// windows that is, and name the edit: "Undo Delete reading at 205.00 m".
class UndoActions : public QObject {
    Q_OBJECT
public:
    // The actions belong to `owner`, whose keys (Ctrl+Z, Ctrl+Shift+Z,
    // Ctrl+Y) they answer.
    explicit UndoActions(QWidget* owner);

    QAction* Undo() const { return m_undo; }
    QAction* Redo() const { return m_redo; }

    // Follows the history of `document`; none, or a survey that is not
    // loaded, leaves nothing to undo or redo.
    void Follow(SurveyDocument* document);

signals:
    // An edit of the followed survey was made, taken back or made again.
    void historyMoved();
    // The followed survey's edits became saved or unsaved.
    void savedStateChanged();

private:
    void UpdateTexts();

    QUndoGroup m_group;
    QAction* m_undo;
    QAction* m_redo;
};
