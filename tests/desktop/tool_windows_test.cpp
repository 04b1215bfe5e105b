// SPDX-License-Identifier: MIT
// tool_windows_test.cpp: the colour keys and the range dialog as Qt windows.
#include "desktop/tool_windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <cstring>
#include <memory>

#include "colour/colour_engine.h"
#include "keys/colour_keys.h"
#include "platform/headless/headless_platform.h"
#include "desktop/range_dialog_window.h"
#include "windows/key_windows.h"
#include "windows/program.h"
#include "windows/range_dialog.h"

namespace rubicel {
namespace {

// The in-memory platform with the real tool windows.
class ToolWindowPlatform : public HeadlessPlatform {
public:
    void showToolWindow(ToolWindow w, int left, int top) override {
        HeadlessPlatform::showToolWindow(w, left, top);
        windows->show(w, left, top);
    }
    void closeToolWindow(ToolWindow w) override {
        HeadlessPlatform::closeToolWindow(w);
        windows->close(w);
    }
    void keepOnTop(ToolWindow w) override {
        HeadlessPlatform::keepOnTop(w);
        windows->keepOnTop(w);
    }
    void toolWindowChanged(ToolWindow w) override {
        HeadlessPlatform::toolWindowChanged(w);
        windows->changed(w);
    }
    std::unique_ptr<ToolWindows> windows;
};

class ToolWindowsTest : public testing::Test {
protected:
    ToolWindowsTest() : p(ui) {
        ui.windows = std::make_unique<ToolWindows>(p);
        initbands(p.colour);
        p.map.mapsource = 2;  // no current map
    }
    ~ToolWindowsTest() override {
        ui.windows.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static void settle() {
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QWidget* window(ToolWindow w) const { return ui.windows->widget(w); }
    RangeDialogWindow* dialog() const { return static_cast<RangeDialogWindow*>(window(ToolWindow::Uchoice)); }

    ToolWindowPlatform ui;
    Program p;
};

TEST_F(ToolWindowsTest, KeyWindowsShowTheProgramsPictureAtTheirPlaces) {
    struct Case {
        std::int16_t index;
        ToolWindow shown, closed;
        QPoint place;
        QSize client;
    };
    const Case cases[] = {
        {0, ToolWindow::Key, ToolWindow::Hkey, {893, 38}, {125, 554}},
        {1, ToolWindow::Hkey, ToolWindow::Key, {0, 653}, {786, 83}},
        {0, ToolWindow::Key, ToolWindow::Hkey, {893, 38}, {125, 554}},
    };
    p.colour.scheme = 5;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        const int changes = ui.tools[c.shown].changes;
        m_key_Click(p, c.index);
        settle();
        QWidget* key = window(c.shown);
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(window(c.closed), nullptr);
        EXPECT_TRUE(key->isVisible());
        EXPECT_EQ(key->windowTitle(), "Colour Key");
        EXPECT_EQ(key->pos(), c.place);
        EXPECT_EQ(key->size(), c.client);
        EXPECT_TRUE(key->windowFlags() & Qt::WindowStaysOnTopHint);
        // Showing activated the window, which painted the key.
        EXPECT_GT(ui.tools[c.shown].changes, changes);
        // The window shows exactly the picture the program painted.
        const Raster& picture = c.shown == ToolWindow::Key ? p.Key.image : p.Hkey.image;
        const QImage shown = key->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown.size(), QSize(picture.width(), picture.height()));
        for (int y = 0; y < shown.height(); ++y)
            ASSERT_EQ(0, std::memcmp(shown.constScanLine(y), picture.row(y), std::size_t(picture.width()) * 4)) << y;
    }
    // The close box discards the key.
    window(ToolWindow::Key)->close();
    settle();
    EXPECT_FALSE(p.Key.loaded);
    EXPECT_EQ(window(ToolWindow::Key), nullptr);
}

TEST_F(ToolWindowsTest, KeepOnTopNeitherMovesNorResizes) {
    m_key_Click(p, 0);
    settle();
    QWidget* key = window(ToolWindow::Key);
    key->setWindowFlag(Qt::WindowStaysOnTopHint, false);
    key->show();
    settle();
    const QRect before = key->geometry();
    keepontop(p, ToolWindow::Key);
    settle();
    EXPECT_TRUE(key->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(key->isVisible());
    EXPECT_EQ(key->geometry(), before);
}

TEST_F(ToolWindowsTest, RangeDialogBarsKeepTheirGapAndRedrawUsesTheCaptions) {
    presetRangeDialog(p);
    m_define_Click(p);
    settle();
    RangeDialogWindow* d = dialog();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), "Define Contour Limits");
    EXPECT_EQ(d->pos(), QPoint(553, 533));
    EXPECT_EQ(d->size(), QSize(304, 170));
    EXPECT_EQ(d->TopLimit()->geometry(), QRect(8, 40, 289, 17));
    EXPECT_EQ(d->redraw()->text(), "Redraw Current Map");
    EXPECT_EQ(d->altitude(0)->text(), "21250");
    EXPECT_EQ(d->altitude(1)->text(), "-8200");

    struct Move { QScrollBar* bar; int to; int top, bottom; };
    const Move moves[] = {
        {d->TopLimit(), 18000, 18000, -8200},
        {d->BottomLimit(), 18000, 18000, 17450},
        {d->BottomLimit(), 0, 18000, 0},
        {d->TopLimit(), 0, 550, 0},
        {d->TopLimit(), 7000, 7000, 0},
    };
    for (const Move& m : moves) {
        m.bar->setValue(m.to);  // as a drag let go at that value
        EXPECT_EQ(d->TopLimit()->value(), m.top);
        EXPECT_EQ(d->BottomLimit()->value(), m.bottom);
        EXPECT_EQ(d->altitude(0)->text(), QString::number(m.top));
        EXPECT_EQ(d->altitude(1)->text(), QString::number(m.bottom));
    }
    d->TopLimit()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(d->altitude(0)->text(), "7050");
    d->TopLimit()->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(d->altitude(0)->text(), "6550");

    d->redraw()->click();
    EXPECT_EQ(p.colour.scheme, 9);
    EXPECT_EQ(p.colour.bandhi[0], 0);
    EXPECT_EQ(p.colour.bandhi[1], 1 + 468);  // band 1 spans step + 1 metres, step round(6550 / 14)
    // Both keys painted, neither shown.
    EXPECT_TRUE(p.Key.loaded && p.Hkey.loaded);
    EXPECT_EQ(window(ToolWindow::Key), nullptr);
    EXPECT_EQ(window(ToolWindow::Hkey), nullptr);
    EXPECT_TRUE(d->isVisible());

    // Closed, the dialog is discarded and comes back with its design values.
    d->close();
    settle();
    EXPECT_FALSE(p.uchoice.loaded);
    m_define_Click(p);
    settle();
    ASSERT_NE(dialog(), nullptr);
    EXPECT_EQ(dialog()->altitude(0)->text(), "20000");
    EXPECT_EQ(dialog()->altitude(1)->text(), "20000");
    EXPECT_EQ(dialog()->TopLimit()->minimum(), 500);
    EXPECT_TRUE(dialog()->windowFlags() & Qt::WindowStaysOnTopHint);
}

}  // namespace
}  // namespace rubicel
