// SPDX-License-Identifier: Apache-2.0
// The selected unit in the field: the field panel's edits, each one step of
// the plan's history, and its locations written out.
#include <QFileInfo>

#include "field_panel.h"
#include "field_texts.h"
#include "file_bytes.h"
#include "file_names.h"
#include "locations_export.h"
#include "plan_document.h"
#include "message_boxes.h"
#include "plan_dialogs.h"
#include "plan_table_model.h"
#include "plan_window.h"
#include "file_names.h"
#include "report_file.h"
#include "report_printing.h"
#include "safe_file.h"
#include "save_name.h"
#include "site_boundary.h"

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
    field_->import_boundary = [this] { ImportBoundary(); };
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

// A refused edit says why, and the panel shows the unit's values again. A
// box's text is taken as it loses the focus, a menu opening over it included.
void PlanWindow::FieldEdited(const PlanEditResult& result) {
    if (const std::optional<Refusal> message = MessageOf(result)) ShowRefusalOnceFree(*message);
    if (!result) UpdatePanels();
}

// The format follows the name's extension, which the dialog's filter
// gives; a name without one of them is a CSV file, as it always was.
bool PlanWindow::ExportLocations() {
    const std::optional<std::size_t> row = SingleSelectedRow();
    if (!row) return false;
    const PlanEntry& entry = model_->Plan().entry(*row);
    if (!entry.field.layout) return false;
    const SampleLayout& layout = *entry.field.layout;
    // The dialog itself says when the file will hold fewer locations than
    // the unit needs samples.
    QString title = tr("Export Locations");
    if (layout.MoreLocationsNeeded()) {
        title = tr("Export Locations - %1").arg(QString::fromStdString(MoreLocationsNote(layout)));
    }
    const QString suggested = QString::fromStdString(LocationsFileName(document_, entry.unit.name));
    QString target = dialogs_.SaveFileName(
        title, suggested, tr("CSV files (*.csv);;GeoJSON files (*.geojson);;KML files (*.kml);;GPX files (*.gpx)"));
    if (target.isEmpty()) return false;
    std::optional<LocationsFormat> format = LocationsFormatOf(target.toStdString());
    if (!format) {
        target = ConfirmedSaveName(messages_, target, QStringLiteral(".csv"));
        if (target.isEmpty()) return false;
        format = LocationsFormat::Csv;
    }
    if (*format == LocationsFormat::Csv && layout.boundary.crs.empty()) {
        const QString reason = WriteBytes(target, LocationsCsv(layout, kSetOutDecimals));
        if (reason.isEmpty()) return true;
        messages_.Show(QString::fromStdString(FileFailureMessage("The locations", target, reason)),
                       MessageIcon::Exclamation);
        return false;
    }
    const Outcome<Done> written = WriteLocations(layout, *format, target.toStdString());
    if (written) return true;
    messages_.Show(QString::fromStdString(written.message()), MessageIcon::Exclamation);
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

bool PlanWindow::ImportBoundary() {
    const std::optional<std::size_t> row = SingleSelectedRow();
    if (!row) return false;
    const QString path = dialogs_.OpenBoundaryFileName(PlanFolder());
    if (path.isEmpty()) return false;
    const BoundarySource source{path.toStdString(), ""};
    const auto features = ReadBoundaryFeatures(source);
    if (!features) {
        messages_.Show(QString::fromStdString(features.message()), MessageIcon::Exclamation);
        return false;
    }
    std::size_t chosen = 0;
    if (features->size() > 1) {
        QStringList captions;
        for (std::size_t k = 0; k < features->size(); ++k) {
            captions << QString::fromStdString(FeatureCaption((*features)[k], k));
        }
        const QString each = tr("Make a unit of each");
        const auto answer =
            dialogs_.AskChoice(tr("Import Boundary"), tr("The polygon for this unit:"), captions << each, 0);
        if (answer == each) return MakeBoundaryUnits(*row, source, *features);
        const qsizetype index = answer ? captions.indexOf(*answer) : -1;
        if (index < 0) return false;
        chosen = static_cast<std::size_t>(index);
    }
    const auto measured = MeasureFeature(source, (*features)[chosen]);
    if (!measured) {
        messages_.Show(QString::fromStdString(measured.message()), MessageIcon::Exclamation);
        return false;
    }
    const PlanEditResult result = model_->Plan().SetBoundary(*row, measured->boundary, measured->area);
    FieldEdited(result);
    return static_cast<bool>(result);
}

// Each feature a new unit after the plan's last, a copy of the row's inputs
// named by the feature's caption; one refused feature adds none.
bool PlanWindow::MakeBoundaryUnits(std::size_t row, const BoundarySource& source,
                                   const std::vector<BoundaryFeature>& features) {
    std::vector<SurveyPlan::NamedBoundary> units;
    for (std::size_t k = 0; k < features.size(); ++k) {
        const auto measured = MeasureFeature(source, features[k]);
        if (!measured) {
            messages_.Show(QString::fromStdString(measured.message()), MessageIcon::Exclamation);
            return false;
        }
        units.push_back({FeatureCaption(features[k], k), measured->boundary, measured->area});
    }
    SurveyPlan& plan = model_->Plan();
    const std::size_t first = plan.size();
    const PlanEditResult result = plan.AddBoundaryUnits(row, units);
    ShowRefusal(result);
    if (result) SelectRow(first);
    return static_cast<bool>(result);
}

}  // namespace valdris
