// SPDX-License-Identifier: Apache-2.0
// Writes the splash banner pre-scaled for its label, at 1x and 2x, as the
// label itself would scale the full image (smooth, aspect ratio ignored), so
// the splash shows the same pixels without decoding the large image at start.
//   g++ -fPIC scripts/scale_banner.cpp -o scale_banner $(pkg-config --cflags --libs Qt6Gui)
//   QT_QPA_PLATFORM=offscreen ./scale_banner shell/resources/valdris_banner.png 257 73 \
//     shell/resources/valdris_banner_label.png shell/resources/valdris_banner_label@2x.png
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: scale_banner SOURCE.png WIDTH HEIGHT OUT.png OUT@2x.png\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QImage source(QString::fromLocal8Bit(argv[1]));
    if (source.isNull()) return 1;
    const int width = QString::fromLocal8Bit(argv[2]).toInt();
    const int height = QString::fromLocal8Bit(argv[3]).toInt();
    for (int scale = 1; scale <= 2; ++scale) {
        const QImage scaled = source.scaled(width * scale, height * scale, Qt::IgnoreAspectRatio,
                                            Qt::SmoothTransformation);
        // The source is opaque RGB: so is the result, compressed the most.
        const QImage opaque = scaled.convertToFormat(QImage::Format_RGB888);
        if (!opaque.save(QString::fromLocal8Bit(argv[3 + scale]), "PNG", 0)) return 1;
    }
    return 0;
}
