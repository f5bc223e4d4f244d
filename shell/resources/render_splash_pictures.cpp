// SPDX-License-Identifier: Apache-2.0
// Build-time tool: draws the splash window's two pictures at the size of
// their labels, once at 1x and once at 2x, as raw opaque pixels
// (QImage::Format_RGB32, rows top to bottom, no padding). The program shows
// them without decoding an image file or rendering the vector logo at start:
// those two steps were a good part of the time the splash took to appear.
//   render_splash_pictures BANNER.png LOGO.svg BANNER_1X BANNER_2X LOGO_1X LOGO_2X
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

#include "splash_pictures.h"

namespace {

bool WriteRaw(const QImage& image, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const char*>(image.constScanLine(y));
        const qint64 bytes = qint64(image.width()) * 4;
        if (file.write(row, bytes) != bytes) return false;
    }
    file.close();
    return file.error() == QFileDevice::NoError;
}

// The banner as the label would scale the full image (smooth, aspect ratio
// ignored); the source is opaque.
QImage Banner(const QImage& source, QSize label, int scale) {
    return source.scaled(label * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

// The logo as a widget of the label's size draws it over the white frame.
QImage Logo(QSvgRenderer& renderer, QSize label, int scale) {
    QImage image(label * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(label)));
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: render_splash_pictures BANNER.png LOGO.svg BANNER_1X BANNER_2X LOGO_1X LOGO_2X\n");
        return 2;
    }
    // Nothing is shown: no display is needed to build.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const auto arg = [argv](int i) { return QString::fromLocal8Bit(argv[i]); };
    const QImage banner(arg(1));
    QSvgRenderer logo(arg(2));
    if (banner.isNull() || !logo.isValid()) {
        std::fprintf(stderr, "render_splash_pictures: cannot read the banner or the logo\n");
        return 1;
    }
    using valdris::SplashPicture;
    const QSize banner_label = valdris::SplashPictureSize(SplashPicture::Banner);
    const QSize logo_label = valdris::SplashPictureSize(SplashPicture::Logo);
    const bool written = WriteRaw(Banner(banner, banner_label, 1), arg(3)) &&
                         WriteRaw(Banner(banner, banner_label, 2), arg(4)) &&
                         WriteRaw(Logo(logo, logo_label, 1), arg(5)) && WriteRaw(Logo(logo, logo_label, 2), arg(6));
    if (!written) {
        std::fprintf(stderr, "render_splash_pictures: cannot write the pictures\n");
        return 1;
    }
    return 0;
}
