// SPDX-License-Identifier: MIT
// platform.h: the window-system operations the program's logic needs, behind one seam.
#pragma once

#include <string>
#include <string_view>

#include "platform/menu_ids.h"

namespace rubicel {

class Raster;

enum class Icon { None, Critical, Information };

// Controls of the main window that the logic lays out or shows, in display units
// (twips, 15 to a pixel). SaveBox and Findloc are the save and folder panels.
enum class Control { Hscrbar, Vscrbar, Corner, Dmap, SaveBox, Findloc };

// Forms whose texts and lists the logic keeps in the program state and the window
// mirrors: the custom-area dialog, the save panel and the relief settings.
enum class Form { GetArea, SaveBox, Relief };

// Display units: window and picture sizes are set in twips, 15 to a pixel.
inline constexpr int kTwipsPerPixel = 15;

struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const TwipRect&, const TwipRect&) = default;
};

struct TwipSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const TwipSize&, const TwipSize&) = default;
};

// The small windows beside the main window: the vertical and the horizontal
// colour key and the range dialog "uchoice".
enum class ToolWindow { Key, Hkey, Uchoice };

// The desktop program implements this with Qt Widgets; tests and the
// command-line renderer use an in-memory implementation.
class Platform {
public:
    virtual ~Platform() = default;

    // Menus: check marks, enabled states and captions (the status item "prcent"
    // is a menu item whose caption shows progress).
    virtual void setMenuChecked(MenuId item, bool checked) = 0;
    virtual void setMenuEnabled(MenuId item, bool enabled) = 0;
    virtual void setMenuCaption(MenuId item, const std::string& caption) = 0;
    // Pops up a top-level menu at the mouse pointer.
    virtual void popupMenu(MenuId menu) = 0;
    virtual void setWindowCaption(const std::string& caption) = 0;

    // A modal message box with an OK button; an empty title stands for the
    // program's title.
    virtual void messageBox(const std::string& text, const std::string& title, Icon icon) = 0;

    // The map picture. Its pixels live in the logic's raster; these say what
    // changed so the window can show it. mapImageReset: size or every pixel
    // changed (the raster's memory may have moved). mapRowsChanged: rows
    // first..last-1 were drawn.
    virtual void mapImageReset(const Raster& image) = 0;
    virtual void mapRowsChanged(int first, int last) = 0;

    // Layout of the main window's controls, in twips.
    virtual TwipSize clientSize() const = 0;
    virtual TwipSize outerSize() const = 0;
    virtual TwipRect controlRect(Control control) const = 0;
    virtual void setControlRect(Control control, TwipRect rect) = 0;
    virtual void setControlVisible(Control control, bool visible) = 0;

    // Scroll bars (Hscrbar, Vscrbar). Setting a maximum below the value clamps
    // the value, as the bar itself does.
    virtual int scrollValue(Control bar) const = 0;
    virtual void setScrollMaximum(Control bar, int maximum) = 0;
    // Moves a bar to value (clamped to its range), as the user does; the window
    // runs the bar's change handler.
    virtual void setScrollValue(Control /*bar*/, int /*value*/) {}

    // Shows text beside the pointer over the map picture, following it; an
    // empty text hides it. The window's layout does not change.
    virtual void showPointerText(const std::string& text) = 0;

    // The busy pointer over the map picture during drawing.
    virtual void setBusyPointer(bool busy) = 0;

    // Lets pending window events run; menu handlers may run inside this call.
    virtual void yieldToEvents() = 0;
    // Whether what yieldToEvents runs may look at the map picture's pixels or
    // change the picture: a window painting it, a handler drawing or replacing
    // it. What runs there otherwise (a progress read-out) does not matter:
    // when nothing can touch the picture, a rendering may go on changing it on
    // another thread across the yield.
    virtual bool yieldTouchesPicture() const { return true; }

    // Ends the program once the running handler returns.
    virtual void quit() = 0;

    // Forms. showForm shows a tool window without making it modal, or closes it
    // (the save panel is shown as Control::SaveBox). formChanged: the logic
    // changed the texts or lists of form; the window shows them again. setFocus
    // gives the keyboard focus to the named control of form ("longw").
    virtual void showForm(Form form, bool shown) = 0;
    virtual void formChanged(Form form) = 0;
    virtual void setFocus(Form form, std::string_view control) = 0;

    // Opens the HTML help file at its default topic in a viewer owned by the main
    // window; the viewer reports a file it cannot find.
    virtual void showHtmlHelp(const std::string& file) = 0;
    // Copies the built-in annotated map of Mars into image (resized to fit it);
    // false, with image emptied, when the program carries none.
    [[nodiscard]] virtual bool annotatedMap(Raster& image) = 0;
    // Tool windows. Their content lives in the logic (Program::Key, Hkey,
    // uchoice); the window shows it and reports activation and closing back
    // (toolWindowActivated, toolWindowClosed). A platform without tool windows
    // ignores these calls.
    // Puts the window's outer top-left corner at left, top (twips, screen) and
    // shows it modeless, not owned by the main window; showing activates it.
    virtual void showToolWindow(ToolWindow, int /*left*/, int /*top*/) {}
    // Closes the window if it is shown; the logic has already discarded it.
    virtual void closeToolWindow(ToolWindow) {}
    // Keeps the window above all other windows without moving or resizing it.
    virtual void keepOnTop(ToolWindow) {}
    // The window's content changed in the logic (a key repainted, a bar moved).
    virtual void toolWindowChanged(ToolWindow) {}
};

}  // namespace rubicel
