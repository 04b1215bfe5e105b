// SPDX-License-Identifier: MIT
// main_form.cpp: the main window's menu bar, built from the menu table, and its controls.
#include "desktop/main_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

#include <cstdint>
#include <vector>

#include "maps/map_picture.h"
#include "maps/map_view.h"
#include "maps/pointer_readout.h"
#include "desktop/folder_panel.h"
#include "desktop/map_picture_widget.h"
#include "desktop/menu_area.h"
#include "desktop/place_finder_window.h"
#include "desktop/profile_window.h"
#include "windows/config_file.h"
#include "windows/drag_box.h"
#include "windows/explore.h"
#include "windows/menu_tree.h"
#include "windows/program.h"
#include "windows/topography_menu.h"

namespace rubicel {
namespace {

// The place of node's control member in a table by control and index + 1.
template <class T>
T*& slot(std::array<std::vector<T*>, kMenuControlCount>& table, const MenuNode& node) {
    std::vector<T*>& members = table[std::size_t(node.control)];
    const std::size_t at = std::size_t(node.index + 1);
    if (at >= members.size()) members.resize(at + 1, nullptr);
    return members[at];
}

template <class T>
T* lookUp(const std::array<std::vector<T*>, kMenuControlCount>& table, MenuId id) {
    const std::vector<T*>& members = table[std::size_t(id.control)];
    const std::size_t at = std::size_t(id.index + 1);
    return at < members.size() ? members[at] : nullptr;
}

// The client area's size at start (at least): a whole-planet map of 960 x 480
// pixels shows whole, without scroll bars.
constexpr int kStartClientWidth = 968;
constexpr int kStartClientHeight = 488;
constexpr int kFirstScrollMaximum = 32767;
// Below this the scroll bars would get negative lengths.
constexpr int kMinimumClientWidth = 240;
constexpr int kMinimumClientHeight = 160;
// The folder panel, over the top-left corner.
constexpr int kFolderPanelWidth = 260;
constexpr int kFolderPanelHeight = 320;

QScrollBar* makeScrollBar(Qt::Orientation orientation, const char* name, QWidget* parent) {
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(name);
    // Until the first movement sets it from the picture, the bar can move freely.
    bar->setRange(0, kFirstScrollMaximum);
    bar->setSingleStep(100);
    bar->setPageStep(1000);
    bar->hide();
    return bar;
}

}  // namespace

MainForm::MainForm() {
    setObjectName("Main");
    menuArea_ = new MenuArea(this);
    setMenuWidget(menuArea_);

    client_ = new QWidget(this);
    client_->setObjectName("client");
    client_->setMinimumSize(kMinimumClientWidth, kMinimumClientHeight);
    setCentralWidget(client_);

    picture_ = new MapPictureWidget(client_);
    picture_->shownArea = [this] { return mapViewport(); };
    hscrbar_ = makeScrollBar(Qt::Horizontal, "Hscrbar", client_);
    vscrbar_ = makeScrollBar(Qt::Vertical, "Vscrbar", client_);
    const int thickness = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    hscrbar_->setGeometry(0, 0, 100, thickness);
    vscrbar_->setGeometry(0, 0, thickness, 100);
    corner_ = new QPushButton(client_);
    corner_->setObjectName("corner");
    corner_->setFocusPolicy(Qt::NoFocus);
    corner_->setGeometry(0, 0, thickness, thickness);
    corner_->hide();

    folderPanel_ = new FolderPanel(client_, QDir::currentPath());
    folderPanel_->setGeometry(0, 0, kFolderPanelWidth, kFolderPanelHeight);

    client_->installEventFilter(this);
    resize(kStartClientWidth, kStartClientHeight);
}

MainForm::~MainForm() = default;

void MainForm::attach(Program& p, std::span<const MenuNode> menus) {
    buildMenus(p, menus);
    connectControls(p);
    profiles_ = std::make_unique<ProfileTool>(p, *picture_);
    finder_ = std::make_unique<PlaceFinder>(p, *this);
    // The menu row's height is known once it holds its items.
    resize(kStartClientWidth, kStartClientHeight + menuArea_->sizeHint().height());
}

void MainForm::buildMenus(Program& p, std::span<const MenuNode> menus) {
    // The open menu at each depth; depth 0 is the menu bar itself.
    std::vector<QMenu*> open;
    for (const MenuNode& node : menus) {
        open.resize(std::size_t(node.depth));
        QMenu* parent = node.depth > 0 ? open.back() : nullptr;
        const QString caption = QString::fromUtf8(node.caption.data(), qsizetype(node.caption.size()));
        const std::string_view controlName = menuControlName(node.control);
        const QString name = QString::fromUtf8(controlName.data(), qsizetype(controlName.size()));
        QAction* action = nullptr;
        switch (node.kind) {
        case MenuKind::Menu: {
            QMenu* menu = parent ? parent->addMenu(caption) : menuArea_->menus()->addMenu(caption);
            menu->setObjectName(name);
            action = menu->menuAction();
            slot(menus_, node) = menu;
            if (node.open) {
                const auto opened = node.open;
                QObject::connect(menu, &QMenu::aboutToShow, this, [&p, opened] { opened(p); });
            }
            open.push_back(menu);
            break;
        }
        case MenuKind::Separator:
            action = parent ? parent->addSeparator() : menuArea_->menus()->addSeparator();
            break;
        case MenuKind::Item:
            action = parent ? parent->addAction(caption) : menuArea_->menus()->addAction(caption);
            QObject::connect(action, &QAction::triggered, this, [this, &p, node, action] { trigger(p, node, action); });
            break;
        case MenuKind::Status:
            action = menuArea_->status()->addAction(caption);
            action->setVisible(!caption.isEmpty());
            break;
        }
        action->setObjectName(name);
        action->setData(node.index);
        slot(actions_, node) = action;
    }
}

void MainForm::trigger(Program& p, const MenuNode& node, QAction* action) {
    // A checkable action has toggled itself; the handlers decide on check marks.
    const auto mark = checked_.find(action);
    if (mark != checked_.end()) action->setChecked(mark->second);
    if (node.click) node.click(p);
    if (node.indexedClick) node.indexedClick(p, std::int16_t(node.index));
}

void MainForm::connectControls(Program& p) {
    QObject::connect(hscrbar_, &QScrollBar::valueChanged, this, [&p] { Hscrbar_Change(p); });
    QObject::connect(vscrbar_, &QScrollBar::valueChanged, this, [&p] { Vscrbar_Change(p); });
    picture_->onMouseDown = [&p](int button, int shift, float x, float y) {
        dmap_MouseDown(p, std::int16_t(button), std::int16_t(shift), x, y);
    };
    picture_->onMouseMove = [&p](float x, float y) { dmap_MouseMove(p, x, y); };
    picture_->onMouseLeave = [&p] { dmap_MouseLeave(p); };
    picture_->onDragAllowed = [&p] { return dmap_DragAllowed(p); };
    picture_->onDrag = [&p](float x0, float y0, float x1, float y1) { dmap_Drag(p, x0, y0, x1, y1); };
    folderPanel_->onFolderClicked = [&p](const QString& path) { Dir002_Click(p, path.toStdString()); };
    folderPanel_->onClose = [&p] { setfolder_Click(p); };
    onResize_ = [&p] {
        mapscroll(p);
        fitScrollBars(p);
    };
    connectExploring(p);
}

void MainForm::connectExploring(Program& p) {
    picture_->onWheel = [&p](int notches, float x, float y) { dmap_Wheel(p, notches, x, y); };
    picture_->onMiddleDrag = [&p](int phase, float x, float y) {
        if (phase == 0) dmap_MiddleDown(p, x, y);
        else if (phase == 1) dmap_MiddleMove(p, x, y);
        else if (phase == 2) dmap_MiddleUp(p, x, y);
        else p.middleDrag = MiddleDrag{};
    };
    onHistoryButton_ = [&p](bool forward) { forward ? mapForward(p) : mapBack(p); };
    picture_->onHistoryButton = onHistoryButton_;
    onExploreKey_ = [&p](bool alt, int key) {
        if (alt) {
            if (key == Qt::Key_Left) mapBack(p);
            else if (key == Qt::Key_Right) mapForward(p);
            else return false;
            return true;
        }
        switch (key) {
        case Qt::Key_Left: dmap_Arrow(p, Heading::West); return true;
        case Qt::Key_Right: dmap_Arrow(p, Heading::East); return true;
        case Qt::Key_Up: dmap_Arrow(p, Heading::North); return true;
        case Qt::Key_Down: dmap_Arrow(p, Heading::South); return true;
        default: return false;
        }
    };
}

void MainForm::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers keys = event->modifiers() & ~Qt::KeypadModifier;
    const bool alt = keys == Qt::AltModifier;
    // While a rubber band is dragged the keys belong to it.
    if (!picture_->banding() && (keys == Qt::NoModifier || alt) && onExploreKey_ && onExploreKey_(alt, event->key())) {
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainForm::mousePressEvent(QMouseEvent* event) {
    if ((event->button() == Qt::BackButton || event->button() == Qt::ForwardButton) && onHistoryButton_) {
        onHistoryButton_(event->button() == Qt::ForwardButton);
        return;
    }
    QMainWindow::mousePressEvent(event);
}

QAction* MainForm::action(MenuId id) const { return lookUp(actions_, id); }

QMenu* MainForm::menu(MenuId id) const { return lookUp(menus_, id); }

QScrollBar* MainForm::scrollBar(Control bar) const {
    if (bar == Control::Hscrbar) return hscrbar_;
    if (bar == Control::Vscrbar) return vscrbar_;
    return nullptr;
}

QWidget* MainForm::control(Control control) const {
    switch (control) {
    case Control::Hscrbar: return hscrbar_;
    case Control::Vscrbar: return vscrbar_;
    case Control::Corner: return corner_;
    case Control::Dmap: return picture_;
    case Control::Findloc: return folderPanel_;
    case Control::SaveBox: return savePanel_;
    }
    return nullptr;
}

void MainForm::closeEvent(QCloseEvent* event) {
    if (onClose) onClose();
    event->accept();
}

bool MainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize && onResize_) onResize_();
    if (watched == client_ && event->type() == QEvent::Paint) paintHint();
    return QMainWindow::eventFilter(watched, event);
}

