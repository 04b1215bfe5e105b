// SPDX-License-Identifier: MIT
// place_finder_test.cpp: Map Area ▸ Find Place: typing lists the best matches, Enter draws the place's map, marked.
#include "desktop/place_finder_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include "desktop/main_form.h"
#include "desktop/map_picture_widget.h"
#include "desktop/qt_platform.h"
#include "export/map_request.h"
#include "places/place_index.h"
#include "desktop/shown_window.h"
#include "windows/main_window.h"
#include "windows/program.h"

namespace rubicel {
namespace {

class PlaceFinderTest : public test::ShownWindow {
protected:
    // Opens the finder with its key and types text into it; null when the key opened nothing.
    PlaceFinderWindow* typeIntoFinder(const char* text) {
        form().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form()));
        QTest::keyClick(&form(), Qt::Key_F, Qt::ControlModifier);
        PlaceFinderWindow* finder = form().finder()->window();
        if (finder) QTest::keyClicks(finder->field(), text);
        return finder;
    }
};

TEST_F(PlaceFinderTest, EnterDrawsTheFirstMatchsPlaceMapMarkedAndBackReturns) {
    form().action({MenuControl::m_tile, 5})->trigger();  // the map before: the planet at step 24
    const AreaBox4 planet = p.map.maparea;

    PlaceFinderWindow* opened = typeIntoFinder("jez");
    ASSERT_NE(opened, nullptr) << "Ctrl+F opens the finder";
    PlaceFinderWindow& finder = *opened;
    ASSERT_GE(finder.matches()->topLevelItemCount(), 1);
    EXPECT_EQ(finder.matches()->topLevelItem(0)->text(0), "Jezero");
    QTest::keyClick(finder.field(), Qt::Key_Return);

    // The map is the place's map for the window's map area, as rubicel-render would draw it.
    const Place& jezero = *PlaceIndex::shared().search("Jezero").front();
    const QSize area = form().client()->size();
    const MapRequest request = MapRequest::place(jezero, area.width(), area.height());
    EXPECT_EQ(p.map.maparea, (AreaBox4{request.west, request.north, request.east, request.south}));
    EXPECT_EQ(p.dmap.shows.step, request.step.value_or(-1));
    EXPECT_EQ(form().finder()->mark().name, request.caption);

    // The ring is painted over the picture near its middle, never into the raster.
    const auto ring = placeMarkPoint(p.dmap, form().finder()->mark());
    ASSERT_TRUE(ring.has_value());
    EXPECT_NEAR(ring->x, form().picture()->width() / 2.0, 32);
    EXPECT_NEAR(ring->y, form().picture()->height() / 2.0, 32);
    const QPoint onRing(int(ring->x) + 7, int(ring->y));
    const QImage shown = form().picture()->grab().toImage();
    EXPECT_NE(shown.pixel(onRing) & 0xffffffu, p.dmap.image.pixel(onRing.x(), onRing.y()) & 0xffffffu);

    // Alt+Left in the finder: the planet again, without the mark.
    QTest::keyClick(finder.field(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(p.map.maparea, planet);
    EXPECT_EQ(p.dmap.shows.step, 24);
    EXPECT_FALSE(placeMarkPoint(p.dmap, form().finder()->mark()).has_value());
    EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST_F(PlaceFinderTest, ListsAtMostFiftyMatchesInTheIndexsOrder) {
    PlaceFinderWindow* opened = typeIntoFinder("ar");
    ASSERT_NE(opened, nullptr);
    PlaceFinderWindow& finder = *opened;
    const std::vector<const Place*> found = PlaceIndex::shared().search("ar");
    ASSERT_GT(found.size(), kFinderMatches);
    ASSERT_EQ(std::size_t(finder.matches()->topLevelItemCount()), kFinderMatches);
    for (std::size_t i = 0; i < kFinderMatches; ++i)
        EXPECT_EQ(finder.matches()->topLevelItem(int(i))->text(0).toStdString(), found[i]->name) << i;
}

}  // namespace
}  // namespace rubicel
