// SPDX-License-Identifier: MIT
// figure_export_test.cpp: File ▸ Export Figure: the dialog's file is writeFigure's for the same map and choices.
#include "desktop/figure_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <functional>

#include "desktop/main_form.h"
#include "desktop/qt_platform.h"
#include "desktop/shown_window.h"
#include "export/figure_export.h"
#include "furniture/map_places.h"
#include "places/place_index.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"
#include "windows/explore.h"
#include "windows/feature_catalogue.h"
#include "windows/main_window.h"
#include "windows/place_finder.h"
#include "windows/program.h"

namespace rubicel {
namespace {

using FigureExportTest = test::ShownWindow;

TEST_F(FigureExportTest, CtrlEWritesTheSvgWriteFigureWritesAndGivesTheKeysBackToTheMap) {
    QAction* item = form().action({MenuControl::m_figure});
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->isEnabled()) << "no map yet";

    form().action({MenuControl::m_tile, 5})->trigger();  // the planet at step 24
    p.view.graticule = true;                      // as a View menu would preset it
    ASSERT_TRUE(item->isEnabled());
    form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));

    const std::string caption = "Entire Planet - centred on 000°";
    const std::string expectedPath = p.map.startfolder + "/Maps/" + caption + ".svg";
    QString offered, offeredTitle;
    bool placeNamesOffered = true;
    QTimer::singleShot(0, [&] {
        FigureDialog* dialog = form().figures()->dialog();
        if (!dialog) return;
        offered = dialog->file()->text();
        offeredTitle = dialog->title()->text();
        placeNamesOffered = dialog->layer(1)->isChecked();
        dialog->format()->setCurrentIndex(1);  // SVG
        dialog->width()->setValue(120);
        dialog->layer(3)->setChecked(true);  // the scale bar
        QTest::keyClick(dialog->title(), Qt::Key_Return);
    });
    QTest::keyClick(&form(), Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(messages.empty()) << messages.front();

    EXPECT_EQ(offered.toStdString(), p.map.startfolder + "/Maps/" + caption + ".pdf");
    EXPECT_EQ(offeredTitle.toStdString(), caption);
    EXPECT_FALSE(placeNamesOffered);
    const std::string written = test::readAll(expectedPath);
    ASSERT_FALSE(written.empty()) << expectedPath << " was not written";

    FigureSpec spec;
    spec.caption = caption;
    spec.title = caption;
    spec.widthMm = 120;
    spec.layers.graticule = true;
    spec.layers.scaleBar = true;
    test::TempDir dir;
    const std::string direct = (dir / "direct.svg").string();
    ASSERT_EQ(writeFigure(p, spec, shippedMapPlaces(), direct), std::nullopt);
    EXPECT_TRUE(written == test::readAll(direct)) << "the dialog's figure differs from writeFigure's";

    QCoreApplication::processEvents();
    EXPECT_EQ(form().figures()->dialog(), nullptr);
    EXPECT_EQ(QApplication::activeWindow(), &form()) << "the keys go back to the map";
}

// rubicel-render with args; true when it exits 0.
bool render(const std::string& args) {
    const std::string command = "'" RUBICEL_RENDER "' " + args + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// Each kind of map the desktop shows, exported as the dialog does (its title
// field preset with the map's caption), is byte for byte the figure
// rubicel-render writes for the same map and choices, caption included.
TEST_F(FigureExportTest, EveryKindOfMapGivesTheFileTheCommandLineWrites) {
    const TwipSize client = ui.clientSize();
    const std::string size =
        std::to_string(client.width / kTwipsPerPixel) + " " + std::to_string(client.height / kTwipsPerPixel);

    struct Case {
        const char* caption;
        std::function<void()> draw;
        std::string options;  // the same map for rubicel-render
    };
    const Case cases[] = {
        {"Entire Planet - centred on 000°", [&] { form().action({MenuControl::m_tile, 5})->trigger(); }, "--planet 0"},
        {"North-west tile", [&] { form().action({MenuControl::m_tile, 0})->trigger(); }, "--tile northwest"},
        {"Valles Marineris",
         [&] {
             m_area_Click(p);  // as opening the Map Area menu does
             form().action({MenuControl::m_v, 18})->trigger();
         },
         "--feature 'Valles Marineris'"},
        {"Longitude -20° to 20°, latitude 10° to -10°",
         [&] { drawNewMap(p, MapEntry{MapEntry::Kind::Area, {-20, 10, 20, -10}, 4, {}, std::nullopt, {}}); },
         "--area -20 10 20 -10 --step 4"},
        {"Jezero", [&] { drawPlaceMap(p, *PlaceIndex::shared().search("Jezero").front()); },
         "--place Jezero --size " + size},
        {"North Polar Region", [&] { form().action({MenuControl::m_tile, 8})->trigger(); }, ""},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        c.draw();
        ASSERT_TRUE(messages.empty()) << messages.front();
        ASSERT_TRUE(hasFigureMap(p));
        EXPECT_EQ(mapCaption(p), c.caption);
        FigureChoices choices;
        choices.format = FigureFormat::Svg;
        choices.widthMm = 120;
        choices.title = mapCaption(p);
        choices.layers.graticule = choices.layers.placeNames = choices.layers.scaleBar = true;
        const std::string exported = (dir / "exported.svg").string();
        ASSERT_EQ(exportFigure(p, choices, exported), std::nullopt);

        std::string options = c.options;
        if (options.empty()) options = "--polar north --step " + std::to_string(p.map.resolution);
        const std::string rendered = (dir / "rendered.svg").string();
        ASSERT_TRUE(render("--data '" + start.tileFolder() + "' --scheme " + std::to_string(p.colour.scheme) +
                           " --mode " + std::to_string(p.colour.mode) + " " + options +
                           " --figure --graticule --names --scale-bar --width 120 -o '" + rendered + "'"));
        EXPECT_TRUE(test::readAll(exported) == test::readAll(rendered)) << "the exported figure differs from rubicel-render's";
    }
}

}  // namespace
}  // namespace rubicel
