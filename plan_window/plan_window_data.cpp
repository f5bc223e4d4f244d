// SPDX-License-Identifier: Apache-2.0
// The selected unit's measurements: pasted from the clipboard, imported from
// a file (a column chosen by its header when the file has several) or
// cleared, each one step of the plan's history.
#include <QClipboard>
#include <QGuiApplication>

#include "data_panel.h"
#include "file_bytes.h"
#include "measurement_text.h"
#include "message_boxes.h"
#include "plan_dialogs.h"
#include "plan_table_model.h"
#include "plan_window.h"

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

// A text of several headed columns asks which one holds the measurements;
// the reading refuses any other text that is not one column.
void PlanWindow::SetData(UnitData which, const std::string& text, const QString& source) {
    const std::optional<std::size_t> row = SingleSelectedRow();
    if (!row) return;
    std::string column;
    const std::vector<std::string> headers = ColumnHeaders(text);
    if (!headers.empty()) {
        QStringList choices;
        for (const std::string& header : headers) choices << QString::fromStdString(header);
        const std::optional<QString> choice = dialogs_.AskChoice(
            which == UnitData::Survey ? tr("Survey Unit Data") : tr("Reference Area Data"),
            tr("The &column of measurements:"), choices, static_cast<int>(FirstNumberColumn(text)));
        if (!choice) return;
        column = choice->toStdString();
    }
    const PlanEditResult result = model_->Plan().SetData(*row, which, text, column);
    const std::optional<Refusal> message = MessageOf(result);
    if (result || !message) return;
    const QString reason = QString::fromStdString(message->text);
    messages_.Show(source.isEmpty() ? reason : tr("%1 was not read:\n%2").arg(source, reason), message->icon);
}

void PlanWindow::ClearData(UnitData which) {
    const std::optional<std::size_t> row = SingleSelectedRow();
    if (row) ShowRefusal(model_->Plan().ClearData(*row, which));
}

}  // namespace valdris
