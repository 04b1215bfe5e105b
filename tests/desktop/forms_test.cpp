// SPDX-License-Identifier: MIT
// forms_test.cpp: the Qt custom-area dialog, save panel, help viewer and annotated map.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "annotated_map.h"
#include "platform/headless/headless_platform.h"
#include "desktop/chm_file.h"
#include "desktop/custom_area_dialog.h"
#include "desktop/form_host.h"
#include "desktop/help_viewer.h"
#include "desktop/save_panel_widget.h"
#include "support/temp_dir.h"
#include "windows/program.h"

namespace rubicel {
namespace {

// Records everything as the headless platform does and passes the form
// operations to a real FormHost, as the desktop platform does.
class FormsPlatform : public HeadlessPlatform {
public:
    FormHost* host = nullptr;
    void showForm(Form form, bool shown) override {
        HeadlessPlatform::showForm(form, shown);
        host->showForm(form, shown);
    }
    void formChanged(Form form) override {
        HeadlessPlatform::formChanged(form);
        host->formChanged(form);
    }
    void setFocus(Form form, std::string_view control) override {
        HeadlessPlatform::setFocus(form, control);
        host->setFocus(form, control);
    }
    void setControlVisible(Control control, bool visible) override {
        HeadlessPlatform::setControlVisible(control, visible);
        if (control == Control::SaveBox) host->showForm(Form::SaveBox, visible);
    }
};

class FormsTest : public testing::Test {
protected:
    FormsPlatform ui;
    Program p{ui};
    QWidget mainWindow;
    FormHost host{p, &mainWindow, &mainWindow};

