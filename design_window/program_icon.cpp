// SPDX-License-Identifier: Apache-2.0
#include "program_icon.h"

#include <QSize>
#include <QString>

// The icon lives in a static library: its resources must be registered by
// name, from the global namespace, before the first use.
static void RegisterProgramIconResources() { Q_INIT_RESOURCE(valdris_power); }

namespace valdris {

QIcon ProgramIcon() {
    RegisterProgramIconResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/valdris/icons/valdris_power_16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/valdris/icons/valdris_power_32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/valdris/icons/valdris_power.svg"));
    return icon;
}

}  // namespace valdris
