// SPDX-License-Identifier: MIT
// qt_platform_test.cpp: the desktop window: menu tree, start-up, maps from the menus, scrolling, leaving.
#include "desktop/qt_platform.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <QWheelEvent>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "desktop/folder_panel.h"
#include "desktop/main_form.h"
#include "desktop/map_picture_widget.h"
#include "desktop/menu_area.h"
#include "desktop/form_host.h"
#include "desktop/profile_window.h"
#include "desktop/save_panel_widget.h"
#include "support/file_bytes.h"
#include "support/sparse_tiles.h"
#include "support/start_folder.h"
#include "windows/help_menu.h"
#include "windows/main_window.h"
#include "windows/program.h"

namespace rubicel {
namespace {

struct Shown {
    std::string text, title;
    Icon icon;
};

// The desktop window over four sparse tiles, started as the program starts it.
// Messages and the end of the program are recorded instead of acted on.
class DesktopTest : public testing::Test {
protected:
    // started: tiles and configuration prepared and the start-up run; otherwise
    // the test does both.
    explicit DesktopTest(bool started = true) {
        if (started) start.prepare(4, 0, 0);
        ui.onMessage = [this](const std::string& text, const std::string& title, Icon icon) {
            messages.push_back({text, title, icon});
        };
        ui.onQuit = [this] { ++quits; };
        ui.attach(p);
        if (started) init(p);
        form().show();
        QCoreApplication::processEvents();
    }

    MainForm& form() { return ui.window(); }
    QAction* action(MenuControl name, int index = -1) { return form().action({name, index}); }
    void choose(MenuControl name, int index = -1) {
        QAction* item = action(name, index);
        ASSERT_NE(item, nullptr) << menuControlName(name) << " " << index;
        item->trigger();
    }
    // Opens a menu as the user does and closes it again.
    void open(MenuControl name, int index = -1) {
        QMenu* menu = form().menu({name, index});
        ASSERT_NE(menu, nullptr) << menuControlName(name);
        menu->popup(QPoint(0, 0));
        menu->hide();
    }
    // Runs f at the first yield of the next drawing.
    void duringDrawing(std::function<void()> f) { QTimer::singleShot(0, &form(), std::move(f)); }
    std::vector<int> checkedItems(MenuControl name, int count) {
        std::vector<int> result;
        for (int i = 0; i < count; ++i)
            if (action(name, i)->isChecked()) result.push_back(i);
        return result;
    }
    QSize pictureSize() { return form().picture()->size(); }
    int drawnRows() const {
        int rows = 0;
        for (int y = 0; y < p.dmap.image.height(); ++y)
            if (p.dmap.image.pixel(0, y) != kPictureBackground) ++rows;
        return rows;
    }

