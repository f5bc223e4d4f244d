// SPDX-License-Identifier: Apache-2.0
#include "read_progress.h"

namespace valdris {

Refusal ReadCancelledRefusal() { return {RefusalKind::ReadCancelled, "The reading was cancelled.", MessageIcon::None}; }

}  // namespace valdris
