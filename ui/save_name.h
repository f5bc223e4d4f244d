// SPDX-License-Identifier: Apache-2.0
#pragma once
// The one step every save dialog's answer takes before anything is written:
// the suffix added when the name was typed without it, and the user asked
// before that name replaces a file the dialog never asked about.

#include <QString>

class QFileDialog;

namespace valdris {

class MessageBoxes;

// The name to write, or empty when the user would not replace the file.
// The suffix is given with its dot (".vplan"); an empty choice stays empty.
QString ConfirmedSaveName(MessageBoxes& messages, const QString& chosen, const QString& suffix);

// A save dialog that adds the suffix itself, so that its own question about
// replacing a file is about the name that is written.
void GiveSaveSuffix(QFileDialog& dialog, const QString& suffix);

}  // namespace valdris
