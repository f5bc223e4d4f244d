// SPDX-License-Identifier: Apache-2.0
#include "context_ids.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QObject>
#include <QVariant>

#include <utility>

namespace valdris {
namespace {

// The number is kept on the object itself, so it lives and dies with it.
constexpr char kContextProperty[] = "valdrisHelpContextID";

struct HelpState {
    QString help_file;
    std::function<void()> close_viewer;
};

HelpState& State() {
    static HelpState state;
    return state;
}

}  // namespace

void SetHelpContextID(QObject* object, int context_id) {
    if (object) object->setProperty(kContextProperty, context_id);
}

int HelpContextID(const QObject* object) {
    for (const QObject* o = object; o; o = o->parent()) {
        const QVariant id = o->property(kContextProperty);
        if (id.isValid()) return id.toInt();
    }
    return 0;
}

QString HelpFilePath(const QString& program_directory, QChar separator) {
    // Blanks are legal in directory names here, so the directory is taken as
    // given: a root such as "/" or "C:\" already ends in the separator and
    // must not get a second one; anything else needs one.
    if (program_directory.endsWith(separator)) return program_directory + kHelpFileName;
    return program_directory + separator + kHelpFileName;
}

QString FindHelpFile(const QString& program_directory) {
    const QString beside = HelpFilePath(program_directory, QLatin1Char('/'));
    if (QFileInfo::exists(beside)) return beside;
    const QString shared =
        QDir::cleanPath(program_directory + QStringLiteral("/../share/valdris-power/") + kHelpFileName);
    return QFileInfo::exists(shared) ? shared : beside;
}

// The help viewer is a window of this program and needs no owner handle.
void SetupHelp() { State().help_file = FindHelpFile(QCoreApplication::applicationDirPath()); }

void CloseHelp() {
    // The viewer's answer does not matter, nor whether one was ever open.
    if (State().close_viewer) State().close_viewer();
}

QString HelpFile() { return State().help_file; }

void SetHelpViewerCloser(std::function<void()> closer) { State().close_viewer = std::move(closer); }

}  // namespace valdris
