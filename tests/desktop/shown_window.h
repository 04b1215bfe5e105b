// SPDX-License-Identifier: MIT
// shown_window.h: a test's desktop window over four sparse tiles, started and shown, its messages recorded.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <string>
#include <vector>

#include "desktop/main_form.h"
#include "desktop/qt_platform.h"
#include "support/start_folder.h"
#include "windows/main_window.h"
#include "windows/program.h"

namespace rubicel::test {

// The program started over four sparse tiles in a start folder of its own, its
// window shown; the messages it shows are recorded instead.
class ShownWindow : public testing::Test {
protected:
    ShownWindow() {
        start.prepare(4, 0, 0);
        ui.onMessage = [this](const std::string& text, const std::string&, Icon) { messages.push_back(text); };
        ui.attach(p);
        init(p);
        form().show();
        QCoreApplication::processEvents();
    }
    MainForm& form() { return ui.window(); }

    StartFolder start;
    QtPlatform ui;
    Program p{ui};
    std::vector<std::string> messages;
};

}  // namespace rubicel::test
