// SPDX-License-Identifier: Apache-2.0
#include "typefaces.h"

#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

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

// A Type 1 font is slow to open: FreeType decrypts and parses the whole
// file for its first glyph, some thirty times what an OpenType copy costs,
// and Debian installs the URW faces (Z003, the splash title's) both ways.
// As Pango does, the font list Qt reads leaves Type 1 files out; on Debian
// each of those families has its OpenType copy. Without fontconfig's help
// (an old or broken setup) the list stays as it was.
void LeaveOutType1Fonts() {
    static constexpr char kRule[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><selectfont><rejectfont><pattern>
  <patelt name="fontformat"><string>Type 1</string></patelt>
</pattern></rejectfont></selectfont></fontconfig>)";
    FcConfig* config = FcInitLoadConfig();
    if (config == nullptr) return;
    if (FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kRule), FcFalse) &&
        FcConfigBuildFonts(config)) {
        FcConfigSetCurrent(config);  // takes a reference of its own
    }
    FcConfigDestroy(config);
}

// Looked up once, for every face, at the first font (the database is read
// then anyway); the installed fonts do not change while the program runs.
const QStringList& Families(Face face) {
    static const std::array<QStringList, kFaceCount> resolved = [] {
        LeaveOutType1Fonts();
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
