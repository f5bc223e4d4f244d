// SPDX-License-Identifier: Apache-2.0
#pragma once
// The questions the plan window asks (the file commands' questions, a file
// name, a name, costs), behind one interface so that tests can answer them
// without a modal loop.

#include <QString>
#include <QStringList>
#include <optional>

#include "question.h"

class QWidget;

namespace valdris {

struct CostTexts {
    QString fixed;
    QString per_sample;
    bool all_units = false;  // the defaults given to every unit too
};

class PlanDialogs {
public:
    virtual ~PlanDialogs() = default;
    // The question as a box; the answer of the button chosen.
    virtual Answer Ask(const Question& question) = 0;
    // A name chosen in a file dialog, or empty when cancelled.
    virtual QString OpenFileName(const QString& directory) = 0;
    virtual QString SaveFileName(const QString& title, const QString& suggested, const QString& filter) = 0;
    virtual std::optional<QString> AskText(const QString& title, const QString& label, const QString& text) = 0;
    // With offer_all, the dialog also offers to give the costs to every unit.
    virtual std::optional<CostTexts> AskCosts(const QString& title, const CostTexts& costs, bool offer_all) = 0;
    // Units that carry measurements or field work: remove them all the same?
    virtual bool AskDeleteUnits(const QString& names) = 0;
    // A file of measurements to import, or empty when cancelled.
    virtual QString OpenDataFileName(const QString& directory) = 0;
    // One of the choices (offered first: the one at `offered`), or nothing
    // when cancelled.
    virtual std::optional<QString> AskChoice(const QString& title, const QString& label, const QStringList& choices,
                                             int offered) = 0;
    // A site drawing to import a unit's boundary from, or empty when
    // cancelled (as a dialog that asks nothing is).
    virtual QString OpenBoundaryFileName(const QString& /*directory*/) { return {}; }
};

class QtPlanDialogs : public PlanDialogs {
public:
    explicit QtPlanDialogs(QWidget* parent) : parent_(parent) {}
    Answer Ask(const Question& question) override;
    QString OpenFileName(const QString& directory) override;
    QString SaveFileName(const QString& title, const QString& suggested, const QString& filter) override;
    std::optional<QString> AskText(const QString& title, const QString& label, const QString& text) override;
    std::optional<CostTexts> AskCosts(const QString& title, const CostTexts& costs, bool offer_all) override;
    bool AskDeleteUnits(const QString& names) override;
    QString OpenDataFileName(const QString& directory) override;
    std::optional<QString> AskChoice(const QString& title, const QString& label, const QStringList& choices,
                                     int offered) override;
    QString OpenBoundaryFileName(const QString& directory) override;

private:
    QWidget* parent_;
};

}  // namespace valdris
