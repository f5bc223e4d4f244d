// SPDX-License-Identifier: Apache-2.0
#pragma once
// The typefaces the windows are laid out in, mapped to faces that exist on a
// Linux desktop with metric-compatible substitutes where there are any.

#include <QFont>
#include <QStringList>

namespace valdris {

enum class Face {
    TimesNewRoman,   // Liberation Serif is metric-compatible
    Arial,           // Liberation Sans is metric-compatible
    MSSansSerif,     // the old dialog face: a small sans serif
    ComicSansMS,
    Staccato222BT,   // a brush script
    LithographLight, // light capitals; the last face (their count follows from it)
};

struct FontStyle {
    bool bold = false;
    bool italic = false;
};

// A font of the given face at the given size in points; the substitute
// family list is tried in order.
QFont Typeface(Face face, double point_size, FontStyle style = {});

// The whole substitute list of the face a Typeface font was made for (the
// font itself names only the family installed here), for files that other
// machines open; the font's own families for any other font.
QStringList SubstituteFamilies(const QFont& font);

}  // namespace valdris
