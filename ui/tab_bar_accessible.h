// SPDX-License-Identifier: Apache-2.0
#pragma once
// Tab bars as screen readers hear them. Qt's own interface says the current
// tab is focused wherever the keyboard is, so that a window seems to hold
// two focused objects; here a tab is focused only while it is the current
// one and its bar has the keyboard.

namespace valdris {

// Serves every tab bar whose interface is asked for from then on; calling
// it again does nothing.
void InstallTabBarAccessible();

}  // namespace valdris
