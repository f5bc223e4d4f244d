// SPDX-License-Identifier: Apache-2.0
#include "design_check_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "checked_design.h"
#include "result_texts.h"
#include "sample_grid.h"

namespace valdris {

DesignCheckDialog::DesignCheckDialog(TestKind test, const DesignState& state, QWidget* parent)
    : QDialog(parent), test_(test), state_(state) {
    setObjectName(QStringLiteral("frmDesignCheck"));
    setWindowTitle(tr("Design Check: %1").arg(QString::fromStdString(TestCaption(test))));
    auto* layout = new QVBoxLayout(this);
    figures_ = new QFormLayout;
    layout->addLayout(figures_);

    auto* seed_row = new QHBoxLayout;
    auto* seed_label = new QLabel(tr("&Seed:"), this);
    txtSeed = new QLineEdit(QString::number(kDefaultCheckSeed), this);
    txtSeed->setObjectName(QStringLiteral("txtSeed"));
    seed_label->setBuddy(txtSeed);
    auto* again = new QPushButton(tr("Check &Again"), this);
    again->setObjectName(QStringLiteral("cmdCheckAgain"));
    seed_row->addWidget(seed_label);
    seed_row->addWidget(txtSeed);
    seed_row->addWidget(again);
    layout->addLayout(seed_row);
    lblSeedProblem = new QLabel(this);
    lblSeedProblem->setObjectName(QStringLiteral("lblSeedProblem"));
    lblSeedProblem->hide();
    layout->addWidget(lblSeedProblem);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(again, &QPushButton::clicked, this, &DesignCheckDialog::CheckAgain);
    connect(txtSeed, &QLineEdit::returnPressed, this, &DesignCheckDialog::CheckAgain);
    ShowCheck(kDefaultCheckSeed);
}

void DesignCheckDialog::CheckAgain() {
    const Outcome<std::uint64_t> seed = ReadSeed(txtSeed->text().toStdString());
    lblSeedProblem->setVisible(!seed);
    if (!seed) {
        lblSeedProblem->setText(QString::fromStdString(seed.message()));
        return;
    }
    ShowCheck(*seed);
}

// Simulated checks of large designs take a moment: the wait is shown.
void DesignCheckDialog::ShowCheck(uint64_t seed) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CheckedDesign checked = CheckDesign(test_, state_, seed);
    QApplication::restoreOverrideCursor();
    while (figures_->rowCount() > 0) figures_->removeRow(0);
    for (const ReportLine& line : CheckLines(checked)) {
        auto* value = new QLabel(QString::fromStdString(line.value), this);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        figures_->addRow(QString::fromStdString(line.label) + QLatin1Char(':'), value);
    }
}

}  // namespace valdris
