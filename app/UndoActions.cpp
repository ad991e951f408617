#include "app/UndoActions.h"

#include "app/MenuText.h"
#include "app/SurveyDocument.h"

#include <QAction>
#include <QWidget>

namespace {

// "&Undo Add control point\tCtrl+Z", or without the edit when there is none.
QString LabelOf(const QString& verb, const QString& edit, const QString& key)
{
    const QString named = EscapeMenuText(edit);
    return (named.isEmpty() ? verb : verb + QLatin1Char(' ') + named) + QLatin1Char('\t') + key;
}

} // namespace

UndoActions::UndoActions(QWidget* owner)
    : QObject(owner), m_undo(new QAction(owner)), m_redo(new QAction(owner))
{
    m_undo->setStatusTip(tr("Undo the last edit"));
    m_undo->setToolTip(tr("Undo"));
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redo->setStatusTip(tr("Redo the edit last undone"));
    m_redo->setToolTip(tr("Redo"));
    m_redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    // The keys work whichever menu is on the bar and whether the tool bar shows.
    owner->addAction(m_undo);
    owner->addAction(m_redo);

    connect(m_undo, &QAction::triggered, &m_group, &QUndoGroup::undo);
    connect(m_redo, &QAction::triggered, &m_group, &QUndoGroup::redo);
    connect(&m_group, &QUndoGroup::canUndoChanged, m_undo, &QAction::setEnabled);
    connect(&m_group, &QUndoGroup::canRedoChanged, m_redo, &QAction::setEnabled);
    connect(&m_group, &QUndoGroup::undoTextChanged, this, &UndoActions::UpdateTexts);
    connect(&m_group, &QUndoGroup::redoTextChanged, this, &UndoActions::UpdateTexts);
    connect(&m_group, &QUndoGroup::indexChanged, this, &UndoActions::historyMoved);
    connect(&m_group, &QUndoGroup::cleanChanged, this, &UndoActions::savedStateChanged);
    Follow(nullptr);
}

void UndoActions::Follow(SurveyDocument* document)
{
    QUndoStack* history = document && !document->IsReadOnly() ? &document->History() : nullptr;
    // In the group, a history that goes with its survey leaves the group first.
    if (history)
        m_group.addStack(history);
    m_group.setActiveStack(history);
    m_undo->setEnabled(m_group.canUndo());
    m_redo->setEnabled(m_group.canRedo());
    UpdateTexts();
}

void UndoActions::UpdateTexts()
{
    m_undo->setText(LabelOf(tr("&Undo"), m_group.undoText(), QStringLiteral("Ctrl+Z")));
    m_redo->setText(LabelOf(tr("&Redo"), m_group.redoText(), QStringLiteral("Ctrl+Shift+Z")));
}
