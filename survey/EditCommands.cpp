#include "survey/EditCommands.h"

#include "survey/KestrixDoc.h"

#include <optional>

namespace survey {
namespace {

std::optional<EditOperation> EditOfCommand(int id)
{
    switch (id) {
    case ID_EDIT_DELETE_OBSERVATIONS: return edit::ToggleDeleteMode{};
    case ID_EDIT_ADD_CONTROL_POINTS: return edit::ToggleControlMode{};
    case ID_EDIT_CLEAR_CONTROL_POINTS: return edit::ClearControlPoints{};
    case ID_EDIT_FIT_DEGREE_1: return edit::SetFitDegree{1};
    case ID_EDIT_FIT_DEGREE_2: return edit::SetFitDegree{2};
    case ID_EDIT_FIT_DEGREE_3: return edit::SetFitDegree{3};
    case ID_EDIT_FIT_DEGREE_4: return edit::SetFitDegree{4};
    case ID_ROLL_NO_ADJUSTMENT: return edit::SetRollAdjustment{0};
    case ID_ROLL_ADD_90: return edit::SetRollAdjustment{90};
    case ID_ROLL_ADD_180: return edit::SetRollAdjustment{180};
    case ID_ROLL_SUBTRACT_90: return edit::SetRollAdjustment{-90};
    default: return std::nullopt;
    }
}

} // namespace

bool CKestrixDoc::OnCommand(int id)
{
    const std::optional<EditOperation> op = EditOfCommand(id);
    if (!op)
        return false;
    Apply(*op);
    return true;
}

bool CKestrixDoc::IsChecked(int id) const
{
    // The degree items show no check mark of the document's.
    const std::optional<EditOperation> op = EditOfCommand(id);
    return op && !std::holds_alternative<edit::SetFitDegree>(*op) && IsInForce(*this, *op);
}

} // namespace survey
