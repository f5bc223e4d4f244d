#pragma once
// A freshly loaded design window with recorded messages and a count of its
// recalculations.

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QString>
#include <memory>

#include "frm_sample_size_and_power.h"
#include "recording_messages.h"

namespace valdris::testing {

class WindowHandlersTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<frmSampleSizeandPower>(messages);
        recalculations = std::make_unique<QSignalSpy>(window.get(), &frmSampleSizeandPower::recalculated);
    }

    // Messages as "text|icon" lines, easy to compare in a table.
    std::vector<QString> Shown() const {
        std::vector<QString> lines;
        for (const RecordedMessage& m : messages.shown) {
            lines.push_back(m.text + "|" + IconName(m.icon));
        }
        return lines;
    }
    static QString IconName(MessageIcon icon) {
        switch (icon) {
        case MessageIcon::None: return "none";
        case MessageIcon::Exclamation: return "exclamation";
        case MessageIcon::Information: return "information";
        }
        return "?";
    }
    int Recalculations() const { return static_cast<int>(recalculations->count()); }
    void ResetCounts() {
        messages.Clear();
        recalculations->clear();
    }

    RecordingMessages messages;
    std::unique_ptr<frmSampleSizeandPower> window;
    std::unique_ptr<QSignalSpy> recalculations;
};

}  // namespace valdris::testing
