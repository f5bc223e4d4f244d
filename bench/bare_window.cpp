// SPDX-License-Identifier: Apache-2.0
// The yardstick for the program's start: a bare Qt window, shown as soon as
// the application exists; built as label_window, the window shows one line
// of text, so that it loads a font and draws glyphs as any splash must.
// bench/startup_bench.sh times these beside the program.

#include <QApplication>
#include <QWidget>
#ifdef VALDRIS_ONE_LABEL
#include <QLabel>
#include <QVBoxLayout>
#endif

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(658, 550);
#ifdef VALDRIS_ONE_LABEL
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("VALDRIS Power"), &window));
#endif
    window.show();
    return app.exec();
}
