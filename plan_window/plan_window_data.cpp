// SPDX-License-Identifier: Apache-2.0
// The selected unit's measurements: pasted from the clipboard, imported from
// a file (a column chosen by its header when the file has several) or
// cleared, each one step of the plan's history.
#include <QClipboard>
#include <QGuiApplication>

#include "assessment_view.h"
#include "data_panel.h"
#include "file_bytes.h"
#include "measurement_text.h"
#include "number_text.h"
#include "message_boxes.h"
#include "plan_dialogs.h"
#include "plan_table_model.h"
#include "plan_window.h"
#include "read_progress_dialog.h"

namespace valdris {

void PlanWindow::AssessData() {
    if (!SingleSelectedRow()) return;
    ShowPanel(data_);
    data_->FocusSurveyData();
}

void PlanWindow::PasteData(UnitData which) {
    const QString text = QGuiApplication::clipboard()->text();
    SetData(which, text.toStdString(), QString());
}

void PlanWindow::ImportData(UnitData which) {
    if (!SingleSelectedRow()) return;
    const QString path = dialogs_.OpenDataFileName(PlanFolder());
    if (!path.isEmpty()) ImportDataFile(which, path);
}

void PlanWindow::ImportDataFile(UnitData which, const QString& path) {
    const Outcome<std::string> file = ReadFileBytes(path);
    if (!file) {
        messages_.Show(UnreadFileMessage("The measurements", path, file.message()), MessageIcon::Exclamation);
        return;
    }
    SetData(which, *file, path);
}

namespace {

bool SameHeader(const std::string& header, const char* name) {
    return QString::fromStdString(header).trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

}  // namespace

// The survey measurements may come with where each was taken: one other
// column as the location's id, or the columns headed x and y.
std::optional<PlaceColumns> PlanWindow::AskPlaceColumns(const std::vector<std::string>& headers,
                                                        const std::string& column) {
    QStringList choices{tr("(none)")};
    std::vector<PlaceColumns> places{PlaceColumns{}};
    int offered = 0;
    std::string x, y;
    for (const std::string& header : headers) {
        if (header == column) continue;
        if (SameHeader(header, "x")) x = header;
        if (SameHeader(header, "y")) y = header;
        if (SameHeader(header, "id")) offered = static_cast<int>(choices.size());
        choices << QString::fromStdString(header);
        places.push_back(PlaceColumns{header, {}, {}});
    }
    if (!x.empty() && !y.empty()) {
        choices << tr("%1 and %2 (x, y)").arg(QString::fromStdString(x), QString::fromStdString(y));
        places.push_back(PlaceColumns{{}, x, y});
    }
    if (choices.size() == 1) return PlaceColumns{};
    const std::optional<QString> choice =
        dialogs_.AskChoice(tr("Survey Unit Data"), tr("Where each was taken: the location &id column:"), choices, offered);
    if (!choice) return std::nullopt;
    const qsizetype index = choices.indexOf(*choice);
    return index < 0 ? PlaceColumns{} : places[static_cast<std::size_t>(index)];
}

// A text of several headed columns asks which one holds the measurements
// (and, for the survey unit, where each was taken); the reading refuses any
// other text that is not one column. A join's notice shows as a taken
// step's notices do.
void PlanWindow::SetData(UnitData which, const std::string& text, const QString& source) {
    const std::optional<std::size_t> row = SingleSelectedRow();
    if (!row) return;
    std::string column;
    PlaceColumns place;
    const std::vector<std::string> headers = ColumnHeaders(text);
    if (!headers.empty()) {
        QStringList choices;
        for (const std::string& header : headers) choices << QString::fromStdString(header);
        const std::optional<QString> choice = dialogs_.AskChoice(
            which == UnitData::Survey ? tr("Survey Unit Data") : tr("Reference Area Data"),
            tr("The &column of measurements:"), choices, static_cast<int>(FirstNumberColumn(text)));
        if (!choice) return;
        column = choice->toStdString();
        if (which == UnitData::Survey) {
            const std::optional<PlaceColumns> asked = AskPlaceColumns(headers, column);
            if (!asked) return;
            place = *asked;
        }
    }
    SurveyPlan& plan = model_->Plan();
    // The progress goes before any message about the reading shows.
    const PlanEditResult result = [&] {
        const ReadProgressDialog reading(this, tr("Reading the measurements\u2026"));
        return place.empty() ? plan.SetData(*row, which, text, column, reading.Progress())
                             : plan.SetPlacedData(*row, text, column, place, reading.Progress());
    }();
    const std::optional<Refusal> message = MessageOf(result);
    // Cancelled, the unit keeps what it had, and the user knows why.
    if (!message || message->kind == RefusalKind::ReadCancelled) return;
    const QString reason = QString::fromStdString(message->text);
    messages_.Show(result || source.isEmpty() ? reason : tr("%1 was not read:\n%2").arg(source, reason),
                   message->icon);
}

void PlanWindow::ClearData(UnitData which) {
    const std::optional<std::size_t> row = SingleSelectedRow();
    if (row) ShowRefusal(model_->Plan().ClearData(*row, which));
}

// The elevated areas are offered by their locations' ids, each with the
// size it has now.
void PlanWindow::EditAreaSize() {
    const std::optional<std::size_t> row = SingleSelectedRow();
    if (!row) return;
    const AssessmentView view = MakeAssessmentView(model_->Plan().entry(*row));
    if (view.sizable_areas.empty()) return;
    QStringList choices;
    for (const ElevatedAreaResult& area : view.sizable_areas) {
        const QString size = QString::fromStdString(WriteNumber(area.size));
        choices << (area.size_given ? tr("%1 (%2 m\u00b2)") : tr("%1 (%2 m\u00b2, A/n)"))
                       .arg(QString::fromStdString(area.location), size);
    }
    const std::optional<QString> choice = dialogs_.AskChoice(tr("Area Size"), tr("The elevated &area:"), choices, 0);
    const qsizetype index = choice ? choices.indexOf(*choice) : -1;
    if (index < 0) return;
    const ElevatedAreaResult& area = view.sizable_areas[static_cast<std::size_t>(index)];
    const std::optional<QString> text = dialogs_.AskText(
        tr("Area Size"), tr("The investigated &size of the area at %1 (m\u00b2; blank for A/n):")
                             .arg(QString::fromStdString(area.location)),
        area.size_given ? QString::fromStdString(WriteNumber(area.size)) : QString());
    if (!text) return;
    ShowRefusal(model_->Plan().SetElevatedAreaSize(*row, area.location, text->toStdString()));
}

}  // namespace valdris
