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

#include <fstream>
#include <iterator>

#include "desktop/main_form.h"
#include "desktop/qt_platform.h"
#include "furniture/map_places.h"
#include "support/start_folder.h"
#include "support/temp_dir.h"
#include "windows/main_window.h"
#include "windows/program.h"

namespace rubicel {
namespace {

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FigureExport, CtrlEWritesTheSvgWriteFigureWritesAndGivesTheKeysBackToTheMap) {
    test::StartFolder start;
    start.prepare(4, 0, 0);
    QtPlatform ui;
    Program p{ui};
    std::vector<std::string> messages;
    ui.onMessage = [&](const std::string& text, const std::string&, Icon) { messages.push_back(text); };
    ui.attach(p);
    init(p);
    MainForm& form = ui.window();
    form.show();
    QCoreApplication::processEvents();
    QAction* item = form.action({MenuControl::m_figure});
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->isEnabled()) << "no map yet";

    form.action({MenuControl::m_tile, 5})->trigger();  // the planet at step 24
    p.view.graticule = true;                    // as a View menu would preset it
    ASSERT_TRUE(item->isEnabled());
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    const std::string caption = "Entire Planet - centred on 000°";
    const std::string expectedPath = p.map.startfolder + "/Maps/" + caption + ".svg";
    QString offered, offeredTitle;
    bool placeNamesOffered = true;
    QTimer::singleShot(0, [&] {
        FigureDialog* dialog = form.figures()->dialog();
        if (!dialog) return;
        offered = dialog->file()->text();
        offeredTitle = dialog->title()->text();
        placeNamesOffered = dialog->layer(1)->isChecked();
        dialog->format()->setCurrentIndex(1);  // SVG
        dialog->width()->setValue(120);
        dialog->layer(3)->setChecked(true);  // the scale bar
        QTest::keyClick(dialog->title(), Qt::Key_Return);
    });
    QTest::keyClick(&form, Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(messages.empty()) << messages.front();

    EXPECT_EQ(offered.toStdString(), p.map.startfolder + "/Maps/" + caption + ".pdf");
    EXPECT_EQ(offeredTitle.toStdString(), caption);
    EXPECT_FALSE(placeNamesOffered);
    const std::string written = bytesOf(expectedPath);
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
    EXPECT_TRUE(written == bytesOf(direct)) << "the dialog's figure differs from writeFigure's";

    QCoreApplication::processEvents();
    EXPECT_EQ(form.figures()->dialog(), nullptr);
    EXPECT_EQ(QApplication::activeWindow(), &form) << "the keys go back to the map";
}

}  // namespace
}  // namespace rubicel
