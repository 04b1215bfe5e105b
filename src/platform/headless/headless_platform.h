// SPDX-License-Identifier: MIT
// headless_platform.h: the platform in memory: records menus, messages and layout for tests and the renderer.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/raster.h"
#include "platform/platform.h"

namespace rubicel {

// Nothing is shown; every call is recorded so that tests can assert on it.
// Messages are kept, and echoed to a stream when echoTo is set (the
// command-line renderer sends them to standard error).
class HeadlessPlatform : public Platform {
public:
    struct MenuState {
        bool checked = false;
        bool enabled = true;
        std::string caption;
    };
    struct Message {
        std::string text;
        std::string title;
        Icon icon = Icon::None;
    };

    void setMenuChecked(MenuId item, bool checked) override;
    void setMenuEnabled(MenuId item, bool enabled) override;
    void setMenuCaption(MenuId item, const std::string& caption) override;
    void popupMenu(MenuId menu) override;
    void setWindowCaption(const std::string& caption) override { windowCaption = caption; }
    void messageBox(const std::string& text, const std::string& title, Icon icon) override;
    void mapImageReset(const Raster& image) override;
    void mapRowsChanged(int first, int last) override;
    TwipSize clientSize() const override { return client; }
    TwipSize outerSize() const override { return outer; }
    TwipRect controlRect(Control control) const override;
    void setControlRect(Control control, TwipRect rect) override;
    void setControlVisible(Control control, bool visible) override;
    int scrollValue(Control bar) const override;
    void setScrollMaximum(Control bar, int maximum) override;
    void setBusyPointer(bool busy) override { busyPointer = busy; }
    void showPointerText(const std::string& text) override { pointerText = text; }
    void yieldToEvents() override;
    bool yieldTouchesPicture() const override { return static_cast<bool>(onYield); }
    void quit() override { quitRequested = true; }
    void showForm(Form form, bool shown) override { formShown[form] = shown; }
    void formChanged(Form form) override { ++formChanges[form]; }
    void setFocus(Form form, std::string_view control) override { focus = {form, std::string(control)}; }
    void showHtmlHelp(const std::string& file) override { helpFiles.push_back(file); }
    bool annotatedMap(Raster& image) override;
    void showToolWindow(ToolWindow window, int left, int top) override;
    void closeToolWindow(ToolWindow window) override;
    void keepOnTop(ToolWindow window) override;
    void toolWindowChanged(ToolWindow window) override;

    // What tests read.
    bool checked(MenuControl control, int index = -1) const;
    bool enabled(MenuControl control, int index = -1) const;  // never-touched items count as enabled
    std::string caption(MenuControl control, int index = -1) const;
    // Indexes of the checked members of menu array control.
    std::vector<int> checkedIndexes(MenuControl control) const;
    bool visible(Control control) const;
    int scrollMaximum(Control bar) const;
    // Sets the value alone; no change handler runs.
    void setScrollValue(Control bar, int value) override;

    std::map<std::pair<MenuControl, int>, MenuState> menus;  // the items touched, by control and index
    std::vector<Message> messages;
    std::vector<std::string> popups;
    std::string windowCaption;
    TwipSize client{12000, 9000};
    TwipSize outer{12240, 9690};
    std::map<Control, TwipRect> rects;
    std::map<Control, bool> visibility;
    std::map<Control, int> scrollValues;
    std::map<Control, int> scrollMaximums;
    bool busyPointer = false;
    std::string pointerText;  // what is shown beside the pointer; empty when nothing
    bool quitRequested = false;
    int imageResets = 0;
    int rowsChanged = 0;
    int yields = 0;
    // Runs on every yield with the yield's number (1 for the first); tests queue
    // menu commands here to run them in the middle of a drawing.
    std::function<void(int)> onYield;
    // Runs on every yield, before onYield, with the yield's number: a read-out
    // of the drawing's progress (the command-line renderer's bar), which may
    // read the picture's size but neither its pixels nor change it, so the
    // rows may go on being shaded on a second thread across the yield.
    std::function<void(int)> onProgress;
    // Run, when set, after every picture reset and every change of rows (first
    // to last - 1): the renderer writing a map as it is drawn listens here.
    std::function<void(const Raster&)> onImageReset;
    std::function<void(int first, int last)> onRowsChanged;
    std::map<Form, bool> formShown;
    std::map<Form, int> formChanges;
    std::pair<Form, std::string> focus{Form::GetArea, ""};
    std::vector<std::string> helpFiles;
    // What annotatedMap copies; an empty raster stands for a program without one.
    Raster annotatedMapPicture;
    // Tool windows: every call in order, and what each window is now.
    struct ToolEvent {
        enum Kind { Show, Close, KeepOnTop, Changed } kind;
        ToolWindow window;
        int left = 0;
        int top = 0;
        friend bool operator==(const ToolEvent&, const ToolEvent&) = default;
    };
    struct ToolState {
        bool shown = false;
        bool onTop = false;
        int left = 0;
        int top = 0;
        int changes = 0;
    };
    std::vector<ToolEvent> toolEvents;
    std::map<ToolWindow, ToolState> tools;
    // Runs after a tool window is shown, as the window system then activates it;
    // tests run the window's activation handler here.
    std::function<void(ToolWindow)> onToolWindowShown;
    // Where messages are echoed as they are shown; nothing when null.
    std::function<void(const Message&)> echo;

private:
    MenuState& menu(MenuId item);
    const MenuState* findMenu(MenuControl control, int index) const;
};

}  // namespace rubicel
