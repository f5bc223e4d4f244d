// SPDX-License-Identifier: Apache-2.0
#pragma once
// The program's icon, carried by the design window and the help viewer.

#include <QIcon>

namespace valdris {

QIcon ProgramIcon();

}  // namespace valdris
