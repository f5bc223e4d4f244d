// SPDX-License-Identifier: Apache-2.0
#include "shell_resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitShellResources() { Q_INIT_RESOURCE(shell); }

namespace valdris {

void LoadShellResources() {
    static const bool loaded = (InitShellResources(), true);
    (void)loaded;
}

}  // namespace valdris
