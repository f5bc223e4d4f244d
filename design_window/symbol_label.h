// SPDX-License-Identifier: Apache-2.0
#pragma once
// A label that keeps its caption in plain letters ("D/s = 1") and shows it as
// the Symbol typeface would: Latin letters as their Greek counterparts, so the
// caption reads as delta over sigma on any system.

#include <QLabel>
#include <QString>

namespace valdris {

class SymbolLabel : public QLabel {
    Q_OBJECT
public:
    explicit SymbolLabel(QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    QString caption() const { return caption_; }

private:
    // The Greek reading of a caption: D becomes a capital delta, s a small sigma.
    static QString ToSymbolText(const QString& caption);

    QString caption_;
};

}  // namespace valdris
