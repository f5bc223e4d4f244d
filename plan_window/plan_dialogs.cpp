// SPDX-License-Identifier: Apache-2.0
#include "plan_dialogs.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

#include "message_boxes.h"
#include "save_name.h"
#include "text_start.h"

namespace valdris {

namespace {

QMessageBox::Icon IconOf(QuestionTone tone) {
    return tone == QuestionTone::Warning ? QMessageBox::Warning : QMessageBox::Question;
}

QMessageBox::ButtonRole RoleOf(ButtonRole role) {
    switch (role) {
        case ButtonRole::Accept: return QMessageBox::AcceptRole;
        case ButtonRole::Destructive: return QMessageBox::DestructiveRole;
        case ButtonRole::Reject: return QMessageBox::RejectRole;
    }
    return QMessageBox::RejectRole;
}

// The system's own button for an answer that has no words of ours.
QMessageBox::StandardButton StandardOf(Answer answer) {
    switch (answer) {
        case Answer::Yes: return QMessageBox::Yes;
        case Answer::No: return QMessageBox::No;
        default: return QMessageBox::Cancel;
    }
}

}  // namespace

// Every question box of the window, built one way; a box closed without a
// button chosen answers as Escape does.
Answer QtPlanDialogs::Ask(const Question& question) {
    QMessageBox box(IconOf(question.tone), kApplicationTitle, QString::fromStdString(question.text),
                    QMessageBox::NoButton, parent_);
    std::vector<std::pair<QPushButton*, Answer>> buttons;
    for (const QuestionButton& offered : question.buttons) {
        QPushButton* button = offered.text.empty()
                                  ? box.addButton(StandardOf(offered.answer))
                                  : box.addButton(QString::fromStdString(offered.text), RoleOf(offered.role));
        if (offered.answer == question.default_answer) box.setDefaultButton(button);
        if (offered.answer == question.escape_answer) box.setEscapeButton(button);
        buttons.emplace_back(button, offered.answer);
    }
    box.exec();
    for (const auto& [button, answer] : buttons) {
        if (box.clickedButton() == button) return answer;
    }
    return question.escape_answer;
}

bool QtPlanDialogs::AskDeleteUnits(const QString& names) {
    const std::string text = QObject::tr("%1 carries measurements or field work that would be lost with it.\n"
                                         "Delete it all the same? Undo brings it back.")
                                 .arg(names)
                                 .toStdString();
    return Ask({QuestionKind::DeleteUnits,
                QuestionTone::Question,
                text,
                {{Answer::Delete, "&Delete", ButtonRole::Destructive}, {Answer::Cancel, "Cancel", ButtonRole::Reject}},
                Answer::Cancel,
                Answer::Cancel}) == Answer::Delete;
}

QString QtPlanDialogs::OpenFileName(const QString& directory) {
    return QFileDialog::getOpenFileName(parent_, QObject::tr("Open Plan"), directory,
                                        QObject::tr("Survey plans (*.vplan);;All files (*)"));
}

// The suggested name's suffix is the one the dialog adds to a name typed
// without it.
QString QtPlanDialogs::SaveFileName(const QString& title, const QString& suggested, const QString& filter) {
    QFileDialog dialog(parent_, title, suggested, filter);
    GiveSaveSuffix(dialog, QFileInfo(suggested).suffix());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().front();
}

std::optional<QString> QtPlanDialogs::AskText(const QString& title, const QString& label, const QString& text) {
    bool ok = false;
    const QString answer = QInputDialog::getText(parent_, title, label, QLineEdit::Normal, text, &ok);
    if (!ok) return std::nullopt;
    return answer;
}

std::optional<CostTexts> QtPlanDialogs::AskCosts(const QString& title, const CostTexts& costs, bool offer_all) {
    QDialog dialog(parent_);
    dialog.setWindowTitle(title);
    auto* form = new QFormLayout(&dialog);
    auto* fixed = new QLineEdit(costs.fixed, &dialog);
    auto* per_sample = new QLineEdit(costs.per_sample, &dialog);
    for (QLineEdit* box : {fixed, per_sample}) ShowStartWithoutFocus(box);
    form->addRow(QObject::tr("&Fixed cost:"), fixed);
    form->addRow(QObject::tr("Cost per &sample:"), per_sample);
    auto* all = new QCheckBox(QObject::tr("&Give these costs to every unit of the plan"), &dialog);
    all->setObjectName(QStringLiteral("costsToEveryUnit"));
    if (offer_all) form->addRow(all);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return CostTexts{fixed->text(), per_sample->text(), offer_all && all->isChecked()};
}

QString QtPlanDialogs::OpenDataFileName(const QString& directory) {
    return QFileDialog::getOpenFileName(parent_, QObject::tr("Import Measurements"), directory,
                                        QObject::tr("Measurements (*.csv *.tsv *.txt);;All files (*)"));
}

QString QtPlanDialogs::OpenBoundaryFileName(const QString& directory) {
    return QFileDialog::getOpenFileName(
        parent_, QObject::tr("Import Boundary"), directory,
        QObject::tr("Site drawings (*.geojson *.json *.shp *.kml *.kmz *.gpkg *.dxf *.txt *.xy);;All files (*)"));
}

std::optional<QString> QtPlanDialogs::AskChoice(const QString& title, const QString& label, const QStringList& choices,
                                                int offered) {
    bool ok = false;
    const QString answer = QInputDialog::getItem(parent_, title, label, choices, offered, false, &ok);
    if (!ok) return std::nullopt;
    return answer;
}

}  // namespace valdris
