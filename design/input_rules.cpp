// SPDX-License-Identifier: Apache-2.0
#include "input_rules.h"

namespace valdris::rules {

std::optional<Refusal> DecisionErrorRefusal(float alpha, float beta, DecisionError changed) {
    if (BothAtLeastHalf(alpha, beta)) return Refusal{kAlphaBetaBothLarge, MessageIcon::Exclamation};
    if (changed == DecisionError::Alpha && !AlphaInRange(alpha)) return Refusal{kAlphaRange, MessageIcon::Exclamation};
    if (changed == DecisionError::Beta && !BetaInRange(beta)) return Refusal{kBetaRange, MessageIcon::Exclamation};
    return std::nullopt;
}

std::optional<Refusal> DCGLRefusal(double dcgl) {
    if (!DCGLUsable(dcgl)) return Refusal{kDCGLUnusable, MessageIcon::Exclamation};
    return std::nullopt;
}

// A number too large to read is infinite and fails the ten-times rule.
std::optional<Refusal> SigmaRefusal(float sigma, double dcgl) {
    if (!SigmaPositive(sigma)) return Refusal{kSigmaNotPositive, MessageIcon::Exclamation};
    if (!SigmaWithinTenDCGL(sigma, dcgl)) return Refusal{kSigmaTooLarge, MessageIcon::None};
    return std::nullopt;
}

std::optional<Refusal> LBGRRefusal(double lbgr, double dcgl) {
    if (dcgl < lbgr) return Refusal{kLBGRAboveDCGL, MessageIcon::Exclamation};
    if (lbgr < 0) return Refusal{kLBGRNegative, MessageIcon::None};
    return std::nullopt;
}

}  // namespace valdris::rules
