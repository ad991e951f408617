#include "app/EditCommand.h"

#include "app/CommandTable.h"
#include "survey/KestrixDoc.h"
#include "survey/Overloaded.h"


using namespace survey;

EditCommand::EditCommand(CKestrixDoc& doc, EditRecord record, const QString& name)
    : QUndoCommand(name), m_doc(doc), m_record(std::move(record))
{
}

void EditCommand::undo()
{
    // Only an edit made behind the history's back can make this fail; the
    // command then leaves the history rather than take back the wrong thing.
    if (!Undo(m_doc, m_record))
        setObsolete(true);
}

void EditCommand::redo()
{
    if (m_madeOnPush) {
        m_madeOnPush = false;
        return;
    }
    Redo(m_doc, m_record);
    m_doc.UpdateAllViews(); // a control point alone redraws nothing by itself
}

namespace {

QString DepthText(double depth) { return QString::number(depth, 'f', 2); }

QString DeletionName(const EditRecord& record)
{
    const auto removed = record.RemovedObservations();
    if (removed.size() == 1)
        return EditCommand::tr("Delete reading at %1 m").arg(DepthText(removed.front().observation.Depth));
    return EditCommand::tr("Delete %1 readings").arg(removed.size());
}

// A menu label as words: its mnemonic marks dropped.
QString MenuLabelText(const char* label)
{
    return QCoreApplication::translate("Commands", label).remove(QLatin1Char('&'));
}

QString RollName(std::int32_t degrees)
{
    for (const CommandRow& row : MainWindowCommands()) {
        const auto* roll = row.edit ? std::get_if<edit::SetRollAdjustment>(&*row.edit) : nullptr;
        if (roll && roll->degrees == degrees)
            return degrees == 0 ? EditCommand::tr("No roll adjustment")
                                : EditCommand::tr("Roll adjustment %1").arg(MenuLabelText(row.label));
    }
    return EditCommand::tr("Roll adjustment %1").arg(degrees);
}

QString OperationName(const EditRecord& record, const EditOperation& op)
{
    return std::visit(
        Overloaded{[&](const edit::DeleteObservation&) { return DeletionName(record); },
                   [&](const edit::DeleteObservations&) { return DeletionName(record); },
                   [](const edit::AddControlPoint&) { return EditCommand::tr("Add control point"); },
                   [](const edit::RemoveControlPoint&) { return EditCommand::tr("Remove control point"); },
                   [](const edit::ClearControlPoints&) { return EditCommand::tr("Clear control points"); },
                   [](const edit::SetControlPoints&) { return EditCommand::tr("Change control points"); },
                   [](const edit::SetFitDegree& d) {
                       return EditCommand::tr("Fit degree %1 polynomial").arg(d.degree);
                   },
                   [](const edit::SetRollAdjustment& r) { return RollName(r.degrees); },
                   [](const edit::SetLocalFit& l) {
                       return l.on ? EditCommand::tr("Fit between control points only")
                                   : EditCommand::tr("Fit along the whole hole");
                   },
                   [](const edit::SetSite& s) {
                       return s.site.declinationFrom == Site::DeclinationFrom::Model
                                ? EditCommand::tr("Use model declination")
                                : EditCommand::tr("Change site");
                   },
                   [](const edit::SetTrajectory& t) {
                       return t.method == TrajectoryMethod::MinimumCurvature
                                ? EditCommand::tr("Positions by minimum curvature")
                                : EditCommand::tr("Positions by average angle");
                   },
                   [](const edit::SetHoleName& n) {
                       return n.name.empty() ? EditCommand::tr("Clear hole name") : EditCommand::tr("Name the hole");
                   },
                   [](const auto&) { return EditCommand::tr("Change mode"); }},
        op);
}

} // namespace

QString EditName(const EditRecord& record)
{
    return std::visit(Overloaded{[&](const EditOperation& op) { return OperationName(record, op); },
                                 [](const ResolvedEdits&) { return EditCommand::tr("Restore edits"); }},
                      record.What());
}
