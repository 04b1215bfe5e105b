// SPDX-License-Identifier: MIT
// main.cpp: the desktop program rubicel: the main window, start-up, then the event loop.
#include <QApplication>

#include "common/temporary_files.h"
#include "desktop/main_form.h"
#include "desktop/qt_platform.h"
#include "windows/main_window.h"
#include "windows/program.h"

int main(int argc, char* argv[]) {
    rubicel::removeTemporariesOnSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Rubicel");
    // Leaving is the program's own business: Exit or closing the window saves and quits.
    QApplication::setQuitOnLastWindowClosed(false);

    rubicel::QtPlatform ui;
    rubicel::Program program(ui);
    ui.attach(program);
    rubicel::init(program);
    if (ui.quitRequested()) return 0;
    ui.window().show();
    return QApplication::exec();
}
