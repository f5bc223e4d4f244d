// SPDX-License-Identifier: Apache-2.0
#pragma once
// The splash window's pictures, drawn at build time at their labels' size.

#include <QPixmap>
#include <QSize>

namespace valdris {

enum class SplashPicture { Banner, Logo };

// The label each picture fills, in device-independent pixels (the build
// draws the pictures at this size too).
constexpr QSize SplashPictureSize(SplashPicture picture) {
    return picture == SplashPicture::Banner ? QSize(257, 73) : QSize(585, 414);
}

// The picture for a screen of the given device pixel ratio: the 1x pixels on
// a plain screen, the 2x ones (which the label scales on other ratios)
// anywhere else. A null pixmap when the program was built without it.
QPixmap LoadSplashPicture(SplashPicture picture, qreal device_pixel_ratio);

}  // namespace valdris