    void SetUp() override {
        ui.host = &host;
        mainWindow.resize(800, 600);
    }
};

// ---------------------------------------------------------------- custom area

struct Place {
    const char* name;
    QRect geometry;  // pixels; labels give their top-left corner only
};

TEST_F(FormsTest, DialogLaysOutItsControls) {
    CustomAreaDialog* d = host.customArea();
    EXPECT_EQ(d->windowTitle(), "Select Area");
    const Place boxes[] = {{"longw", {200, 48, 57, 22}}, {"latn", {200, 80, 57, 22}},
                           {"longwid", {200, 120, 57, 22}}, {"lathgt", {200, 152, 57, 22}},
                           {"okbox", {96, 192, 84, 29}}};
    for (const Place& b : boxes) {
        auto* w = d->findChild<QWidget*>(b.name);
        ASSERT_TRUE(w) << b.name;
        EXPECT_EQ(w->geometry(), b.geometry) << b.name;
    }
    const Place labels[] = {{"Label1", {8, 7, 0, 0}}, {"Label3", {8, 53, 0, 0}}, {"Label4", {8, 80, 0, 0}},
                            {"Label2", {8, 125, 0, 0}}, {"Label5", {8, 157, 0, 0}}};
    for (const Place& l : labels) {
        auto* w = d->findChild<QLabel*>(l.name);
        ASSERT_TRUE(w) << l.name;
        EXPECT_EQ(w->pos(), l.geometry.topLeft()) << l.name;
        EXPECT_LE(w->x() + w->fontMetrics().horizontalAdvance(w->text()), 200) << l.name;  // left of the boxes
    }
    EXPECT_EQ(d->findChild<QLabel*>("Label4")->text(), QString::fromUtf8("Centre Latitude     (+85\u00b0 to -85\u00b0)"));
    EXPECT_EQ(d->okbox()->text(), "&Draw Map");
    // Tab order: the four boxes, then the button.
    QWidget* w = d->box(AreaBox::longw);
    for (const char* next : {"latn", "longwid", "lathgt", "okbox"}) {
        w = w->nextInFocusChain();
        EXPECT_EQ(w->objectName(), next);
    }
}

TEST_F(FormsTest, TypingIsCheckedKeystrokeByKeystroke) {
    m_custom_Click(p);
    CustomAreaDialog* d = host.customArea();
    EXPECT_TRUE(d->isVisible());
    QTest::keyClicks(d->box(AreaBox::longw), "181");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Value must lie between -180 and +180 degrees");
    EXPECT_EQ(d->box(AreaBox::longw)->text(), "");
    EXPECT_EQ(p.map.maparea[0], 0);

    QTest::keyClicks(d->box(AreaBox::longw), "-17");
    QTest::keyClicks(d->box(AreaBox::latn), "85");
    QTest::keyClicks(d->box(AreaBox::lathgt), "11");  // "1" passes, "11" reaches past the pole
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "Maximum height for a map centred on 85 is 10 degrees");
    EXPECT_EQ(d->box(AreaBox::lathgt)->text(), "");
    EXPECT_EQ(p.map.maparea[0], -17);
    EXPECT_EQ(p.map.maparea[1], 85);
    EXPECT_EQ(p.getArea.halfheight, 0);
}

TEST_F(FormsTest, ClickEmptiesABoxAndDrawWithoutSpansCloses) {
    m_custom_Click(p);
    CustomAreaDialog* d = host.customArea();
    QTest::keyClicks(d->box(AreaBox::longwid), "30");
    EXPECT_EQ(p.getArea.halfwidth, 15);
    // The right button opens the box's context menu and keeps the value.
    QTest::mouseClick(d->box(AreaBox::longwid), Qt::RightButton);
    EXPECT_EQ(d->box(AreaBox::longwid)->text(), "30");
    EXPECT_EQ(p.getArea.halfwidth, 15);
    QTest::mouseClick(d->box(AreaBox::longwid), Qt::LeftButton);
    EXPECT_EQ(d->box(AreaBox::longwid)->text(), "");
    EXPECT_EQ(p.getArea.halfwidth, 0);

    QTest::mouseClick(d->okbox(), Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "You must enter positive values for both Width and Height");
}

TEST_F(FormsTest, DialogShowsWhatTheLogicKeepsWhenOpenedAgain) {
    p.getArea.text = {"10", "20", "30", "40"};
    m_custom_Click(p);
    CustomAreaDialog* d = host.customArea();
    const char* expected[] = {"10", "20", "30", "40"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(d->box(AreaBox(i))->text(), expected[i]);
}

// ---------------------------------------------------------------- save panel

TEST_F(FormsTest, SavePanelLaysOutItsControlsInTwips) {
    SavePanelWidget* s = host.savePanel();
    const Place places[] = {{"SaveBox", {0, 0, 265, 329}},      {"Label1", {16, 16, 81, 17}},
                            {"newmap", {16, 32, 233, 19}},      {"Label2", {16, 64, 177, 16}},
                            {"showsavepath", {16, 80, 233, 19}}, {"Label3", {16, 112, 49, 16}},
                            {"FileList", {16, 128, 233, 164}},  {"saveit_1", {72, 300, 54, 21}},
                            {"saveit_0", {136, 300, 54, 21}}};
    for (const Place& pl : places) {
        auto* w = pl.name == std::string("SaveBox") ? s : s->findChild<QWidget*>(pl.name);
        ASSERT_TRUE(w) << pl.name;
        EXPECT_EQ(w->geometry(), pl.geometry) << pl.name;
    }
    for (const char* name : {"Label1", "Label2", "Label3"}) {
        auto* label = s->findChild<QLabel*>(name);
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width()) << name;  // not cut off
    }
    EXPECT_EQ(s->findChild<QLabel*>("Label2")->text(), "Generated images will be saved to:");
    EXPECT_EQ(s->findChild<QLabel*>("Label3")->text(), "Images");
    EXPECT_EQ(s->quitButton()->text(), "&Quit");
    EXPECT_EQ(s->saveButton()->text(), "&Save");
    EXPECT_EQ(s->showsavepath()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

TEST_F(FormsTest, SavePanelShowsTheFolderAndSavesOnEnter) {
    test::TempDir dir;
    p.map.startfolder = dir.path().string();
    std::filesystem::create_directory(dir / "Maps");
    std::ofstream(dir / "Maps" / "old.BMP") << "x";
    p.dmap.image.reset(8, 4, packRgb(10, 200, 30));
    mainWindow.show();

    m_savemap_Click(p);
    SavePanelWidget* s = host.savePanel();
    EXPECT_TRUE(s->isVisible());
    EXPECT_EQ(s->showsavepath()->text().toStdString(), dir.path().string() + "/Maps");
    ASSERT_EQ(s->fileList()->count(), 1);
    EXPECT_EQ(s->fileList()->item(0)->text(), "old.BMP");

    QTest::keyClicks(s->newmap(), "fresh");
    QTest::keyClick(s->newmap(), Qt::Key_Return);
    EXPECT_TRUE(std::filesystem::exists(dir / "Maps" / "fresh.BMP"));
    EXPECT_FALSE(s->isVisible());
    EXPECT_TRUE(ui.messages.empty());
}

// ---------------------------------------------------------------- help

TEST(HelpFile, HoldsEveryPageAndOpensAtTheIndex) {
    const QString path = findHelpFile("rubicel.chm");
    ASSERT_FALSE(path.isEmpty()) << helpFolders().join(' ').toStdString();
    ChmFile file(path.toStdString());
    ASSERT_TRUE(file.isOpen());
    EXPECT_EQ(file.defaultTopic(), "/index.html");
    for (const char* page : {"/index.html", "/start.html", "/menus.html", "/custom.html", "/colours.html",
                             "/saving.html", "/render.html", "/fetch.html"}) {
        const ChmObject object = file.read(page);
        ASSERT_TRUE(object) << page;
        const std::string text(object.bytes.begin(), object.bytes.end());
        EXPECT_NE(text.find("</html>"), std::string::npos) << page;
        // An object longer than the limit is refused, not read.
        const ChmObject refused = file.read(page, object.bytes.size() - 1);
        EXPECT_EQ(refused.status, ChmObject::TooLarge) << page;
        EXPECT_TRUE(refused.bytes.empty()) << page;
    }
    EXPECT_EQ(file.read("/missing.html").status, ChmObject::Missing);
}

TEST(HelpFile, IsLookedForInTheWorkingFolderLast) {
    // Files of help files' names in the folder the program is started from.
    test::TempDir dir;
    const QDir here(QString::fromStdString(dir.path().string()));
    std::ofstream(dir / "rubicel.chm") << "left here";
    std::ofstream(dir / "only-here.chm") << "left here";
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(here.path()));
    const QStringList folders = helpFolders();
    const QString shipped = findHelpFile("rubicel.chm"), onlyHere = findHelpFile("only-here.chm");
    QDir::setCurrent(before);
    EXPECT_TRUE(QDir(folders.back()) == here) << folders.join(' ').toStdString();
    EXPECT_FALSE(shipped.isEmpty() || QFileInfo(shipped).dir() == here) << shipped.toStdString();
    EXPECT_TRUE(QFileInfo(onlyHere).dir() == here) << onlyHere.toStdString();
}

TEST_F(FormsTest, ProgramHelpShowsTheIndexAndFollowsLinks) {
    HelpViewer* viewer = openHtmlHelp(&mainWindow, "rubicel.chm");
    ASSERT_TRUE(viewer);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->parentWidget(), &mainWindow);
    EXPECT_TRUE(viewer->browser()->toPlainText().contains("Rubicel draws colour-shaded elevation maps"));
    // Click the link to the menus page.
    QTextBrowser* browser = viewer->browser();
    const int at = browser->toPlainText().indexOf("The menus, one by one");
    ASSERT_GE(at, 0);
    QTextCursor cursor(browser->document());
    cursor.setPosition(at + 3);
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->cursorRect(cursor).center());
    EXPECT_EQ(browser->source().path(), "/menus.html");
    EXPECT_TRUE(browser->toPlainText().contains("Show Colour Key"));
    // A second opening reuses the window and goes back to the index.
    EXPECT_EQ(openHtmlHelp(&mainWindow, "rubicel.chm"), viewer);
    EXPECT_TRUE(viewer->browser()->toPlainText().contains("Contents"));
}

