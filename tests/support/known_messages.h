// SPDX-License-Identifier: Apache-2.0
#pragma once
// Every message the design window may show, with its icon and a short name
// for step tables ("joint", "adjusted").

#include <QString>
#include <string>
#include <vector>

#include "input_rules.h"

namespace valdris::testing {

struct KnownMessage {
    std::string name;
    std::string text;
    MessageIcon icon;
};

inline const std::vector<KnownMessage>& KnownMessages() {
    using namespace rules;
    static const std::vector<KnownMessage> known = {
        {"joint", kAlphaBetaBothLarge, MessageIcon::Exclamation},
        {"alpha", kAlphaRange, MessageIcon::Exclamation},
        {"beta", kBetaRange, MessageIcon::Exclamation},
        {"sigma<=0", kSigmaNotPositive, MessageIcon::Exclamation},
        {"sigma>10", kSigmaTooLarge, MessageIcon::None},
        {"lbgr>dcgl", kLBGRAboveDCGL, MessageIcon::Exclamation},
        {"lbgr<0", kLBGRNegative, MessageIcon::None},
        {"reset", kLBGRResetToHalf, MessageIcon::Information},
        {"point", kCheckDecimalPoint, MessageIcon::None},
        {"adjusted", kMinimumShiftFirstLine + "\r\n" + kMinimumShiftScrollLine, MessageIcon::None},
        {"ajusted", kMinimumShiftFirstLine + "\r\n" + kMinimumShiftSigmaLine, MessageIcon::None},
        {"dcgl?", kDCGLUnusable, MessageIcon::Exclamation},
        {"size", kSampleSizeTooLarge, MessageIcon::Exclamation},
    };
    return known;
}

// The known message with this text, or nothing.
inline const KnownMessage* FindKnownMessage(const QString& text) {
    for (const KnownMessage& known : KnownMessages()) {
        if (QString::fromStdString(known.text) == text) return &known;
    }
    return nullptr;
}

}  // namespace valdris::testing
