// SPDX-License-Identifier: Apache-2.0
#include "input_rules.h"

namespace valdris::rules {

Refusal Message(RefusalKind kind) {
    using K = RefusalKind;
    constexpr MessageIcon kNone = MessageIcon::None;
    constexpr MessageIcon kStop = MessageIcon::Exclamation;
    switch (kind) {
    case K::AlphaBetaBothLarge: return {kind, kAlphaBetaBothLarge, kStop};
    case K::AlphaRange: return {kind, kAlphaRange, kStop};
    case K::BetaRange: return {kind, kBetaRange, kStop};
    case K::SigmaNotPositive: return {kind, kSigmaNotPositive, kStop};
    case K::SigmaTooLarge: return {kind, kSigmaTooLarge, kNone};
    case K::LBGRAboveDCGL: return {kind, kLBGRAboveDCGL, kStop};
    case K::LBGRNegative: return {kind, kLBGRNegative, kNone};
    case K::LBGRResetToHalf: return {kind, kLBGRResetToHalf, MessageIcon::Information};
    case K::CheckDecimalPoint: return {kind, kCheckDecimalPoint, kNone};
    case K::MinimumShiftScroll: return {kind, kMinimumShiftFirstLine + "\r\n" + kMinimumShiftScrollLine, kNone};
    case K::MinimumShiftSigma: return {kind, kMinimumShiftFirstLine + "\r\n" + kMinimumShiftSigmaLine, kNone};
    case K::DCGLUnusable: return {kind, kDCGLUnusable, kStop};
    case K::SampleSizeTooLarge: return {kind, kSampleSizeTooLarge, kStop};
    case K::DesignNotANumber: return {kind, kDesignNotANumber, kStop};
    case K::EntryNotPlain: return {kind, kEntryNotPlain, kStop};
    default: break;  // the other floors' kinds build their own messages
    }
    return {K::DesignNotANumber, kDesignNotANumber, kStop};
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
