// SPDX-License-Identifier: MIT
// qt_platform.h: the platform of the desktop program, on Qt Widgets.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace rubicel {

struct Program;
class FormHost;
class MainForm;
class ToolWindows;

// Owns the main window and carries out the logic's window operations on it.
// Create it, create the Program on it, then attach() the program; a
// QApplication must exist first.
class QtPlatform final : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    // Builds the menus and connects every control to p's handlers.
    void attach(Program& p);
    MainForm& window() { return *form_; }
    // quit() was called: the event loop is to end once the running handler returns.
    bool quitRequested() const { return quitting_; }

    // Test seams. onMessage, when set, receives each message instead of a modal
    // box; onQuit, when set, runs instead of ending the event loop.
    std::function<void(const std::string& text, const std::string& title, Icon icon)> onMessage;
    std::function<void()> onQuit;

    void setMenuChecked(MenuId item, bool checked) override;
    void setMenuEnabled(MenuId item, bool enabled) override;
    void setMenuCaption(MenuId item, const std::string& caption) override;
    void popupMenu(MenuId menu) override;
    void setWindowCaption(const std::string& caption) override;
    void messageBox(const std::string& text, const std::string& title, Icon icon) override;
    void mapImageReset(const Raster& image) override;
    void mapRowsChanged(int first, int last) override;
    TwipSize clientSize() const override;
    TwipSize outerSize() const override;
    TwipRect controlRect(Control control) const override;
    void setControlRect(Control control, TwipRect rect) override;
    void setControlVisible(Control control, bool visible) override;
    int scrollValue(Control bar) const override;
    void setScrollMaximum(Control bar, int maximum) override;
    void setScrollValue(Control bar, int value) override;
    void setBusyPointer(bool busy) override;
    void showPointerText(const std::string& text) override;
    void yieldToEvents() override;
    void quit() override;
    void showToolWindow(ToolWindow window, int left, int top) override;
    void closeToolWindow(ToolWindow window) override;
    void keepOnTop(ToolWindow window) override;
    void toolWindowChanged(ToolWindow window) override;
    // The colour keys and the range dialog; null until attach().
    ToolWindows* toolWindows() { return tools_.get(); }

    // The custom-area dialog, the save panel, the help viewer and the built-in
    // map (form_host.h); present once attach() has run.
    void showForm(Form form, bool shown) override;
    void formChanged(Form form) override;
    void setFocus(Form form, std::string_view control) override;
    void showHtmlHelp(const std::string& file) override;
    bool annotatedMap(Raster& image) override;
    FormHost* forms() const { return forms_.get(); }

private:
    std::unique_ptr<MainForm> form_;
    std::unique_ptr<FormHost> forms_;
    std::unique_ptr<ToolWindows> tools_;
    bool quitting_ = false;
};

}  // namespace rubicel
