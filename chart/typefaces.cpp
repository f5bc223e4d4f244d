// SPDX-License-Identifier: Apache-2.0
#include "typefaces.h"

#include <QStringList>

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

}  // namespace

QFont Typeface(Face face, double point_size, FontStyle style) {
    QFont font;
    font.setFamilies(FamiliesFor(face));
    font.setPointSizeF(point_size);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    return font;
}

}  // namespace valdris
