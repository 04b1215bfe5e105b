// SPDX-License-Identifier: MIT
// main_form.h: the main window Main: menu bar, map picture, scroll bars, corner button, folder panel.
#pragma once

#include <QMainWindow>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

class QAction;
class QMenu;
class QPushButton;
class QScrollBar;

namespace rubicel {

struct MenuNode;
struct Program;
class FolderPanel;
class MapPictureWidget;
class MenuArea;
class PlaceFinder;
class ProfileTool;

// The window and its controls. QtPlatform drives it for the program's logic;
// attach() wires its menus and controls to the program's handlers.
class MainForm : public QMainWindow {
public:
    MainForm();
    ~MainForm() override;

    // Builds the menu bar from the menu table and connects every control to
    // the handlers of p.
    void attach(Program& p, std::span<const MenuNode> menus);

    // The action of a menu control (for a menu, its title on the parent menu),
    // or null when there is no such control.
    QAction* action(MenuId id) const;
    // The menu opened by a menu control, or null.
    QMenu* menu(MenuId id) const;

    MenuArea* menuArea() const { return menuArea_; }
    QWidget* client() const { return client_; }
    MapPictureWidget* picture() const { return picture_; }
    QScrollBar* scrollBar(Control bar) const;
    QPushButton* corner() const { return corner_; }
    FolderPanel* folderPanel() const { return folderPanel_; }
    // The elevation profiles of lines drawn over the map.
    ProfileTool* profiles() const { return profiles_.get(); }
    // Map Area ▸ Find Place: the window, the place's map and its mark.
    PlaceFinder* finder() const { return finder_.get(); }
    // The widget standing for a control, or null (the save panel is made by QtPlatform::attach).
    QWidget* control(Control control) const;

    // Runs when the user closes the window.
    std::function<void()> onClose;

    // While no map has been drawn the empty map area says how to draw one;
    // asked again when the picture or the Map Area menu changes.
    void refreshHint();
    // The text it shows, or nothing once a map has been drawn.
    QString hintText() const;
    // The part of the client area beside the scroll bars, which shows the map.
    QRect mapViewport() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The exploring keys (arrows, Alt+Left, Alt+Right) and the mouse's back
    // and forward buttons anywhere in the window.
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void buildMenus(Program& p, std::span<const MenuNode> menus);
    void connectControls(Program& p);
    void connectExploring(Program& p);
    void trigger(Program& p, const MenuNode& node, QAction* action);
    void paintHint();

    // Each control's actions and menus by index + 1 (slot 0 outside an array).
    std::array<std::vector<QAction*>, kMenuControlCount> actions_;
    std::array<std::vector<QMenu*>, kMenuControlCount> menus_;
    // Check marks as the program set them; an item's own toggling never wins.
    std::map<QAction*, bool> checked_;
    MenuArea* menuArea_ = nullptr;
    QWidget* client_ = nullptr;
    MapPictureWidget* picture_ = nullptr;
    QScrollBar* hscrbar_ = nullptr;
    QScrollBar* vscrbar_ = nullptr;
    QPushButton* corner_ = nullptr;
    FolderPanel* folderPanel_ = nullptr;
    QWidget* savePanel_ = nullptr;  // the save panel, made by QtPlatform::attach
    std::function<void()> onResize_;
    // Alt held; the key; true when the key was one of the exploring keys.
    std::function<bool(bool alt, int key)> onExploreKey_;
    std::function<void(bool forward)> onHistoryButton_;
    std::unique_ptr<ProfileTool> profiles_;
    std::unique_ptr<PlaceFinder> finder_;
    bool hintShown_ = false;

    friend class QtPlatform;
};

}  // namespace rubicel