    test::StartFolder start;
    QtPlatform ui;
    Program p{ui};
    std::vector<Shown> messages;
    int quits = 0;
};

// Lines "name(index) caption" indented by depth; feature submenus are not entered.
void listMenus(const QList<QAction*>& actions, int depth, std::vector<std::string>& lines) {
    static const QStringList features = {"m_plan", "m_cter", "m_craters", "m_europe", "m_val"};
    for (QAction* a : actions) {
        std::string line(std::size_t(depth) * 2, ' ');
        line += a->objectName().toStdString();
        if (a->data().toInt() >= 0) {
            line += '(';
            line += std::to_string(a->data().toInt());
            line += ')';
        }
        if (a->isSeparator()) {
            line += " -";
        } else {
            line += " \"";
            line += a->text().toStdString();
            line += '"';
        }
        lines.push_back(line);
        if (a->menu() && !features.contains(a->objectName())) listMenus(a->menu()->actions(), depth + 1, lines);
    }
}

TEST_F(DesktopTest, MenuBarFollowsTheMenuTable) {
    const std::vector<std::string> expected = {
        "m_file \"&File    \"",
        "  m_load \"Load a MOLA DEM\"",
        "    m_tile(0) \"Northwest\"",
        "    m_tile(1) \"Northeast\"",
        "    m_tile(2) \"Southwest\"",
        "    m_tile(3) \"Southeast\"",
        "    m_tile(4) -",
        "    m_tile(5) \"Entire Planet - centred on 000°\"",
        "    m_tile(6) \"Entire Planet - centred on 180°\"",
        "    m_tile(7) -",
        "    m_tile(8) \"North Polar Region\"",
        "    m_tile(9) \"South Polar Region\"",
        "  m_savemap \"Save Map    \"",
        "  bar3 -",
        "  m_terminate \"Terminate Drawing Mode\"",
        "  bar4 -",
        "  m_default \"Set MEGDR064 DEM File Folder\"",
        "  bar -",
        "  m_end \"E&xit\"",
        "m_area \"Map Area    \"",
        "  m_find \"Find Place...   Ctrl+F\"",
        "  fbar -",
        "  m_plan \"Planitiae (plains)\"",
        "  m_cter \"Cratered Terrain\"",
        "  m_craters \"Craters\"",
        "  m_europe \"Mountains and Hills\"",
        "  m_val \"Channels and Valleys\"",
        "  mbar -",
        "  m_custom \"Custom Area\"",
        "m_size \"Resolution    \"",
        "  m_siz(0) \"Thumbnail (5%)\"",
        "  m_siz(1) \"7.5%\"",
        "  m_siz(2) \"10%\"",
        "  m_siz(3) \"12.5%\"",
        "  m_siz(4) \"25%\"",
        "  m_siz(5) \"33%\"",
        "  m_siz(6) \"50%\"",
        "  m_siz(7) \"100%\"",
        "m_topo \"Topography    \"",
        "  m_scheme(0) \"Scheme\"",
        "    m_setcol(0) \"Brown Relief\"",
        "    m_setcol(1) \"Blue/Green/Brown (pale)\"",
        "    m_setcol(2) \"Blue/Green/Brown (darker)\"",
        "    m_setcol(3) \"Blue/Green/Brown (histogram)\"",
        "    m_setcol(4) \"Putative Northern Ocean (datum-3000 m)\"",
        "    m_setcol(5) \"MOLA multicolour\"",
        "    m_setcol(6) -",
        "    m_setcol(7) \"Enhanced -3000 to +3000 metre detail\"",
        "    m_setcol(8) \"Enhanced -6000 to 0 metres (below datum)\"",
        "    m_setcol(9) \"Enhanced 0 to 6000 metres (above datum)\"",
        "  m_scheme(1) \"Mode\"",
        "    m_mode(0) \"Contoured shading\"",
        "    m_mode(1) \"Blended shading\"",
        "    m_mode(2) \"Square root enhanced\"",
        "    m_mode(3) \"Squared enhanced\"",
        "  m_define \"Define Range    \"",
        "  rbar -",
        "  m_relief \"Relief Shading\"",
        "  m_reliefset \"Relief Settings...\"",
        "m_kk \"Show Colour Key      \"",
        "  m_key(0) \"Vertical     \"",
        "  m_key(1) \"Horizontal\"",
        "m_help \"Help      \"",
        "  m_h(0) \"About\"",
        "  m_h(1) \"Program Help\"",
        "  m_h(2) -",
        "  m_h(3) \"Annotated Map of Mars\"",
        "  m_h(4) -",
        "  m_h(5) \"Sourcing the MEG064 MOLA DEMs\"",
        "prcent \"\"",
    };
    std::vector<std::string> lines;
    listMenus(form().menuArea()->menus()->actions() + form().menuArea()->status()->actions(), 0, lines);
    EXPECT_EQ(lines, expected);
}

struct SubmenuCase {
    MenuControl control;
    MenuControl items;
    int count;
    const char* first;
    const char* last;
};

class FeatureSubmenu : public DesktopTest, public testing::WithParamInterface<SubmenuCase> {};

TEST_P(FeatureSubmenu, HoldsTheCatalogueInOrder) {
    const SubmenuCase& c = GetParam();
    QMenu* submenu = form().menu({c.control});
    ASSERT_NE(submenu, nullptr);
    const QList<QAction*> items = submenu->actions();
    ASSERT_EQ(items.size(), c.count);
    for (int i = 0; i < c.count; ++i) {
        EXPECT_EQ(items[i]->objectName().toStdString(), menuControlName(c.items));
        EXPECT_EQ(items[i]->data().toInt(), i);
        EXPECT_EQ(action(c.items, i), items[i]);
    }
    EXPECT_EQ(items.front()->text().toStdString(), c.first);
    EXPECT_EQ(items.back()->text().toStdString(), c.last);
}

INSTANTIATE_TEST_SUITE_P(Desktop, FeatureSubmenu,
                         testing::Values(SubmenuCase{MenuControl::m_plan, MenuControl::m_p, 12, "Acidalia", "Utopia"},
                                         SubmenuCase{MenuControl::m_cter, MenuControl::m_ct, 9, "Aonia Terra", "Tyrrhenia Terra"},
                                         SubmenuCase{MenuControl::m_craters, MenuControl::m_c, 16, "Cassini", "Victoria"},
                                         SubmenuCase{MenuControl::m_europe, MenuControl::m_m, 16, "Alba Patera", "Uranius Patera"},
                                         SubmenuCase{MenuControl::m_val, MenuControl::m_v, 19, "Acheron Fossae", "Valles Marineris"}),
                         [](const auto& info) { return std::string(menuControlName(info.param.items)); });

struct StartCase {
    const char* name;
    int tiles;
    bool mapArea;
    std::size_t messages;
};

class StartUp : public DesktopTest, public testing::WithParamInterface<StartCase> {
protected:
    StartUp() : DesktopTest(false) {}
};

TEST_P(StartUp, ShowsCaptionAndDisablesTheMapMenus) {
    const StartCase& c = GetParam();
    if (c.tiles > 0) start.prepare(c.tiles, 2, 3);
    init(p);

    EXPECT_EQ(form().windowTitle().toStdString(), "Rubicel v 1.12  -  March 6, 2007");
    EXPECT_EQ(action(MenuControl::m_area)->isEnabled(), c.mapArea);
    for (MenuControl menu : {MenuControl::m_topo, MenuControl::m_size, MenuControl::m_define}) EXPECT_FALSE(action(menu)->isEnabled()) << menuControlName(menu);
    EXPECT_EQ(messages.size(), c.messages);
    EXPECT_EQ(checkedItems(MenuControl::m_setcol, 10), std::vector<int>{p.colour.scheme});
    EXPECT_EQ(checkedItems(MenuControl::m_mode, 4), std::vector<int>{p.colour.mode});
    EXPECT_TRUE(form().picture()->image().isNull()) << "no map is drawn at start";
    // The empty window says where to start, in the menus' own words.
    const QString hint = form().hintText();
    const QString arrow = QString::fromUtf8(" \u25b8 ");
    if (c.mapArea) {
        EXPECT_TRUE(hint.contains("File" + arrow + "Load a MOLA DEM")) << hint.toStdString();
        EXPECT_TRUE(hint.contains("Map Area" + arrow + "Custom Area")) << hint.toStdString();
    } else {
        EXPECT_TRUE(hint.contains("File" + arrow + "Set MEGDR064 DEM File Folder")) << hint.toStdString();
    }
    if (c.mapArea) {
        choose(MenuControl::m_tile, 3);
        EXPECT_TRUE(form().hintText().isEmpty()) << "not once a map is drawn";
    }
}

INSTANTIATE_TEST_SUITE_P(Desktop, StartUp,
                         testing::Values(StartCase{"four_tiles", 4, true, 0}, StartCase{"three_tiles", 3, false, 1},
                                         StartCase{"no_configuration", 0, false, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DesktopTest, EntirePlanetTwiceShowsTheRasterItselfAndScrollsOnlyWhenWider) {
    choose(MenuControl::m_tile, 5);
    EXPECT_EQ(pictureSize(), QSize(960, 480));
    EXPECT_EQ(form().picture()->image().constBits(), reinterpret_cast<const uchar*>(p.dmap.image.data()))
        << "the window paints the raster's own memory";
    EXPECT_FALSE(form().scrollBar(Control::Hscrbar)->isVisibleTo(&form())) << "the start size shows a whole planet";
    EXPECT_FALSE(form().scrollBar(Control::Vscrbar)->isVisibleTo(&form()));

    choose(MenuControl::m_tile, 5);
    EXPECT_EQ(pictureSize(), QSize(1152, 576));
    EXPECT_EQ(p.map.resolution, 20);
    EXPECT_EQ(form().picture()->image().constBits(), reinterpret_cast<const uchar*>(p.dmap.image.data()));
    EXPECT_EQ(form().picture()->image().format(), QImage::Format_RGB32);
    EXPECT_TRUE(form().scrollBar(Control::Hscrbar)->isVisibleTo(&form()));
    EXPECT_TRUE(messages.empty()) << messages.front().text;
}

TEST_F(DesktopTest, StartSizeShowsAWholePlanetWithItsProgressText) {
    choose(MenuControl::m_tile, 5);
    QCoreApplication::processEvents();
    const QRect shown = form().picture()->geometry().intersected(form().client()->rect());
    EXPECT_EQ(shown.size(), QSize(960, 480));
    EXPECT_FALSE(action(MenuControl::prcent)->text().isEmpty());
    EXPECT_LE(form().frameGeometry().width(), 1366);
    EXPECT_LE(form().frameGeometry().height(), 768 - 60) << "room for a title bar and a panel";
}

TEST_F(DesktopTest, TileItemMarksTheTileAndSevenAndAHalfPercent) {
    choose(MenuControl::m_tile, 0);
    EXPECT_EQ(pictureSize(), QSize(886, 443));
    EXPECT_EQ(checkedItems(MenuControl::m_tile, 7), std::vector<int>{0});
    EXPECT_EQ(checkedItems(MenuControl::m_siz, 8), std::vector<int>{1});
    const QString status = action(MenuControl::prcent)->text();
    EXPECT_TRUE(status.startsWith("Progress ... ")) << status.toStdString();

    choose(MenuControl::m_tile, 2);
    EXPECT_EQ(checkedItems(MenuControl::m_tile, 7), std::vector<int>{2});
}

struct StatusCase {
    const char* name;
    int windowWidth;
    bool whole;  // the caption fits beside the menus
};

class StatusText : public DesktopTest, public testing::WithParamInterface<StatusCase> {};

TEST_P(StatusText, StaysBesideTheMenusWithoutMovingTheMap) {
    const StatusCase& c = GetParam();
    form().resize(c.windowWidth, form().height());
    QCoreApplication::processEvents();
    MenuArea* area = form().menuArea();
    const int rowHeight = area->height();
    const QRect client = form().client()->geometry();
    open(MenuControl::m_area);
    choose(MenuControl::m_m, 7);
    QCoreApplication::processEvents();

    StatusItem* status = area->status();
    const QString caption = action(MenuControl::prcent)->text();
    EXPECT_TRUE(caption.startsWith("640×597 pixel image   -  Mapping ... long: -150° to -120°")) << caption.toStdString();
    EXPECT_EQ(area->height(), rowHeight) << "the menu bar keeps its height";
    EXPECT_EQ(form().client()->geometry(), client) << "the map stays where it was";
    EXPECT_EQ(status->geometry().top(), 0);
    EXPECT_EQ(status->geometry().left(), area->menus()->geometry().right() + 1) << "right after the menus";
    EXPECT_EQ(status->toolTip(), caption);
    const QString shown = status->shownText();
    EXPECT_LE(status->fontMetrics().horizontalAdvance(shown), status->width()) << "the text is not cut by the window";
    if (c.whole) {
        EXPECT_EQ(shown, caption);
    } else {
        ASSERT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
        EXPECT_TRUE(caption.startsWith(shown.chopped(1))) << shown.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Desktop, StatusText,
                         testing::Values(StatusCase{"whole_in_a_wide_window", 1360, true},
                                         StatusCase{"cut_at_the_start_size", 968, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct AllowedCase {
    const char* name;
    std::vector<MenuId> steps;  // a menu is opened, an item chosen
    std::vector<bool> enabled;
};

class ResolutionItems : public DesktopTest, public testing::WithParamInterface<AllowedCase> {};

TEST_P(ResolutionItems, AreAllowedByTheKindOfMap) {
    const AllowedCase& c = GetParam();
    for (const MenuId& step : c.steps) {
        if (form().menu(step))
            open(step.control, step.index);
        else
            choose(step.control, step.index);
    }
    open(MenuControl::m_size);
    std::vector<bool> enabled;
    for (int i = 0; i < 8; ++i) enabled.push_back(action(MenuControl::m_siz, i)->isEnabled());
    EXPECT_EQ(enabled, c.enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Desktop, ResolutionItems,
    testing::Values(
        AllowedCase{"entire_planet", {{MenuControl::m_tile, 5}}, {true, true, true, true, true, false, false, false}},
        AllowedCase{"tile_after_the_planet", {{MenuControl::m_tile, 5}, {MenuControl::m_tile, 1}}, {true, true, true, true, true, true, false, false}},
        AllowedCase{"feature_after_a_tile", {{MenuControl::m_tile, 1}, {MenuControl::m_area}, {MenuControl::m_c, 15}}, std::vector<bool>(8, true)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DesktopTest, FeatureIsMarkedOnlyAfterItsDrawing) {
    open(MenuControl::m_area);
    choose(MenuControl::m_v, 18);
    ASSERT_TRUE(action(MenuControl::m_v, 18)->isChecked());

    open(MenuControl::m_area);
    bool markedWhileDrawing = true;
    bool previousKeptWhileDrawing = false;
    duringDrawing([&] {
        markedWhileDrawing = action(MenuControl::m_m, 7)->isChecked();
        previousKeptWhileDrawing = action(MenuControl::m_v, 18)->isChecked();
    });
    choose(MenuControl::m_m, 7);

    EXPECT_FALSE(markedWhileDrawing);
    EXPECT_TRUE(previousKeptWhileDrawing);
    EXPECT_TRUE(action(MenuControl::m_m, 7)->isChecked());
    EXPECT_FALSE(action(MenuControl::m_v, 18)->isChecked());
    EXPECT_EQ(p.map.maparea, (std::array<std::int16_t, 4>{-150, 30, -120, 2}));
}

TEST_F(DesktopTest, ChoosingAMarkedItemAgainKeepsItsMark) {
    open(MenuControl::m_area);
    choose(MenuControl::m_c, 15);
    open(MenuControl::m_area);
    bool markedWhileDrawing = false;
    duringDrawing([&] { markedWhileDrawing = action(MenuControl::m_c, 15)->isChecked(); });
    choose(MenuControl::m_c, 15);
    EXPECT_TRUE(markedWhileDrawing) << "the item does not toggle itself";
    EXPECT_TRUE(action(MenuControl::m_c, 15)->isChecked());
}

TEST_F(DesktopTest, TerminateDuringADrawingEndsItAtTheNextRow) {
    duringDrawing([&] { choose(MenuControl::m_terminate); });
    choose(MenuControl::m_tile, 0);
    EXPECT_EQ(drawnRows(), 1);
    EXPECT_EQ(p.map.stopflag, 1);
    EXPECT_FALSE(p.files[0].isOpen());
    EXPECT_TRUE(messages.empty()) << messages.front().text;
}

TEST_F(DesktopTest, SchemeChangeRedrawsTheCurrentMap) {
    choose(MenuControl::m_tile, 3);
    constexpr std::uint32_t mark = packRgb(1, 2, 3);
    p.dmap.image.fill(mark);
    open(MenuControl::m_topo);
    choose(MenuControl::m_setcol, 1);
    EXPECT_EQ(p.colour.scheme, 1);
    EXPECT_EQ(checkedItems(MenuControl::m_setcol, 10), std::vector<int>{1});
    EXPECT_NE(p.dmap.image.pixel(0, 0), mark);
    EXPECT_NE(p.dmap.image.pixel(0, 442), mark);
    EXPECT_EQ(pictureSize(), QSize(886, 443));
}

struct ClickCase {
    const char* name;
    Qt::MouseButton button;
    bool mapFirst;
    bool popup;
};

class PictureClick : public DesktopTest, public testing::WithParamInterface<ClickCase> {};

TEST_P(PictureClick, RightButtonPopsUpTheTopographyMenu) {
    const ClickCase& c = GetParam();
    if (c.mapFirst) choose(MenuControl::m_tile, 0);
    MapPictureWidget* picture = form().picture();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), picture->mapToGlobal(QPointF(5, 5)), c.button,
                      c.button, Qt::NoModifier);
    QCoreApplication::sendEvent(picture, &press);
    QMenu* topography = form().menu({MenuControl::m_topo});
    EXPECT_EQ(topography->isVisible(), c.popup);
    topography->hide();
}

INSTANTIATE_TEST_SUITE_P(Desktop, PictureClick,
                         testing::Values(ClickCase{"right", Qt::RightButton, true, true},
                                         ClickCase{"left", Qt::LeftButton, true, false},
                                         ClickCase{"right_before_any_map", Qt::RightButton, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PointerCase {
    const char* name;
    std::vector<QPoint> moves;  // with the left button down, from (10, 10)
    bool escape;                // Escape before the button comes up
    bool draws;
};

class PictureDrag : public DesktopTest, public testing::WithParamInterface<PointerCase> {
protected:
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        MapPictureWidget* picture = form().picture();
        QMouseEvent event(type, QPointF(at), picture->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(picture, &event);
    }
};

TEST_P(PictureDrag, ReadsOutUnderThePointerAndDrawsADraggedBox) {
    const PointerCase& c = GetParam();
    choose(MenuControl::m_tile, 0);  // Northwest, step 13: pixel (5, 5) shows record 66, column 65
    MapPictureWidget* picture = form().picture();
    mouse(QEvent::MouseMove, {5, 5}, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(picture->pointerText().startsWith(QString::fromUtf8("88.98°N  178.98°W (181.02°E)   ")))
        << picture->pointerText().toStdString();

    const QPoint origin(10, 10);
    mouse(QEvent::MouseButtonPress, origin, Qt::LeftButton, Qt::LeftButton);
    for (const QPoint& at : c.moves) mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(picture->banding(), c.draws || c.escape);
    if (c.escape) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(picture, &escape);
        EXPECT_FALSE(picture->banding());
    }
    mouse(QEvent::MouseButtonRelease, c.moves.empty() ? origin : c.moves.back(), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(picture->banding());
    EXPECT_EQ(p.map.mapsource, c.draws ? kFromArea : kFromTile);
    // From column 130 of record 131 to column 780 of record 781, rounded outward.
    if (c.draws) {
        EXPECT_EQ(p.map.maparea, (std::array<std::int16_t, 4>{-178, 88, -167, 77}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Desktop, PictureDrag,
    testing::Values(PointerCase{"click", {}, false, false},
                    PointerCase{"within_the_drag_distance", {QPoint(11, 11)}, false, false},
                    PointerCase{"drag", {QPoint(30, 20), QPoint(60, 60)}, false, true},
                    PointerCase{"escape_cancels", {QPoint(30, 20), QPoint(60, 60)}, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

// The read-out beside the pointer stays whole inside the part of the window
// that shows the map: at each corner of a map larger than the window, and
// beside a map smaller than the read-out.
TEST_F(DesktopTest, PointerReadOutStaysInsideTheMapArea) {
    MapPictureWidget* picture = form().picture();
    const auto moveTo = [picture](QPoint at) {
        QMouseEvent event(QEvent::MouseMove, QPointF(at), picture->mapToGlobal(QPointF(at)), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(picture, &event);
    };
    const auto wholeInside = [&](QPoint at) {
        moveTo(at);
        const QLabel* label = picture->pointerLabel();
        ASSERT_TRUE(label->isVisible()) << at.x() << "," << at.y();
        EXPECT_TRUE(form().mapViewport().contains(label->geometry()))
            << at.x() << "," << at.y() << ": " << label->geometry().x() << "," << label->geometry().y();
        EXPECT_EQ(label->visibleRegion(), QRegion(label->rect())) << at.x() << "," << at.y() << ": nothing cut off";
    };
    choose(MenuControl::m_tile, 0);
    form().resize(600, 400);
    QCoreApplication::processEvents();
    const QRect viewport = form().mapViewport();
    for (const QPoint corner : {viewport.topLeft(), viewport.topRight(), viewport.bottomLeft(), viewport.bottomRight()})
        wholeInside(picture->mapFrom(form().client(), corner));

    choose(MenuControl::m_siz, 0);
    choose(MenuControl::m_tile, 8);  // the north polar region as a thumbnail
    QCoreApplication::processEvents();
    ASSERT_LT(pictureSize().width(), picture->pointerLabel()->width()) << "a map narrower than its read-out";
    const QSize size = pictureSize();
    for (const QPoint rim : {QPoint(size.width() - 2, size.height() / 2), QPoint(size.width() / 2, size.height() - 2)})
        wholeInside(rim);
    EXPECT_TRUE(messages.empty()) << messages.front().text;
}

// A wheel notch over a finished map draws the map one step finer about the
// pointer; one during a drawing does nothing; Alt+Left goes back.
TEST_F(DesktopTest, WheelZoomsAFinishedMapAndAltLeftGoesBack) {
    MapPictureWidget* picture = form().picture();
    const auto wheel = [picture](int angle) {
        const QPointF at(122, 192);
        QWheelEvent event(at, picture->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(picture, &event);
    };
    choose(MenuControl::m_tile, 5);
    wheel(60);  // half a notch
    EXPECT_EQ(p.map.areaclass, kEntirePlanet);
    wheel(60);
    EXPECT_EQ(p.map.areaclass, kAreaMap);
    EXPECT_EQ(p.dmap.shows.step, 13);
    EXPECT_EQ(checkedItems(MenuControl::m_siz, 8), std::vector<int>{1});
    const QSize client = form().client()->size();
    EXPECT_NEAR(pictureSize().width(), client.width(), 6);
    EXPECT_NEAR(pictureSize().height(), client.height(), 6);

    duringDrawing([&] { wheel(120); });
    choose(MenuControl::m_tile, 5);
    EXPECT_EQ(p.map.areaclass, kEntirePlanet);
    EXPECT_EQ(p.dmap.shows.step, 24);
    EXPECT_EQ(p.history.size(), 3u);

    QKeyEvent back(QEvent::KeyPress, Qt::Key_Left, Qt::AltModifier);
    QCoreApplication::sendEvent(&form(), &back);
    EXPECT_EQ(p.map.areaclass, kAreaMap);
    EXPECT_EQ(p.dmap.shows.step, 13);
}

// What a mouse leaves behind does not change what comes next: a middle drag
// whose release went elsewhere, a part of a wheel notch from long ago or the
// other way.
TEST_F(DesktopTest, MiddleDragAndWheelForgetWhatTheMouseLeftBehind) {
    // A middle drag over the step-20 planet (the planet chosen twice); its
    // release is lost, the button found up on the next move.
    choose(MenuControl::m_tile, 5);
    choose(MenuControl::m_tile, 5);
    ASSERT_EQ(pictureSize(), QSize(1152, 576));
    MapPictureWidget* picture = form().picture();
    const auto mouse = [picture](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), picture->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(picture, &event);
    };
    QScrollBar* bar = form().scrollBar(Control::Hscrbar);
    mouse(QEvent::MouseButtonPress, {300, 100}, Qt::MiddleButton, Qt::MiddleButton);
    mouse(QEvent::MouseMove, {250, 100}, Qt::NoButton, Qt::MiddleButton);
    const int dragged = bar->value();
    EXPECT_GT(dragged, 0) << "the picture follows the pointer";
    mouse(QEvent::MouseMove, {150, 100}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(bar->value(), dragged) << "a plain move scrolls nothing";
    EXPECT_FALSE(p.middleDrag.active);

    // Half notches: after a pause, or the other way, they do not add up.
    const int history = int(p.history.size());
    const auto wheel = [picture](int angle, quint64 time) {
        const QPointF at(200, 200);
        QWheelEvent event(at, picture->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        event.setTimestamp(time);
        QCoreApplication::sendEvent(picture, &event);
    };
    wheel(60, 10000);
    wheel(60, 12000);
    EXPECT_EQ(int(p.history.size()), history) << "a half from two seconds ago is forgotten";
    wheel(-90, 12010);
    wheel(90, 12020);
    EXPECT_EQ(int(p.history.size()), history) << "no whole notch yet";
    wheel(30, 12030);
    EXPECT_EQ(int(p.history.size()), history + 1) << "only the last turn's parts make the notch";
    EXPECT_TRUE(messages.empty()) << messages.front().text;
}

class ProfileDrag : public DesktopTest {
protected:
    void shiftMouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        MapPictureWidget* picture = form().picture();
        QMouseEvent event(type, QPointF(at), picture->mapToGlobal(QPointF(at)), button, held, Qt::ShiftModifier);
        QCoreApplication::sendEvent(picture, &event);
    }
    // A Shift-drag from (10, 10) over (30, 20) to end; Escape before the release when escape.
    void shiftDrag(bool escape = false, QPoint end = {60, 60}) {
        shiftMouse(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
        for (QPoint at : {QPoint(30, 20), end}) shiftMouse(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        EXPECT_FALSE(form().picture()->banding());
        if (escape) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(form().picture(), &key);
        }
        shiftMouse(QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton);
    }
};

TEST_F(ProfileDrag, ShowsTheProfileKeepsTheLineUntilTheNextMapAndSavesItsCsv) {
    // Northwest at step 13: pixel (10, 10) shows record 131, column 130, and (60, 60) record 781, column 780.
    const std::string tile = start.tileFolder() + "/megt90n180gb.img";
    for (int record = 131; record <= 781; ++record)
        test::writeRecord(tile, record, [](int c) { return std::int16_t(c); });
    ProfileTool* tool = form().profiles();
    const auto askWithTheDialog = tool->askSavePath;
    duringDrawing([&] { shiftDrag(); });
    choose(MenuControl::m_tile, 0);
    EXPECT_EQ(tool->window(), nullptr) << "a Shift-drag during a drawing does nothing";
    shiftDrag(true);
    EXPECT_EQ(tool->window(), nullptr) << "Escape cancels the line";

    shiftDrag();
    ASSERT_NE(tool->window(), nullptr);
    EXPECT_TRUE(tool->window()->isVisible());
    EXPECT_EQ(tool->window()->windowTitle(), "Elevation Profile");
    EXPECT_EQ(p.map.mapsource, kFromTile) << "no box was drawn";
    const auto overlay = form().picture()->profileOverlay();
    ASSERT_TRUE(overlay);
    // The path from the centre of pixel (10, 10) to that of (60, 60), one run.
    ASSERT_EQ(overlay->path.size(), 1u);
    EXPECT_EQ(overlay->path[0].front(), QPointF(10.5, 10.5));
    EXPECT_LE(QLineF(overlay->path[0].back(), QPointF(60.5, 60.5)).length(), 0.01);

    // Pointing at the middle of the chart names a point and marks it on the map.
    ProfileWindow* window = tool->window();
    const QWidget* chart = window->findChild<QWidget*>("chart");
    window->hoverAt(QPointF(chart->width() / 2.0, chart->height() / 2.0));
    EXPECT_TRUE(window->hoverText().contains(" km   ")) << window->hoverText().toStdString();
    const auto marked = form().picture()->profileOverlay();
    ASSERT_TRUE(marked && marked->mark);
    EXPECT_TRUE(QRectF(10, 10, 51, 51).contains(*marked->mark));

    // The dialog opens in the maps folder; cancelled, it leaves no folder behind.
    QString suggested;
    bool folderShown = false;
    const std::filesystem::path maps = start.path() / "Maps";
    const std::string saved = (maps / "saved.csv").string();
    tool->askSavePath = [&](const QString& path) {
        suggested = path;
        folderShown = std::filesystem::is_directory(maps);
        return QString();
    };
    window->saveButton()->click();
    EXPECT_TRUE(suggested.startsWith(QString::fromStdString(p.map.startfolder + "/Maps/"))) << suggested.toStdString();
    EXPECT_TRUE(folderShown);
    EXPECT_FALSE(std::filesystem::exists(maps)) << "no folder for a cancelled dialog";
    tool->askSavePath = [&](const QString&) { return QString::fromStdString(saved); };
    window->saveButton()->click();
    // The same CSV as the profile between the two sample centres, read from the columns written.
    std::array<std::string, 4> paths;
    for (std::size_t t = 0; t < 4; ++t) paths[t] = start.tileFolder() + "/" + test::kTileNames[t];
    ElevationProfile expected;
    ASSERT_EQ(elevationProfile(paths, {90 - 130.5 / 64, -180 + 130.5 / 64}, {90 - 780.5 / 64, -180 + 780.5 / 64}, 0,
                               expected),
              std::nullopt);
    EXPECT_EQ(test::readAll(saved), profileCsv(expected));

    // The dialog adds ".csv" before it asks about a file of that name: "saved" asks about saved.csv.
    QString question;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText("saved");
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                question = box->text();
                box->reject();
            }
        });
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
        dialog->reject();
    });
    EXPECT_TRUE(askWithTheDialog(QString::fromStdString(saved)).isEmpty());
    EXPECT_TRUE(question.startsWith("saved.csv already exists.")) << question.toStdString();

    // The next line replaces the profile in the same window: (60, 10) shows record 131, column 780.
    shiftDrag(false, {60, 10});
    EXPECT_EQ(tool->window(), window);
    EXPECT_LE(QLineF(form().picture()->profileOverlay()->path[0].back(), QPointF(60.5, 10.5)).length(), 0.01);
    EXPECT_NEAR(tool->line().profile.end.latitude, 90 - 130.5 / 64, 1e-9);

    choose(MenuControl::m_tile, 0);
    EXPECT_FALSE(form().picture()->profileOverlay()) << "the next map drops the line";
    EXPECT_TRUE(messages.empty()) << messages.front().text;
}

TEST_F(DesktopTest, ScrollBarsMoveThePictureAndFollowTheWindowSize) {
    choose(MenuControl::m_tile, 5);
    choose(MenuControl::m_tile, 5);
    QScrollBar* bar = form().scrollBar(Control::Hscrbar);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->singleStep(), 100);
    EXPECT_EQ(bar->pageStep(), 1000);

    bar->setValue(30000);
    // (17280 - 968 x 15) / 10 = 276 steps of 10 twips.
    EXPECT_EQ(form().client()->width(), 968);
    EXPECT_EQ(bar->maximum(), 276);
    EXPECT_EQ(bar->value(), 276);
    EXPECT_EQ(p.dmap.left, -2760);
    EXPECT_EQ(form().picture()->x(), -184);

    bar->setValue(100);
    EXPECT_EQ(p.dmap.left, -1000);
    EXPECT_EQ(form().picture()->x(), -67) << "-1000 twips fall on the nearest pixel";

    form().resize(700, 400);
    QCoreApplication::processEvents();
    const QRect client = form().client()->rect();
    const QRect h = bar->geometry();
    const QRect v = form().scrollBar(Control::Vscrbar)->geometry();
    EXPECT_EQ(h.bottom(), client.bottom());
    EXPECT_EQ(h.width(), client.width() - v.width());
    EXPECT_EQ(v.right(), client.right());
    EXPECT_EQ(v.height(), client.height() - h.height());
    EXPECT_EQ(form().corner()->geometry().topLeft(), QPoint(v.x(), h.y()));
}

// Every part of the picture shown can be reached: the bars follow each resize
// and each picture, and a bar that goes puts the picture back at its edge.
TEST_F(DesktopTest, KeyboardAndScrollBarsSurviveThePanelsTheResizesAndTheAnnotatedMap) {
    QScrollBar* h = form().scrollBar(Control::Hscrbar);
    QScrollBar* v = form().scrollBar(Control::Vscrbar);
    const QSize start = form().size();
    choose(MenuControl::m_tile, 5);
    EXPECT_FALSE(h->isVisibleTo(&form()));
    form().resize(600, 300);
    QCoreApplication::processEvents();
    EXPECT_TRUE(h->isVisibleTo(&form())) << "shrunk below the map";
    EXPECT_TRUE(v->isVisibleTo(&form()));
    h->setValue(h->maximum() + 1000);
    v->setValue(v->maximum() + 1000);
    EXPECT_LE(form().picture()->geometry().right(), form().client()->rect().right()) << "the east edge is reached";
    EXPECT_LE(form().picture()->geometry().bottom(), form().client()->rect().bottom());
    form().resize(start);
    QCoreApplication::processEvents();
    EXPECT_FALSE(h->isVisibleTo(&form())) << "made larger again";
    EXPECT_FALSE(v->isVisibleTo(&form()));
    EXPECT_EQ(form().picture()->pos(), QPoint(0, 0)) << "no part is left out of reach";

    m_h_Click(p, 3);
    QCoreApplication::processEvents();
    ASSERT_EQ(pictureSize().width(), 1024);
    EXPECT_TRUE(h->isVisibleTo(&form())) << "the annotated map is wider than the window";
    h->setValue(h->maximum() + 1000);
    EXPECT_LE(form().picture()->geometry().right(), form().client()->rect().right());

    // A mouse click on Quit or Save leaves the keyboard with the map.
    choose(MenuControl::m_tile, 0);
    choose(MenuControl::m_tile, 5);
    SavePanelWidget* panel = ui.forms()->savePanel();
    for (QPushButton* button : {panel->quitButton(), panel->saveButton()}) {
        const std::size_t before = p.history.size();
        choose(MenuControl::m_savemap);
        ASSERT_TRUE(panel->isVisible());
        panel->newmap()->setText("keys");
        button->setFocus(Qt::MouseFocusReason);
        button->click();
        QCoreApplication::processEvents();
        EXPECT_FALSE(panel->isVisible());
        QWidget* focus = QApplication::focusWidget();
        QKeyEvent back(QEvent::KeyPress, Qt::Key_Left, Qt::AltModifier);
        QCoreApplication::sendEvent(focus ? focus : static_cast<QWidget*>(&form()), &back);
        EXPECT_EQ(p.history.size(), before) << "no map is added by going back";
        EXPECT_EQ(p.map.mapsource, kFromTile) << button->objectName().toStdString() << ": Alt+Left went back";
        QKeyEvent forward(QEvent::KeyPress, Qt::Key_Right, Qt::AltModifier);
        QCoreApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : &form(), &forward);
        EXPECT_EQ(p.map.mapsource, kFromArea);
    }
}

struct LeaveCase {
    const char* name;
    void (*leave)(MainForm&);
};

class LeavingDuringDrawing : public DesktopTest, public testing::WithParamInterface<LeaveCase> {};

TEST_P(LeavingDuringDrawing, StopsClosesAndSavesOnce) {
    p.colour.scheme = 9;
    std::filesystem::remove(start.configPath());
    duringDrawing([this] { GetParam().leave(form()); });
    choose(MenuControl::m_tile, 5);
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(p.exiting);
    EXPECT_LE(drawnRows(), 2);
    EXPECT_FALSE(p.files[0].isOpen());
    EXPECT_FALSE(p.files[1].isOpen());
    EXPECT_NE(start.configuration().find("\n 9 \r\n"), std::string::npos) << start.configuration();
    EXPECT_TRUE(messages.empty()) << messages.front().text;
}

INSTANTIATE_TEST_SUITE_P(Desktop, LeavingDuringDrawing,
                         testing::Values(LeaveCase{"exit_item", [](MainForm& f) { f.action({MenuControl::m_end})->trigger(); }},
                                         LeaveCase{"closing_the_window", [](MainForm& f) { f.close(); }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DesktopTest, FolderPanelSetsTheDataFolderAndCloseSavesAndEnds) {
    choose(MenuControl::m_default);
    FolderPanel* panel = form().folderPanel();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->pos(), QPoint(0, 0));
    EXPECT_EQ(p.colour.scheme, 1);

    const QString folder = QString::fromStdString(start.path().string());
    const QModelIndex index = panel->model()->index(folder);
    ASSERT_TRUE(index.isValid());
    emit panel->tree()->clicked(index);
    EXPECT_EQ(p.map.datafolder, start.path().string());

    panel->findChild<QPushButton*>("setfolder")->click();
    EXPECT_FALSE(panel->isVisible());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "You must now restart the program");
    EXPECT_EQ(messages[0].title, "RESTART PROGRAM");
    EXPECT_EQ(quits, 1);
    std::string firstLine = start.path().string();
    firstLine += "\r\n";
    EXPECT_EQ(start.configuration().rfind(firstLine, 0), 0u) << start.configuration();
}

struct BoxCase {
    const char* name;
    const char* title;
    Icon icon;
    const char* shownTitle;
    QMessageBox::Icon shownIcon;
};

class MessageBoxes : public testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxes, CarryTheTitleTheIconAndOneOkButton) {
    const BoxCase& c = GetParam();
    QtPlatform ui;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        box->accept();
    });
    ui.messageBox("Module 'Drawtile' - <no such file>\n 1  2  3", c.title, c.icon);
    EXPECT_EQ(title.toStdString(), c.shownTitle);
    EXPECT_EQ(text.toStdString(), "Module 'Drawtile' - <no such file>\n 1  2  3");
    EXPECT_EQ(icon, c.shownIcon);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

INSTANTIATE_TEST_SUITE_P(
    Desktop, MessageBoxes,
    testing::Values(BoxCase{"program_title", "", Icon::None, "Rubicel", QMessageBox::NoIcon},
                    BoxCase{"own_title_critical", "Problem finding the MEGDR064 data files", Icon::Critical,
                            "Problem finding the MEGDR064 data files", QMessageBox::Critical},
                    BoxCase{"information", "RESTART PROGRAM", Icon::Information, "RESTART PROGRAM",
                            QMessageBox::Information}),
    [](const auto& info) { return std::string(info.param.name); });

// The real ending: Exit chosen inside a drawing inside the running event loop.
TEST(DesktopEventLoop, ExitDuringADrawingEndsTheEventLoop) {
    test::StartFolder start;
    start.prepare();
    QtPlatform ui;
    Program p(ui);
    ui.attach(p);
    init(p);
    ui.window().show();
    QTimer::singleShot(0, &ui.window(), [&] {
        QTimer::singleShot(0, &ui.window(), [&] { ui.window().action({MenuControl::m_end})->trigger(); });
        ui.window().action({MenuControl::m_tile, 5})->trigger();
    });
    QTimer::singleShot(20000, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(p.exiting);
    EXPECT_TRUE(ui.quitRequested());
    EXPECT_FALSE(p.files[0].isOpen());
    EXPECT_TRUE(std::filesystem::exists(start.configPath()));
}

}  // namespace
}  // namespace rubicel
