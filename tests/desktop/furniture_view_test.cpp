// SPDX-License-Identifier: MIT
// furniture_view_test.cpp: the View menu: its layers painted over the map as the files paint them, never into the saved picture, and remembered.
#include "desktop/furniture_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "desktop/form_host.h"
#include "desktop/main_form.h"
#include "desktop/map_picture_widget.h"
#include "desktop/qt_platform.h"
#include "desktop/save_panel_widget.h"
#include "export/furniture_drawing.h"
#include "furniture/map_geometry.h"
#include "support/file_bytes.h"
#include "desktop/shown_window.h"
#include "windows/main_window.h"
#include "windows/program.h"
#include "windows/view_menu.h"

namespace rubicel {
namespace {

class FurnitureViewTest : public test::ShownWindow {
protected:
    void saveMap(const char* name) {
        form().action({MenuControl::m_savemap})->trigger();
        SavePanelWidget* panel = ui.forms()->savePanel();
        panel->newmap()->clear();
        QTest::keyClicks(panel->newmap(), name);
        QTest::mouseClick(panel->saveButton(), Qt::LeftButton);
    }
    // Pixels of the window's picture that differ from raster, and their summed difference from with.
    struct Difference {
        int pixels = 0;
        double fromWith = 0;
    };
    Difference shownOver(const Raster& bare, const Raster& with) {
        const QImage shown = form().picture()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        Difference d;
        for (int y = 0; y < bare.height(); ++y)
            for (int x = 0; x < bare.width(); ++x) {
                const std::uint32_t s = shown.pixel(x, y) & 0xffffffu, w = with.pixel(x, y) & 0xffffffu;
                if (s == (bare.pixel(x, y) & 0xffffffu)) continue;
                ++d.pixels;
                for (int shift : {0, 8, 16}) d.fromWith += std::abs(int(s >> shift & 0xff) - int(w >> shift & 0xff));
            }
        return d;
    }
};

TEST_F(FurnitureViewTest, KeysPaintTheFilesFurnitureOverTheMapNeverIntoTheSavedPicture) {
    form().action({MenuControl::m_tile, 5})->trigger();  // the planet at step 24
    saveMap("bare");
    form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    for (Qt::Key key : {Qt::Key_G, Qt::Key_N, Qt::Key_L, Qt::Key_B}) QTest::keyClick(&form(), key, Qt::ControlModifier);
    for (int k = 0; k < 4; ++k) EXPECT_TRUE(form().action({MenuControl::m_vw, k})->isChecked()) << k;

    // On screen: the furniture rubicel-render paints into files (same layout, same font), up to anti-aliasing.
    const Raster bare = p.dmap.image;
    Raster files = bare;
    const auto map = MapGeometry::of(p.dmap);
    ASSERT_TRUE(map.has_value());
    ASSERT_EQ(drawFurniture(files, *map, p.view), std::nullopt);
    const Difference d = shownOver(bare, files);
    EXPECT_GT(d.pixels, 5000);
    EXPECT_LT(d.fromWith / d.pixels, 12.0) << "mean difference per furniture pixel, sum of channels";
    const FurnitureView& view = *form().furniture();
    EXPECT_GE(view.layout().labels.size(), 100u);
    const int layouts = view.layouts();
    (void)shownOver(bare, files);
    EXPECT_EQ(view.layouts(), layouts) << "laid out once per map, not per paint";

    // Save Map writes the bare picture.
    saveMap("furnished");
    ASSERT_GT(std::filesystem::file_size(start.path() / "Maps" / "bare.BMP"), 54u);
    EXPECT_TRUE(test::readAll(start.path() / "Maps" / "furnished.BMP") ==
                test::readAll(start.path() / "Maps" / "bare.BMP"));

    // The layers are remembered in their own file, and read back at start.
    EXPECT_EQ(test::readAll(start.path() / kViewFileName),
              "graticule=1\nplace-names=1\nlanding-sites=1\nscale-bar=1\n");
    p.view = {};
    init(p);
    EXPECT_TRUE(p.view.graticule && p.view.placeNames && p.view.landingSites && p.view.scaleBar);
    EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST_F(FurnitureViewTest, NorthPolarMapShowsCirclesOfLatitudeAndNamedFeatures) {
    for (int k = 0; k < 4; ++k) form().action({MenuControl::m_vw, k})->trigger();
    form().action({MenuControl::m_tile, 8})->trigger();
    const Raster bare = p.dmap.image;
    EXPECT_GT(shownOver(bare, bare).pixels, 5000);
    const FurnitureLayout& layout = form().furniture()->layout();
    EXPECT_GE(layout.circles.size(), 2u);
    EXPECT_GE(std::count_if(layout.labels.begin(), layout.labels.end(),
                            [](const FurnitureLabel& l) { return l.role == LabelRole::PlaceName; }),
              10);

    // Each item again: every layer off, nothing over the map.
    for (int k = 0; k < 4; ++k) form().action({MenuControl::m_vw, k})->trigger();
    EXPECT_EQ(shownOver(bare, bare).pixels, 0);
}

}  // namespace
}  // namespace rubicel