QRect MainForm::mapViewport() const {
    QRect area = client_->rect();
    if (!vscrbar_->isHidden()) area.setRight(vscrbar_->x() - 1);
    if (!hscrbar_->isHidden()) area.setBottom(hscrbar_->y() - 1);
    return area;
}

QString MainForm::hintText() const {
    if (!picture_->image().isNull()) return QString();
    // The captions as the menus show them.
    const auto shown = [this](MenuControl control) {
        const QAction* item = action({control});
        return item ? item->text().remove('&').trimmed() : QString();
    };
    const QString arrow = QString::fromUtf8(" \u25b8 ");
    const QString file = shown(MenuControl::m_file);
    const QAction* mapArea = action({MenuControl::m_area});
    if (mapArea && !mapArea->isEnabled())
        return "No map yet: the four MEGDR064 tile files were not found.\n"
               "Choose the folder that holds them with " +
               file + arrow + shown(MenuControl::m_default) + ".";
    const QString area = shown(MenuControl::m_area);
    return "No map yet.\n" + file + arrow + shown(MenuControl::m_load) +
           " draws a tile, the entire planet or a polar region;\n" + area +
           " draws a named feature, or a box of your own with " + area + arrow + shown(MenuControl::m_custom) + ".";
}

void MainForm::refreshHint() {
    const bool shown = !hintText().isEmpty();
    if (shown || hintShown_) client_->update();
    hintShown_ = shown;
}

void MainForm::paintHint() {
    // Painted on the empty client area, never into the picture.
    const QString text = hintText();
    if (text.isEmpty()) return;
    QPainter painter(client_);
    painter.setPen(client_->palette().color(QPalette::PlaceholderText));
    constexpr int kMargin = 24;
    painter.drawText(client_->rect().adjusted(kMargin, kMargin, -kMargin, -kMargin), Qt::AlignCenter | Qt::TextWordWrap,
                     text);
}

}  // namespace rubicel
