// SPDX-License-Identifier: MIT
// qt_test_main.cpp: the main of every Qt test program: one QApplication, then the tests.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    // Test discovery lists the tests without the tests' environment, and neither
    // listing nor running them needs a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
