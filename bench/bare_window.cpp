// SPDX-License-Identifier: Apache-2.0
// The yardstick for the program's start: a bare Qt window, shown as soon as
// the application exists. bench/startup_bench.sh times either program.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(658, 550);
    window.show();
    return app.exec();
}
