// SPDX-License-Identifier: Apache-2.0
// The selected unit in the field: the field panel's edits, each one step of
// the plan's history, and its locations written out.
#include <QFileInfo>

#include "field_panel.h"
#include "field_texts.h"
#include "file_bytes.h"
#include "message_boxes.h"
#include "plan_dialogs.h"
#include "plan_table_model.h"
#include "plan_window.h"
#include "report_file.h"
#include "safe_file.h"

namespace valdris {

void PlanWindow::ConnectFieldPanel() {
    field_->edited = [this](PlanField field, const QString& text, const SizeTexts& size) {
        EditField(field, text, size);
    };
    field_->area_factors_applied = [this](const std::vector<AreaFactorTexts>& rows) {
        if (const auto row = SingleSelectedRow()) FieldEdited(model_->Plan().SetAreaFactors(*row, rows));
    };
    field_->nuclides_applied = [this](const std::vector<NuclideTexts>& rows) {
        if (const auto row = SingleSelectedRow()) FieldEdited(model_->Plan().SetNuclides(*row, rows));
    };
    field_->new_seed = [this] {
        if (const auto row = SingleSelectedRow()) FieldEdited(model_->Plan().NewSeed(*row));
    };
    field_->export_locations = [this] { ExportLocations(); };
}

void PlanWindow::EditField(PlanField field, const QString& text, const SizeTexts& size) {
    const std::optional<std::size_t> row = SingleSelectedRow();
    if (!row) return;
    // Nothing while a width or a height waits for the other.
    if (auto result = model_->Plan().EditFieldBox(*row, field, text.toStdString(), size)) FieldEdited(*result);
}

// A refused edit says why, and the panel shows the unit's values again.
void PlanWindow::FieldEdited(const PlanEditResult& result) {
    ShowRefusal(result);
    if (!result) UpdatePanels();
}

bool PlanWindow::ExportLocations() {
    const std::optional<std::size_t> row = SingleSelectedRow();
    if (!row) return false;
    const PlanEntry& entry = model_->Plan().entry(*row);
    if (!entry.field.layout) return false;
    const std::string csv = LocationsCsv(*entry.field.layout);
    const QString target = AskExportName(tr("Export Locations"), QStringLiteral(".csv"), tr("CSV files (*.csv)"));
    if (target.isEmpty()) return false;
    const QString reason = WriteBytes(target, csv);
    if (reason.isEmpty()) return true;
    messages_.Show(QString::fromStdString(FileFailureMessage("The locations", target, reason)),
                   MessageIcon::Exclamation);
    return false;
}

}  // namespace valdris