TEST_F(FormsTest, MissingHelpFileIsReported) {
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    EXPECT_EQ(openHtmlHelp(&mainWindow, "no-such-help.chm"), nullptr);
    EXPECT_TRUE(shown.startsWith("The help file no-such-help.chm was not found.")) << shown.toStdString();
}

// ---------------------------------------------------------------- annotated map

TEST(AnnotatedMap, IsTheEnginesColouringOfTheMolaGrid) {
    Raster picture;
    ASSERT_TRUE(loadAnnotatedMap(picture));
    ASSERT_EQ(picture.width(), 1024);
    ASSERT_EQ(picture.height(), 397);

    mktiles::Grid grid;
    ASSERT_FALSE(mktiles::loadGrid(RUBICEL_MOLA_GRID, mktiles::kGridRows, mktiles::kGridColumns, grid));
    const QImage plain = annotated::colourMap(grid, {});
    // Names and the graticule cover part of the picture and JPEG blurs edges:
    // most pixels still hold the engine's colour of their own place.
    long close = 0;
    for (int y = 0; y < 397; ++y)
        for (int x = 0; x < 1024; ++x) {
            const std::uint32_t a = picture.pixel(x, y);
            const QRgb b = plain.pixel(x, y);
            if (std::abs(redOf(a) - qRed(b)) < 24 && std::abs(greenOf(a) - qGreen(b)) < 24 &&
                std::abs(blueOf(a) - qBlue(b)) < 24)
                ++close;
        }
    EXPECT_GT(close, 1024L * 397L * 3 / 4);
}

}  // namespace
}  // namespace rubicel
