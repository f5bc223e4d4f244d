// SPDX-License-Identifier: Apache-2.0
#pragma once
// Loads one of the program's own modules (the drawing module, the geometry
// module) by its path, after checking the file and its folder: the dynamic
// loader runs whatever it maps. Plain C++.

#include <string>
#include <vector>

namespace valdris {

// The folder of the running program, as the kernel knows it (independent of
// the working directory and of how it was called); empty when unknown.
std::string ProgramFolder();

// The first candidate that exists, checked and loaded, and its entry point
// (a function taking nothing) looked up; nullptr with a readable reason. A
// candidate that exists but cannot be used stops the search: a later one
// must not stand in for a module that was tampered with.
void* LoadPrivateModule(const std::vector<std::string>& candidates, const char* entry_point, std::string& reason);

}  // namespace valdris
