// SPDX-License-Identifier: Apache-2.0
#include "refusal_text.h"

namespace valdris::cli {

std::string RefusalText(const Refusal& refusal) {
    if (refusal.kind == RefusalKind::DCGLUnusable) return refusal.text.substr(0, refusal.text.find("\r\n"));
    return refusal.text;
}

std::optional<std::string> RefusalText(const std::optional<Refusal>& refusal) {
    if (!refusal) return std::nullopt;
    return RefusalText(*refusal);
}

}  // namespace valdris::cli
