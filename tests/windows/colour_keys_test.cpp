// SPDX-License-Identifier: MIT
// colour_keys_test.cpp: the key windows in the program: colours from the engine, opening, closing, repainting.
#include "keys/colour_keys.h"
#include "windows/key_windows.h"

#include <gtest/gtest.h>

#include <vector>

#include "colour/colour_engine.h"
#include "keys/key_painting.h"
#include "platform/headless/headless_platform.h"
#include "windows/program.h"
#include "windows/tool_windows.h"
#include "windows/topography_menu.h"

namespace rubicel {
namespace {

using Event = HeadlessPlatform::ToolEvent;

class KeysTest : public ::testing::Test {
protected:
    KeysTest() : p(ui) {
        initbands(p.colour);
        p.map.mapsource = 2;  // no current map: the redraw rule draws nothing
        // Showing a window activates it, as the window system does.
        ui.onToolWindowShown = [this](ToolWindow w) { toolWindowActivated(p, w); };
    }
    HeadlessPlatform ui;
    Program p;
};

// The elevations a key hands the engine, in order.
std::vector<std::int16_t> elevations(bool vertical) {
    Raster scratch;
    const KeyLayout& layout = vertical ? kVerticalKeyLayout : kHorizontalKeyLayout;
    const KeyGeometry g = keyGeometry(layout);
    scratch.reset(g.client.width, g.client.height);
    KeySurfaces s = keySurfaces(scratch, layout);
    std::vector<std::int16_t> out;
    const auto record = [&](std::int16_t e) {
        out.push_back(e);
        return 0u;
    };
    if (vertical)
        paintVerticalKey(s.strip, s.legend, nullptr, record);
    else
        paintHorizontalKey(s.strip, s.legend, nullptr, record);
    return out;
}

struct SchemeMode {
    std::int16_t scheme, mode;
};

class KeyColoursTest : public KeysTest, public ::testing::WithParamInterface<SchemeMode> {};

TEST_P(KeyColoursTest, StripsShowTheEnginesColourOfTheirLastTwip) {
    p.colour.scheme = GetParam().scheme;
    p.colour.mode = GetParam().mode;
    makekey(p, p.colour.scheme);
    makeHkey(p, p.colour.scheme);

    // A second program asks the engine directly for the elevation drawn last on each pixel.
    HeadlessPlatform otherUi;
    Program engine(otherUi);
    initbands(engine.colour);
    engine.colour.mode = p.colour.mode;
    const auto colourOf = [&](std::int16_t e) {
        Setcolours(engine, p.colour.scheme, e);
        return packRgb(engine.colour.R, engine.colour.G, engine.colour.B);
    };

    const std::vector<std::int16_t> v = elevations(true);
    const PixelRect vs = keyGeometry(kVerticalKeyLayout).stripInner;
    for (int y = 0; y < vs.height; ++y) {
        const std::uint32_t expected = colourOf(v[std::size_t(kVerticalKeyLayout.strip.height - 15 * y - 1)]);
        for (int x = 0; x < vs.width; ++x) ASSERT_EQ(p.Key.image.pixel(vs.left + x, vs.top + y), expected) << y;
    }
    const std::vector<std::int16_t> h = elevations(false);
    const PixelRect hs = keyGeometry(kHorizontalKeyLayout).stripInner;
    for (int x = 0; x < hs.width; ++x) {
        const std::uint32_t expected = colourOf(h[std::size_t(15 * x + 14 - 1)]);
        for (int y = 0; y < hs.height; ++y) ASSERT_EQ(p.Hkey.image.pixel(hs.left + x, hs.top + y), expected) << x;
    }
}

INSTANTIATE_TEST_SUITE_P(Schemes, KeyColoursTest,
                         ::testing::Values(SchemeMode{0, 0}, SchemeMode{1, 1}, SchemeMode{2, 2}, SchemeMode{3, 3},
                                           SchemeMode{4, 0}, SchemeMode{5, 1}, SchemeMode{7, 2}, SchemeMode{8, 3},
                                           SchemeMode{9, 0}));

TEST_F(KeysTest, OpeningOneKeyClosesTheOtherInItsOwnOrder) {
    struct Step {
        std::int16_t index;
        std::vector<Event> events;  // the calls that show or close a window
        bool keyShown, hkeyShown;
    };
    const Step steps[] = {
        {0, {{Event::Show, ToolWindow::Key, 13400, 570}}, true, false},
        {1, {{Event::Close, ToolWindow::Key}, {Event::Show, ToolWindow::Hkey, 0, 9800}}, false, true},
        {0, {{Event::Show, ToolWindow::Key, 13400, 570}, {Event::Close, ToolWindow::Hkey}}, true, false},
        {0, {{Event::Show, ToolWindow::Key, 13400, 570}}, true, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.index);
        ui.toolEvents.clear();
        m_key_Click(p, step.index);
        std::vector<Event> shownOrClosed;
        for (const Event& e : ui.toolEvents)
            if (e.kind == Event::Show || e.kind == Event::Close) shownOrClosed.push_back(e);
        EXPECT_EQ(shownOrClosed, step.events);
        EXPECT_EQ(ui.tools[ToolWindow::Key].shown, step.keyShown);
        EXPECT_EQ(ui.tools[ToolWindow::Hkey].shown, step.hkeyShown);
        EXPECT_EQ(p.Key.loaded, step.keyShown);
        EXPECT_EQ(p.Hkey.loaded, step.hkeyShown);
    }
}

TEST_F(KeysTest, ActivationKeepsTheKeyOnTopThenRepaintsIt) {
    struct Case { std::int16_t index; ToolWindow window; };
    for (const Case c : {Case{0, ToolWindow::Key}, Case{1, ToolWindow::Hkey}}) {
        ui.toolEvents.clear();
        m_key_Click(p, c.index);
        const std::vector<Event> expected = {{Event::KeepOnTop, c.window}, {Event::Changed, c.window}};
        std::vector<Event> afterShow;
        bool shown = false;
        for (const Event& e : ui.toolEvents) {
            if (shown && e.window == c.window) afterShow.push_back(e);
            shown = shown || (e.kind == Event::Show && e.window == c.window);
        }
        EXPECT_EQ(afterShow, expected);
        EXPECT_TRUE(ui.tools[c.window].onTop);
    }
}

TEST_F(KeysTest, SchemeChangeRepaintsBothKeysAndModeChangeNeither) {
    m_key_Click(p, 0);
    const Raster before = p.Key.image;
    struct Case { const char* name; void (*choose)(Program&); bool repaints; };
    const Case cases[] = {
        {"mode 3", [](Program& q) { m_mode_Click(q, 3); }, false},
        {"scheme 5", [](Program& q) { m_setcol_Click(q, 5); }, true},
        {"scheme 5 again", [](Program& q) { m_setcol_Click(q, 5); }, true},
        {"mode 0", [](Program& q) { m_mode_Click(q, 0); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int keyChanges = ui.tools[ToolWindow::Key].changes;
        const int hkeyChanges = ui.tools[ToolWindow::Hkey].changes;
        c.choose(p);
        EXPECT_EQ(ui.tools[ToolWindow::Key].changes - keyChanges, c.repaints ? 1 : 0);
        EXPECT_EQ(ui.tools[ToolWindow::Hkey].changes - hkeyChanges, c.repaints ? 1 : 0);
    }
    // The horizontal key was painted without being shown.
    EXPECT_TRUE(p.Hkey.loaded);
    EXPECT_FALSE(ui.tools[ToolWindow::Hkey].shown);
    const auto same = [&](const Raster& a) {
        return std::equal(a.data(), a.data() + a.width() * a.height(), p.Key.image.data());
    };
    EXPECT_FALSE(same(before));
    // The mode chosen last shows at the next activation; with nothing changed a
    // repaint leaves the same picture.
    const Raster contoured = p.Key.image;
    m_mode_Click(p, 1);
    EXPECT_TRUE(same(contoured));
    toolWindowActivated(p, ToolWindow::Key);
    EXPECT_FALSE(same(contoured));
    const Raster blended = p.Key.image;
    toolWindowActivated(p, ToolWindow::Key);
    EXPECT_TRUE(same(blended));
}

TEST_F(KeysTest, ClosingTheMainWindowClosesTheVerticalKeyThenTheHorizontal) {
    repaintKeys(p);
    ui.toolEvents.clear();
    closeKeyWindows(p);
    const std::vector<Event> expected = {{Event::Close, ToolWindow::Key}, {Event::Close, ToolWindow::Hkey}};
    EXPECT_EQ(ui.toolEvents, expected);
    EXPECT_FALSE(p.Key.loaded);
    EXPECT_FALSE(p.Hkey.loaded);
    // The user closing a key discards it too; a second close does nothing.
    m_key_Click(p, 1);
    toolWindowClosed(p, ToolWindow::Hkey);
    EXPECT_FALSE(p.Hkey.loaded);
    ui.toolEvents.clear();
    closeKeyWindows(p);
    EXPECT_TRUE(ui.toolEvents.empty());
}

TEST_F(KeysTest, EveryPaintingIsADrawingOfItsOwnForDiagnostics) {
    // Scheme 9 with single-metre bands: the shading function reports its error
    // once in each drawing.
    p.colour.scheme = 9;
    for (int i = 1; i < 15; ++i) p.colour.bandlo[std::size_t(i)] = p.colour.bandhi[std::size_t(i)] = std::int16_t(20000 + i);
    p.colour.bandlo[0] = -8200;
    p.colour.bandhi[0] = 20000;
    p.colour.bandlo[15] = 20015;
    p.colour.bandhi[15] = 21250;
    // A map being drawn has shown its message; keys painted between its rows show
    // theirs each time, and the map does not show its own again.
    p.diagnostics.beginDrawing();
    Setcolours(p, 9, 20005);
    ASSERT_EQ(ui.messages.size(), 1u);
    makekey(p, 9);
    const std::size_t perKey = ui.messages.size() - 1;
    EXPECT_GE(perKey, 1u);
    makekey(p, 9);
    EXPECT_EQ(ui.messages.size(), 1 + 2 * perKey);
    Setcolours(p, 9, 20005);
    EXPECT_EQ(ui.messages.size(), 1 + 2 * perKey);
}

}  // namespace
}  // namespace rubicel
