// SPDX-License-Identifier: Apache-2.0
#include "splash_pictures.h"

#include <QImage>
#include <QResource>

// Q_INIT_RESOURCE must be used outside any namespace; the pictures live in
// a static library, whose resources the linker would otherwise drop.
static void RegisterSplashPictures() { Q_INIT_RESOURCE(splash_pictures); }

namespace valdris {

QPixmap LoadSplashPicture(SplashPicture picture, qreal device_pixel_ratio) {
    static const bool registered = (RegisterSplashPictures(), true);
    (void)registered;
    const int scale = device_pixel_ratio > 1 ? 2 : 1;
    const QString name = picture == SplashPicture::Banner ? QStringLiteral(":/shell/valdris_banner_label")
                                                           : QStringLiteral(":/shell/valdris_logo_label");
    const QResource resource(name + (scale == 1 ? QStringLiteral(".rgb32") : QStringLiteral("@2x.rgb32")));
    const QSize pixels = SplashPictureSize(picture) * scale;
    // Stored uncompressed, so the pixels are read where they lie.
    const qint64 bytes = qint64(pixels.width()) * pixels.height() * 4;
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression ||
        resource.size() != bytes) {
        return {};
    }
    const QImage image(resource.data(), pixels.width(), pixels.height(), pixels.width() * 4, QImage::Format_RGB32);
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

}  // namespace valdris
