// SPDX-License-Identifier: Apache-2.0
#include "input_rules.h"

namespace valdris::rules {

Refusal Message(RefusalKind kind) {
    using K = RefusalKind;
    constexpr MessageIcon kNone = MessageIcon::None;
    constexpr MessageIcon kStop = MessageIcon::Exclamation;
    switch (kind) {
    case K::AlphaBetaBothLarge: return {kAlphaBetaBothLarge, kStop, kind};
    case K::AlphaRange: return {kAlphaRange, kStop, kind};
    case K::BetaRange: return {kBetaRange, kStop, kind};
    case K::SigmaNotPositive: return {kSigmaNotPositive, kStop, kind};
    case K::SigmaTooLarge: return {kSigmaTooLarge, kNone, kind};
    case K::LBGRAboveDCGL: return {kLBGRAboveDCGL, kStop, kind};
    case K::LBGRNegative: return {kLBGRNegative, kNone, kind};
    case K::LBGRResetToHalf: return {kLBGRResetToHalf, MessageIcon::Information, kind};
    case K::CheckDecimalPoint: return {kCheckDecimalPoint, kNone, kind};
    case K::MinimumShiftScroll: return {kMinimumShiftFirstLine + "\r\n" + kMinimumShiftScrollLine, kNone, kind};
    case K::MinimumShiftSigma: return {kMinimumShiftFirstLine + "\r\n" + kMinimumShiftSigmaLine, kNone, kind};
    case K::DCGLUnusable: return {kDCGLUnusable, kStop, kind};
    case K::SampleSizeTooLarge: return {kSampleSizeTooLarge, kStop, kind};
    case K::DesignNotANumber: return {kDesignNotANumber, kStop, kind};
    case K::EntryNotPlain: return {kEntryNotPlain, kStop, kind};
    }
    return {kDesignNotANumber, kStop, K::DesignNotANumber};
}

std::optional<Refusal> DecisionErrorRefusal(float alpha, float beta, DecisionError changed) {
    if (BothAtLeastHalf(alpha, beta)) return Message(RefusalKind::AlphaBetaBothLarge);
    if (changed == DecisionError::Alpha && !AlphaInRange(alpha)) return Message(RefusalKind::AlphaRange);
    if (changed == DecisionError::Beta && !BetaInRange(beta)) return Message(RefusalKind::BetaRange);
    return std::nullopt;
}

std::optional<Refusal> DCGLRefusal(double dcgl) {
    if (!DCGLUsable(dcgl)) return Message(RefusalKind::DCGLUnusable);
    return std::nullopt;
}

// A number too large to read is infinite and fails the ten-times rule.
std::optional<Refusal> SigmaRefusal(float sigma, double dcgl) {
    if (!SigmaPositive(sigma)) return Message(RefusalKind::SigmaNotPositive);
    if (!SigmaWithinTenDCGL(sigma, dcgl)) return Message(RefusalKind::SigmaTooLarge);
    return std::nullopt;
}

std::optional<Refusal> LBGRRefusal(double lbgr, double dcgl) {
    if (dcgl < lbgr) return Message(RefusalKind::LBGRAboveDCGL);
    if (lbgr < 0) return Message(RefusalKind::LBGRNegative);
    return std::nullopt;
}

}  // namespace valdris::rules
