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
#include "file_names.h"
#include "report_file.h"
#include "report_printing.h"
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
    field_->save_map = [this] { SaveMap(); };
    field_->print_map = [this] { PrintMap(); };
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
    const std::string csv = LocationsCsv(*entry.field.layout);
    const QString target = AskExportName(tr("Export Locations"), QStringLiteral(".csv"), tr("CSV files (*.csv)"));
    if (target.isEmpty()) return false;
    const QString reason = WriteBytes(target, csv);
    if (reason.isEmpty()) return true;
    messages_.Show(QString::fromStdString(FileFailureMessage("The locations", target, reason)),
                   MessageIcon::Exclamation);
    return false;
}

// The selected unit's map on a page of its own, for the field crew; none
// for a unit not laid out.
std::optional<MapPage> PlanWindow::SelectedMapPage() const {
    const std::optional<std::size_t> row = SingleSelectedRow();
    if (!row) return std::nullopt;
    const PlanEntry& entry = model_->Plan().entry(*row);
    if (!entry.field.layout) return std::nullopt;
    return MapPage{DisplayName(), QString::fromStdString(entry.unit.name), *entry.field.layout, ReportTime()};
}

bool PlanWindow::SaveMap() {
    const std::optional<MapPage> page = SelectedMapPage();
    if (!page) return false;
    const QString target = AskExportName(tr("Save Map as PDF"), QStringLiteral(".pdf"), tr("PDF files (*.pdf)"));
    if (target.isEmpty()) return false;
    const Outcome<Done> written = WriteMapPage(*page, target.toStdString());
    if (written) return true;
    messages_.Show(QString::fromStdString(written.message()), MessageIcon::Exclamation);
    return false;
}

void PlanWindow::PrintMap() {
    const std::optional<MapPage> found = SelectedMapPage();
    if (!found) return;
    const MapPage& page = *found;
    const std::string stem = DisplayName().toStdString() + " - " + page.unit.toStdString() + " - map";
    PrintWithPreview({QString::fromStdString(FileNameStem(stem, "Map")), tr("Print Map"), "The map",
                      [&page](QPainter& painter, QSizeF area) { PaintMapPage(painter, area, page); },
                      [&page](const std::string& path, ReadOnlyFile read_only, const QPageLayout& layout) {
                          return WriteMapPage(page, path, read_only, &layout);
                      }},
                     messages_, this);
}

}  // namespace valdris
