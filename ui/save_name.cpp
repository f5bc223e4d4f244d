// SPDX-License-Identifier: Apache-2.0
#include "save_name.h"

#include <QFile>
#include <QFileDialog>

#include "file_names.h"
#include "message_boxes.h"

namespace valdris {

QString ConfirmedSaveName(MessageBoxes& messages, const QString& chosen, const QString& suffix) {
    if (chosen.isEmpty()) return chosen;
    const NameToSave name = NameToSaveAs(QFile::encodeName(chosen).toStdString(), QFile::encodeName(suffix).toStdString());
    const QString path = QFile::decodeName(QByteArray::fromStdString(name.path));
    if (!name.ask_to_replace) return path;
    // The wording of the file dialog's own question.
    const QString question = QObject::tr("%1 already exists.\nDo you want to replace it?").arg(path);
    return messages.AskYesNo(question) ? path : QString();
}

void GiveSaveSuffix(QFileDialog& dialog, const QString& suffix) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix.startsWith(QLatin1Char('.')) ? suffix.mid(1) : suffix);
}

}  // namespace valdris
