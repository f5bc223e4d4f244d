// SPDX-License-Identifier: Apache-2.0
#pragma once
// The acceptance rules of the design inputs and their messages, shared by the
// design window and the command-line companion. Plain C++.
//
// Comparisons are made at the width the value is stored in: alpha, beta and
// sigma in single precision, the DCGL and LBGR in double.

#include <optional>
#include <string>

#include "refusal.h"

namespace valdris {

namespace rules {

// The program's messages, word for word.
inline const std::string kAlphaBetaBothLarge = "Alpha and beta cannot both be as large as 0.5.";
inline const std::string kAlphaRange = "Alpha should be between 0.0 and 0.5";
inline const std::string kBetaRange = "Beta must be between 0 and 1";
inline const std::string kSigmaNotPositive = "Standard Deviation must be greater than zero";
inline const std::string kSigmaTooLarge =
    "Values of sigma that are 10 times the DCGL indicate either\r\n"
    "poor instrumentation or a bad clean up job.\r\n"
    "It is not realistic to do a final status survey under such conditions.";
inline const std::string kLBGRAboveDCGL = "LBGR must be less than the DCGL";
inline const std::string kLBGRNegative = "LBGR cannot be less than zero, vbInformation";
inline const std::string kLBGRResetToHalf =
    "LBGR must be less than DCGL!\r\nLBGR has been reset to DCGL/2.";
inline const std::string kCheckDecimalPoint = "check decimal point.";
inline const std::string kMinimumShiftFirstLine = "Values of delta/sigma less than 0.1 result";
inline const std::string kMinimumShiftScrollLine =
    "in unrealistically large sample sizes. LBGR adjusted accordingly.";
inline const std::string kMinimumShiftSigmaLine =
    "in unrealistically large sample sizes. LBGR ajusted accordingly.";

// Messages for inputs the design itself has no rule for.
inline const std::string kDCGLUnusable =
    "The DCGL must be a number from 0.000001 to 1000000000.\r\n"
    "The previous DCGL has been kept.";
inline const std::string kSampleSizeTooLarge =
    "The required sample size is too large to calculate:\r\n"
    "the relative shift D/s is too small for this design.\r\n"
    "Lower the LBGR or sigma, or raise the DCGL.";

inline const std::string kDesignNotANumber =
    "The design gave a result that is not a number for these inputs; nothing is reported.";
inline const std::string kEntryNotPlain =
    "The DCGL and sigma must be written with digits and at most one decimal point.";

// The message of a kind, with its icon: the one place both are defined.
Refusal Message(RefusalKind kind);

// Limits of a usable DCGL, as the DCGL box can hold them (digits and a point,
// no exponent) and as the message names them. Far inside the range where the
// single-precision design quantities (the shift, the curve grid) would
// overflow or vanish, and wide enough for any unit a survey is measured in.
constexpr double kSmallestDCGL = 0.000001;
constexpr double kLargestDCGL = 1000000000;

// The smallest relative shift D/s that the LBGR bar and the sigma spin
// control may leave: below it the sample sizes grow unrealistically large.
constexpr double kMinimumRelativeShift = 0.1;

inline bool BothAtLeastHalf(float alpha, float beta) { return alpha >= 0.5f && beta >= 0.5f; }
inline bool AlphaInRange(float alpha) { return alpha > 0.0f && alpha <= 0.5f; }
inline bool BetaInRange(float beta) { return beta > 0.0f && beta <= 1.0f; }
inline bool SigmaPositive(float sigma) { return sigma > 0.0f; }
inline bool SigmaWithinTenDCGL(float sigma, double dcgl) { return static_cast<double>(sigma) <= 10 * dcgl; }
// False for NaN and infinities too.
inline bool DCGLUsable(double dcgl) { return dcgl >= kSmallestDCGL && dcgl <= kLargestDCGL; }

// --- The rules as both faces apply them: the first check that fails. -------

enum class DecisionError { Alpha, Beta };

// The joint rule comes first, then the range of the value just changed.
std::optional<Refusal> DecisionErrorRefusal(float alpha, float beta, DecisionError changed);
std::optional<Refusal> DCGLRefusal(double dcgl);
std::optional<Refusal> SigmaRefusal(float sigma, double dcgl);
// A typed LBGR above the DCGL, then one below zero.
std::optional<Refusal> LBGRRefusal(double lbgr, double dcgl);

}  // namespace rules
}  // namespace valdris
