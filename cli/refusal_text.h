// SPDX-License-Identifier: Apache-2.0
#pragma once
// A refused design as the companion reports it.

#include <optional>
#include <string>

#include "input_rules.h"

namespace valdris::cli {

// The rule's message, less the window's "The previous DCGL has been kept.":
// here there is no previous DCGL to keep.
std::string RefusalText(const Refusal& refusal);
std::optional<std::string> RefusalText(const std::optional<Refusal>& refusal);

}  // namespace valdris::cli
