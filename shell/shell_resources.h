// SPDX-License-Identifier: Apache-2.0
#pragma once

namespace valdris {

// Registers the shell's pictures and icon (they live in a static library,
// whose resources the linker would otherwise drop).
void LoadShellResources();

}  // namespace valdris
