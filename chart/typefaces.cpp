// SPDX-License-Identifier: Apache-2.0
#include "typefaces.h"

#include <QFontDatabase>
#include <QStringList>

#include <array>
#include <cstddef>

namespace valdris {
namespace {

QStringList FamiliesFor(Face face) {
    switch (face) {
    case Face::TimesNewRoman:
        return {"Times New Roman", "Liberation Serif", "Tinos", "DejaVu Serif", "serif"};
    case Face::Arial:
        return {"Arial", "Liberation Sans", "Arimo", "DejaVu Sans", "sans-serif"};
    case Face::MSSansSerif:
        return {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "DejaVu Sans", "sans-serif"};
    case Face::ComicSansMS:
        return {"Comic Sans MS", "Comic Neue", "Comic Relief", "URW Chancery L", "Liberation Sans", "sans-serif"};
    case Face::Staccato222BT:
        return {"Staccato222 BT", "Z003", "URW Chancery L", "Liberation Serif", "serif"};
    case Face::LithographLight:
        return {"LithographLight", "URW Gothic", "URW Gothic L", "Liberation Sans", "sans-serif"};
    }
    return {"sans-serif"};
}

constexpr std::size_t kFaceCount = static_cast<std::size_t>(Face::LithographLight) + 1;

// The family the list comes to on this machine: its first installed one.
// Given alone it draws the same, but saves each font built from the list
// a fontconfig fallback search for every missing name before it and one
// for the family found; they made up a sixth of the start to the splash.
// Without an installed name the list stays whole for Qt to match.
QStringList FirstInstalled(Face face) {
    const QStringList families = FamiliesFor(face);
    for (const QString& family : families) {
        if (!QFontDatabase::styles(family).isEmpty()) return {family};
    }
    return families;
}

// Looked up once, for every face, at the first font (the database is read
// then anyway); the installed fonts do not change while the program runs.
const QStringList& Families(Face face) {
    static const std::array<QStringList, kFaceCount> resolved = [] {
        std::array<QStringList, kFaceCount> lists;
        for (std::size_t i = 0; i < kFaceCount; ++i) lists[i] = FirstInstalled(static_cast<Face>(i));
        return lists;
    }();
    return resolved[static_cast<std::size_t>(face)];
}

}  // namespace

QStringList SubstituteFamilies(const QFont& font) {
    for (std::size_t i = 0; i < kFaceCount; ++i) {
        const auto face = static_cast<Face>(i);
        if (font.families() == Families(face)) return FamiliesFor(face);
    }
    return font.families();
}

QFont Typeface(Face face, double point_size, FontStyle style) {
    QFont font;
    font.setFamilies(Families(face));
    font.setPointSizeF(point_size);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    return font;
}

}  // namespace valdris
