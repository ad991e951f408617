#include "app/QualityMenu.h"

#include "app/CommandIds.h"
#include "app/DocManager.h"
#include "app/KestrixApp.h"
#include "app/MainFrame.h"
#include "app/SpikeSettingsStore.h"
#include "app/SurveyDocument.h"
#include "survey/KestrixDoc.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

using namespace survey;

namespace {

QAction* NewItem(QMenu& menu, int id, const QString& label)
{
    auto* action = new QAction(label, &menu);
    action->setData(id);
    return action;
}

// Where the items go: before the separator that sets the "Roll option" popup
// apart at the end of the menu, or at the end.
QAction* InsertionPoint(const QMenu& menu)
{
    const QList<QAction*> items = menu.actions();
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i]->menu())
            return i > 0 && items[i - 1]->isSeparator() ? items[i - 1] : items[i];
    }
    return nullptr;
}

// The survey that the items edit: the active one, unless read-only.
SurveyDocument* EditableSurvey(const CKestrixApp& app)
{
    SurveyDocument* document = app.ActiveDocument();
    return document && !document->IsReadOnly() ? document : nullptr;
}

} // namespace

QualityMenu::QualityMenu(CKestrixApp& app, QMenu& editMenu) : QObject(&editMenu), m_app(app)
{
    m_settings = LoadSpikeSettings();
    // Edit items have no prompt, as the menu's others. The local fit follows
    // the fit's degrees.
    m_localFit = NewItem(editMenu, ID_EDIT_FIT_LOCAL, QStringLiteral("Fit &Between Control Points Only"));
    m_localFit->setCheckable(true);
    m_deleteFlagged = NewItem(editMenu, ID_EDIT_DELETE_FLAGGED, QStringLiteral("Delete &Flagged Readings"));
    m_spikeSettings = NewItem(editMenu, ID_EDIT_SPIKE_SETTINGS, QStringLiteral("Spike &Settings..."));
    QAction* before = InsertionPoint(editMenu);
    editMenu.insertAction(before, m_localFit);
    editMenu.insertSeparator(before);
    editMenu.insertActions(before, {m_deleteFlagged, m_spikeSettings});
    connect(m_localFit, &QAction::triggered, this, &QualityMenu::OnLocalFit);
    connect(m_deleteFlagged, &QAction::triggered, this, &QualityMenu::OnDeleteFlagged);
    connect(m_spikeSettings, &QAction::triggered, this, &QualityMenu::OnSpikeSettings);
    connect(&editMenu, &QMenu::aboutToShow, this, &QualityMenu::UpdateActions);
    connect(app.MainFrame()->MdiArea(), &QMdiArea::subWindowActivated, this, &QualityMenu::UpdateActions);
    UpdateActions();
}

void QualityMenu::UpdateActions()
{
    const SurveyDocument* document = EditableSurvey(m_app);
    m_localFit->setEnabled(document != nullptr);
    m_localFit->setChecked(document && document->Doc()->m_bFitLocal);
    m_deleteFlagged->setEnabled(document != nullptr);
}

void QualityMenu::OnLocalFit()
{
    if (SurveyDocument* document = EditableSurvey(m_app))
        document->Apply(edit::SetLocalFit{!document->Doc()->m_bFitLocal});
    UpdateActions();
}

// The readings are judged as they are now, whatever the last recalculation left.
void QualityMenu::OnDeleteFlagged()
{
    SurveyDocument* document = EditableSurvey(m_app);
    if (!document)
        return;
    const edit::DeleteObservations flagged = FlaggedReadings(*document->Doc(), m_settings);
    const std::size_t count = flagged.indices.size();
    if (count == 0) {
        ShowCount(QStringLiteral("No flagged readings"));
        return;
    }
    document->Apply(flagged); // one edit: one step to undo
    ShowCount(count == 1 ? QStringLiteral("1 flagged reading deleted")
                         : QStringLiteral("%1 flagged readings deleted").arg(count));
    UpdateActions();
}

void QualityMenu::OnSpikeSettings()
{
    const std::optional<SpikeSettings> chosen = m_app.Prompts().EditSpikeSettings(m_app.MainFrame(), m_settings);
    if (!chosen || !SaveSpikeSettings(*chosen))
        return;
    m_settings = *chosen;
    // The quality plots flag what Delete Flagged Readings would delete.
    for (SurveyDocument* document : m_app.DocManager().Documents())
        document->Plots().SetSpikes(m_settings);
}

// The closing menu puts "Ready" in the message pane once events are handled;
// the count follows it.
void QualityMenu::ShowCount(const QString& text)
{
    QMetaObject::invokeMethod(this, [this, text] { m_app.SetPaneText(0, text); }, Qt::QueuedConnection);
}
