// SPDX-License-Identifier: Apache-2.0
#include "window_steps_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

#include "known_messages.h"
#include "number_text.h"
#include "stored_inputs.h"
#include "symbol_label.h"

namespace valdris::testing {

void WindowStepsFixture::SetUp() {
    window = std::make_unique<frmSampleSizeandPower>(messages);
    recalculations = std::make_unique<QSignalSpy>(window.get(), &frmSampleSizeandPower::recalculated);
}

void WindowStepsFixture::Run(const std::string& step) {
    const std::size_t blank = step.find(' ');
    const std::string verb = step.substr(0, blank);
    const QString arg = blank == std::string::npos ? QString() : QString::fromStdString(step.substr(blank + 1));
    frmSampleSizeandPower& w = *window;
    if (verb == "alpha") {
        w.Cboalpha->setEditText(arg);
        w.Form().LeaveAlpha();
    } else if (verb == "beta") {
        w.CboBeta->setEditText(arg);
        w.Form().LeaveBeta();
    } else if (verb == "sigma" || verb == "text-sigma") {
        w.txtSigma->setText(arg);
        if (verb == "sigma") w.Form().LeaveSigma();
    } else if (verb == "dcgl" || verb == "text-dcgl") {
        w.txtDCGL->setText(arg);
        if (verb == "dcgl") w.Form().LeaveDCGL();
    } else if (verb == "lbgr") {
        w.txtLBGR->setText(arg);
        w.Form().LeaveLBGR();
    } else if (verb == "bar") {
        w.ScrLBGR->setValue(arg.toInt());
    } else if (verb == "up") {
        w.Form().SigmaUp();
    } else if (verb == "down") {
        w.Form().SigmaDown();
    } else if (verb == "chart") {
        w.PicChart_Click();
    } else if (verb == "wrs") {
        w.OptWRSTest->setChecked(true);
    } else {
        ADD_FAILURE() << "unknown step " << step;
    }
}

void WindowStepsFixture::Expect(const std::string& name_equals_value) const {
    const auto [name, expected, number] = ReadExpectation(name_equals_value);
    if (ExpectStoredInput(window->Form().State(), name, number)) {
        return;
    } else if (const auto* shift = window->findChild<SymbolLabel*>(QString::fromStdString(name))) {
        EXPECT_EQ(shift->caption().toStdString(), expected);
    } else if (const auto* bar = window->findChild<QScrollBar*>(QString::fromStdString(name))) {
        EXPECT_EQ(bar->value(), static_cast<int>(number));
    } else if (const auto* combo = window->findChild<QComboBox*>(QString::fromStdString(name))) {
        EXPECT_EQ(combo->currentText().toStdString(), expected);
    } else if (const auto* box = window->findChild<QLineEdit*>(QString::fromStdString(name))) {
        EXPECT_EQ(box->text().toStdString(), expected) << name;
    } else if (const auto* label = window->findChild<QLabel*>(QString::fromStdString(name))) {
        EXPECT_EQ(label->text().toStdString(), expected) << name;
    } else {
        ADD_FAILURE() << "no control " << name;
    }
}

std::vector<std::string> WindowStepsFixture::Shown() const {
    std::vector<std::string> names;
    for (const RecordedMessage& m : messages.shown) {
        const KnownMessage* known = FindKnownMessage(m.text);
        if (!known) {
            names.push_back("unknown: " + m.text.toStdString());
        } else if (known->icon != m.icon) {
            names.push_back(known->name + " with another icon");
        } else {
            names.push_back(known->name);
        }
    }
    return names;
}

}  // namespace valdris::testing
