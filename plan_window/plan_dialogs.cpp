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

#include "message_boxes.h"
#include "save_name.h"
#include "text_start.h"

namespace valdris {

// The buttons carry access keys of their own: the standard ones have none.
UnsavedAnswer QtPlanDialogs::AskUnsaved(const QString& plan_name) {
    QMessageBox box(QMessageBox::Question, kApplicationTitle,
                    QObject::tr("The plan %1 has unsaved changes.\nSave them?").arg(plan_name), QMessageBox::NoButton,
                    parent_);
    QPushButton* save = box.addButton(QObject::tr("&Save"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QObject::tr("&Don't Save"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QObject::tr("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return UnsavedAnswer::Save;
    if (box.clickedButton() == discard) return UnsavedAnswer::Discard;
    return UnsavedAnswer::Cancel;
}

bool QtPlanDialogs::AskDeleteUnits(const QString& names) {
    QMessageBox box(QMessageBox::Question, kApplicationTitle,
                    QObject::tr("%1 carries measurements or field work that would be lost with it.\n"
                                "Delete it all the same? Undo brings it back.")
                        .arg(names),
                    QMessageBox::NoButton, parent_);
    QPushButton* remove = box.addButton(QObject::tr("&Delete"), QMessageBox::DestructiveRole);
    QPushButton* keep = box.addButton(QObject::tr("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    box.exec();
    return box.clickedButton() == remove;
}

bool QtPlanDialogs::AskRecover(const QString& autosave_path) {
    return QMessageBox::question(parent_, kApplicationTitle,
                                 QObject::tr("A plan with changes that were never saved was kept in\n%1\n"
                                             "after the program last ended. Open it?")
                                     .arg(autosave_path),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

ChangedAnswer QtPlanDialogs::AskChangedOnDisk(const QString& plan_name) {
    QMessageBox box(QMessageBox::Warning, kApplicationTitle,
                    QObject::tr("The plan %1 was changed by another program since it was opened here.\n"
                                "Saving replaces those changes.")
                        .arg(plan_name),
                    QMessageBox::NoButton, parent_);
    QPushButton* overwrite = box.addButton(QObject::tr("&Overwrite"), QMessageBox::DestructiveRole);
    QPushButton* save_as = box.addButton(QObject::tr("Save &As\u2026"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(save_as);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == overwrite) return ChangedAnswer::Overwrite;
    if (box.clickedButton() == save_as) return ChangedAnswer::SaveAs;
    return ChangedAnswer::Cancel;
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
