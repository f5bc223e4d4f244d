// SPDX-License-Identifier: Apache-2.0
// The selected unit in the field: the field panel's edits, each one step of
// the plan's history, and its locations written out.
#include <QFileInfo>

#include "field_panel.h"
#include "field_texts.h"
#include "file_bytes.h"
#include "file_names.h"
#include "plan_document.h"
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
    field_->refused = [this](const Refusal& refusal) {
        messages_.Show(QString::fromStdString(refusal.text), refusal.icon);
    };
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
    if (!result.accepted) UpdatePanels();
}

bool PlanWindow::ExportLocations() {
    const std::optional<std::size_t> row = SingleSelectedRow();
    if (!row) return false;
    const PlanEntry& entry = model_->Plan().entry(*row);
    if (!entry.field.layout) return false;
    const SampleLayout& layout = *entry.field.layout;
    const std::string csv = LocationsCsv(layout, kSetOutDecimals);
    // The dialog itself says when the file will hold fewer locations than
    // the unit needs samples.
    QString title = tr("Export Locations");
    if (layout.MoreLocationsNeeded()) {
        title = tr("Export Locations - %1").arg(QString::fromStdString(MoreLocationsNote(layout)));
    }
    const QString suggested = QString::fromStdString(LocationsFileName(document_, entry.unit.name));
    QString target = dialogs_.SaveFileName(title, suggested, tr("CSV files (*.csv)"));
    if (target.isEmpty()) return false;
    target = QString::fromStdString(WithFileSuffix(target.toStdString(), ".csv"));
    const QString reason = WriteBytes(target, csv);
    if (reason.isEmpty()) return true;
    messages_.Show(QString::fromStdString(FileFailureMessage("The locations", target, reason)),
                   MessageIcon::Exclamation);
    return false;
}

}  // namespace valdris
