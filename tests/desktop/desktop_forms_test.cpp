// SPDX-License-Identifier: MIT
// desktop_forms_test.cpp: Save Map, Custom Area and the Help menu reached from the desktop window's menus.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "desktop/custom_area_dialog.h"
#include "desktop/form_host.h"
#include "desktop/help_viewer.h"
#include "desktop/main_form.h"
#include "desktop/qt_platform.h"
#include "desktop/relief_dialog.h"
#include "desktop/save_panel_widget.h"
#include "support/sparse_tiles.h"
#include "support/start_folder.h"
#include "windows/main_window.h"
#include "windows/program.h"

namespace rubicel {
namespace {

// The desktop program started over four sparse tiles; messages are recorded.
class DesktopFormsTest : public testing::Test {
protected:
    test::StartFolder start;
    QtPlatform ui;
    Program p{ui};
    void SetUp() override {
        start.prepare(4, 0, 0);
        ui.onMessage = [this](const std::string& text, const std::string& title, Icon icon) {
            shown.push_back({text, title, icon});
        };
        ui.onQuit = [] {};
        ui.attach(p);
        init(p);
        ui.window().show();
        QCoreApplication::processEvents();
    }
    void choose(MenuControl name, int index = -1) {
        QAction* item = ui.window().action({name, index});
        ASSERT_NE(item, nullptr) << menuControlName(name);
        item->trigger();
    }

    struct Shown {
        std::string text, title;
        Icon icon;
    };
    std::vector<Shown> shown;
};

TEST_F(DesktopFormsTest, CustomAreaDrawsTheTypedBox) {
    choose(MenuControl::m_area);
    choose(MenuControl::m_custom);
    CustomAreaDialog* d = ui.forms()->customArea();
    ASSERT_TRUE(d->isVisible());
    const std::pair<AreaBox, const char*> typed[] = {
        {AreaBox::longw, "-170"}, {AreaBox::latn, "20"}, {AreaBox::longwid, "40"}, {AreaBox::lathgt, "10"}};
    for (const auto& [box, text] : typed) QTest::keyClicks(d->box(box), text);
    QTest::mouseClick(d->okbox(), Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(shown.empty()) << shown[0].text;
    EXPECT_EQ(p.map.maparea, (std::array<std::int16_t, 4>{170, 25, 210, 15}));
    EXPECT_FALSE(p.dmap.image.empty());
}

TEST_F(DesktopFormsTest, SaveMapShowsThePanelOverTheMapAndSaves) {
    choose(MenuControl::m_tile, 5);
    choose(MenuControl::m_savemap);
    QWidget* panel = ui.window().control(Control::SaveBox);
    ASSERT_EQ(panel, ui.forms()->savePanel());
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->geometry(), QRect(0, 0, 265, 329));
    EXPECT_EQ(ui.forms()->savePanel()->showsavepath()->text().toStdString(), start.path().string() + "/Maps");
    QTest::keyClicks(ui.forms()->savePanel()->newmap(), "planet");
    QTest::mouseClick(ui.forms()->savePanel()->saveButton(), Qt::LeftButton);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(std::filesystem::file_size(start.path() / "Maps" / "planet.BMP"),
              54u + std::uintmax_t(p.dmap.image.height()) * ((p.dmap.image.width() * 3 + 3) / 4 * 4));
}

TEST_F(DesktopFormsTest, ReliefShadingRedrawsTheMap) {
    // Ridges 240 columns wide at 45°N in the north-west tile: planet rows 143 to 145 at step 20.
    for (int record : {2861, 2881, 2901})
        test::writeRecord(std::filesystem::path(start.tileFolder()) / test::kTileNames[3], record,
                          [](int c) { return std::int16_t(c / 240 % 2 * 3000); });
    choose(MenuControl::m_tile, 5);
    choose(MenuControl::m_relief);
    choose(MenuControl::m_relief);  // on and off: the redraw's own map, unshaded
    const Raster plain = p.dmap.image;
    choose(MenuControl::m_relief);
    EXPECT_TRUE(ui.window().action({MenuControl::m_relief})->isChecked());
    // At step 20 a ridge is 12 pixels wide: its west flank is lit, its east flank in shade.
    EXPECT_GT(redOf(p.dmap.image.pixel(11, 144)), redOf(plain.pixel(11, 144)));
    EXPECT_LT(redOf(p.dmap.image.pixel(23, 144)), redOf(plain.pixel(23, 144)));
    EXPECT_EQ(p.dmap.image.pixel(5, 144), plain.pixel(5, 144));  // level ground

    choose(MenuControl::m_reliefset);
    ASSERT_TRUE(ui.forms()->reliefDialog()->isVisible());
    EXPECT_EQ(ui.forms()->reliefDialog()->box(2)->text(), "10");
}

TEST_F(DesktopFormsTest, HelpMenuItems) {
    p.map.maparea = {1, 2, 3, 4};
    choose(MenuControl::m_h, 0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Rubicel v 1.12  -  March 6, 2007");
    EXPECT_EQ(shown[0].icon, Icon::Information);

    choose(MenuControl::m_h, 3);
    EXPECT_EQ(p.dmap.image.width(), 1024);
    EXPECT_EQ(p.dmap.image.height(), 397);
    EXPECT_EQ(ui.window().action({MenuControl::prcent})->text(),
              QString::fromUtf8("Mars map:   longitude -180\u00b0 to +180\u00b0  latitude +57\u00b0 to -57\u00b0"));
    EXPECT_EQ(p.map.maparea, (std::array<std::int16_t, 4>{1, 2, 3, 4}));

    choose(MenuControl::m_h, 1);
    // The viewer has no meta-object of its own: findChild<HelpViewer*> would take
    // the first widget of any kind.
    HelpViewer* viewer = nullptr;
    for (QWidget* w : ui.window().findChildren<QWidget*>())
        if (auto* v = dynamic_cast<HelpViewer*>(w)) viewer = v;
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());

    choose(MenuControl::m_h, 5);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].title, "Obtaining the MEGDR064 MOLA data files");
}

}  // namespace
}  // namespace rubicel
