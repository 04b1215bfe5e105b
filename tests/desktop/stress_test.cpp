// SPDX-License-Identifier: MIT
// stress_test.cpp: the desktop program under a long seeded run of random commands, many
// of them in the middle of drawings, relief shading on, then Exit: no failure, the
// settings file whole, and the memory in use back to where the first map left it.
#include <gtest/gtest.h>

#include <cstdio>
#include <malloc.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "desktop/custom_area_dialog.h"
#include "desktop/form_host.h"
#include "desktop/main_form.h"
#include "desktop/map_picture_widget.h"
#include "desktop/qt_platform.h"
#include "desktop/save_panel_widget.h"
#include "maps/area_renderer.h"
#include "settings/config_text.h"
#include "support/address_sanitizer.h"
#include "support/sparse_tiles.h"
#include "support/start_folder.h"
#include "windows/main_window.h"
#include "windows/menu_tree.h"
#include "windows/program.h"

namespace rubicel {
namespace {

#ifdef RUBICEL_UNDER_ASAN
// The sanitizer makes every step many times slower and keeps freed memory
// aside on purpose, so the run is shorter and memory is left to its leak check.
constexpr int kCommands = 600;
constexpr bool kCompareMemory = false;
#else
constexpr int kCommands = 3000;
constexpr bool kCompareMemory = true;
#endif

// Drawings started inside drawings go this deep; deeper down only stops run.
constexpr int kMaxDepth = 3;

// Bytes of memory the process holds, after handing free heap pages back.
long residentBytes() {
    ::malloc_trim(0);
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

// One menu item and the menus above it, as the user reaches it.
struct Command {
    const MenuNode* item;
    std::vector<const MenuNode*> path;  // the menus above it, outermost first
};

class Stress : public testing::Test {
protected:
    Stress() {
        start.prepare(4, 0, 0);
        writeTileRecords();
        ui.onMessage = [this](const std::string& text, const std::string&, Icon) { messages.push_back(text); };
        ui.onQuit = [this] { ++quits; };
        ui.attach(p);
        init(p);
        form().show();
        QCoreApplication::processEvents();
        collectCommands();
    }

    MainForm& form() { return ui.window(); }

    // A few records in each tile with elevations across the whole range, so
    // every band of every scheme is met; the rest of each tile reads 0.
    void writeTileRecords() {
        const std::filesystem::path tiles = start.tileFolder();
        for (std::size_t t = 0; t < test::kTileNames.size(); ++t)
            for (int record = 1; record <= 5760; record += 97)
                test::writeRecord(tiles / test::kTileNames[t], record, [record, t](int c) {
                    return std::int16_t(-8200 + (c * 7 + record * 13 + int(t) * 1000) % 29450);
                });
    }

    // Every item of the menu tree but Exit and Export Figure (its modal dialog
    // waits for a user), with its menus.
    void collectCommands() {
        std::vector<const MenuNode*> open;
        for (const MenuNode& node : menuTree()) {
            open.resize(std::size_t(node.depth));
            if (node.kind == MenuKind::Menu) open.push_back(&node);
            if (node.kind == MenuKind::Item && node.control != MenuControl::m_end &&
                node.control != MenuControl::m_figure)
                commands.push_back({&node, open});
        }
        for (const Command& c : commands) {
            if (c.item->control == MenuControl::m_siz) resolutionItems.push_back(c);
            if (c.item->control == MenuControl::m_custom) customAreaItem = c;
            if (c.item->control == MenuControl::m_savemap) saveMapItem = c;
        }
    }

    void openMenu(MenuControl name) {
        QMenu* shown = form().menu({name, -1});
        shown->popup(QPoint(0, 0));
        shown->hide();
    }

    bool reachable(const Command& c) {
        for (const MenuNode* menu : c.path)
            if (!form().action({menu->control, menu->index})->isEnabled()) return false;
        return form().action({c.item->control, c.item->index})->isEnabled();
    }

    // Opens the menus down to the item, as a pointer does, and chooses it when
    // it can be reached then.
    void choose(const Command& c) {
        for (const MenuNode* menu : c.path)
            if (menu->open) openMenu(menu->control);
        if (reachable(c)) {
            form().action({c.item->control, c.item->index})->trigger();
            ++chosen;
        }
    }

    template <std::size_t N>
    const char* pick(const char* const (&texts)[N]) {
        return texts[rng() % N];
    }

    // Typing into the custom-area dialog, keystroke by keystroke, or drawing
    // what it holds; it is opened from its menu first when it is closed.
    void customArea() {
        CustomAreaDialog* dialog = ui.forms()->customArea();
        if (!dialog->isVisible()) return choose(customAreaItem);
        static const char* const kTexts[] = {"0",    "45",  "-170", "180",  "181", "-85", "86", "12.5", "13.5",
                                             "50",   "51",  "-1",   "1e1",  "abc", "9e99", "",  "25",   " 7"};
        if (rng() % 6 == 0) return QTest::mouseClick(dialog->okbox(), Qt::LeftButton);
        QLineEdit* box = dialog->box(static_cast<AreaBox>(rng() % 4));
        box->clear();
        QTest::keyClicks(box, pick(kTexts));
    }

    // A name typed into the save panel, then Save or Quit; the panel is opened
    // from its menu first. Most names are refused or empty; a few are saved.
    void saveMap() {
        SavePanelWidget* panel = ui.forms()->savePanel();
        if (!panel || !panel->isVisible()) return choose(saveMapItem);
        static const char* const kNames[] = {"", "../outside", "a/b", "..", "tab\there", "plan", "plan.bmp"};
        const char* name = pick(kNames);
        if (std::string_view(name).starts_with("plan") && rng() % 4 != 0) name = "";
        panel->newmap()->setText(QString::fromUtf8(name));
        QTest::mouseClick(rng() % 5 == 0 ? panel->quitButton() : panel->saveButton(), Qt::LeftButton);
    }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        MapPictureWidget* picture = form().picture();
        QMouseEvent event(type, QPointF(at), picture->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(picture, &event);
    }

    // The pointer over the picture: a move that shows the read-out, or a drag
    // with the left button, now and then cancelled by Escape, which draws its box.
    void pointer() {
        const auto somewhere = [this] { return QPoint(int(rng() % 1200), int(rng() % 700)); };
        if (rng() % 2 == 0) {
            mouse(QEvent::MouseMove, somewhere(), Qt::NoButton, Qt::NoButton);
            if (!form().picture()->pointerText().isEmpty()) ++readOuts;
            return;
        }
        const QPoint from = somewhere(), to = somewhere();
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        if (rng() % 5 == 0) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(form().picture(), &escape);
        }
        const int generation = p.renderGeneration;
        mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        if (p.renderGeneration != generation) ++boxesDrawn;
    }

    // Exploring: a wheel notch, an arrow key, Alt+Left or Alt+Right, a middle
    // drag or the mouse's back or forward button.
    void explore() {
        MapPictureWidget* picture = form().picture();
        const QPoint at(int(rng() % 1200), int(rng() % 700));
        const int generation = p.renderGeneration;
        const int kind = int(rng() % 5);
        if (kind == 0) {
            const QPoint notch(0, rng() % 2 ? 120 : -120);
            QWheelEvent wheel(QPointF(at), picture->mapToGlobal(QPointF(at)), QPoint(), notch, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(picture, &wheel);
        } else if (kind == 1 || kind == 2) {
            static const Qt::Key kKeys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
            QKeyEvent key(QEvent::KeyPress, kKeys[rng() % 4], kind == 2 ? Qt::AltModifier : Qt::NoModifier);
            QCoreApplication::sendEvent(&form(), &key);
        } else if (kind == 3) {
            const QPoint to(int(rng() % 1200), int(rng() % 700));
            mouse(QEvent::MouseButtonPress, at, Qt::MiddleButton, Qt::MiddleButton);
            mouse(QEvent::MouseMove, (at + to) / 2, Qt::NoButton, Qt::MiddleButton);
            mouse(QEvent::MouseButtonRelease, to, Qt::MiddleButton, Qt::NoButton);
        } else {
            const Qt::MouseButton button = rng() % 2 ? Qt::BackButton : Qt::ForwardButton;
            mouse(QEvent::MouseButtonPress, at, button, button);
        }
        if (p.renderGeneration != generation) ++explored;
    }

    // The next step of the run: mostly a menu command, sometimes a dialog, the
    // pointer over the map, a change of the window's size, a scroll or a stop.
    void step() {
        const int kind = int(rng() % 100);
        if (kind < 42) {
            choose(commands[rng() % commands.size()]);
        } else if (kind < 50) {
            pointer();
        } else if (kind < 65) {
            choose(resolutionItems[rng() % resolutionItems.size()]);
        } else if (kind < 77) {
            customArea();
        } else if (kind < 80) {
            saveMap();
        } else if (kind < 84) {
            form().resize(200 + int(rng() % 900), 150 + int(rng() % 700));
        } else if (kind < 90) {
            explore();
        } else if (kind < 94) {
            QScrollBar* bar = form().scrollBar(rng() % 2 ? Control::Hscrbar : Control::Vscrbar);
            bar->setValue(int(rng() % std::uint32_t(bar->maximum() + 1)));
        } else {
            form().action({MenuControl::m_terminate, -1})->trigger();
        }
    }

    // Asks for the next tick on the next pass of the event loop, which may be
    // one inside a drawing's yield.
    void schedule() {
        if (issued < kCommands) QTimer::singleShot(0, &form(), [this] { tick(); });
    }

    // One pass: the next tick is asked for first, so that it comes inside the
    // drawing this one may start; there a command runs now and then, which
    // nests drawings.
    void tick() {
        schedule();
        if (depth > 0 && rng() % 8 != 0) return;
        ++issued;
        if (depth >= kMaxDepth) {
            form().action({MenuControl::m_terminate, -1})->trigger();
            return;
        }
        ++depth;
        maxDepthSeen = std::max(maxDepthSeen, depth);
        if (depth > 1) ++nested;
        step();
        --depth;
    }

    test::StartFolder start;
    QtPlatform ui;
    Program p{ui};
    std::vector<std::string> messages;
    int quits = 0;
    std::vector<Command> commands;
    std::vector<Command> resolutionItems;
    Command customAreaItem{}, saveMapItem{};
    std::mt19937 rng{20070306};
    int issued = 0, chosen = 0, nested = 0, depth = 0, maxDepthSeen = 0, readOuts = 0, boxesDrawn = 0, explored = 0;
};

TEST_F(Stress, ThousandsOfCommandsDuringDrawingsThenExit) {
    // The first map at the largest picture the run can make: the widest
    // feature, Utopia, at 100%.
    const auto firstMap = [this] {
        openMenu(MenuControl::m_area);
        form().action({MenuControl::m_p, 11})->trigger();
        openMenu(MenuControl::m_size);
        form().action({MenuControl::m_siz, 7})->trigger();
    };
    // The annotated map chosen while a shaded map that crosses 180° draws, the
    // first map of the run, whose shading stage has no larger rows from before:
    // it replaces the picture, 1024 pixels wide where the map is 426, and ends
    // the drawing before its next row. A timer of no interval runs once a yield.
    p.relief.on = true;
    {
        int yields = 0;
        QTimer counter;
        counter.setInterval(0);
        QObject::connect(&counter, &QTimer::timeout, [this, &yields] {
            if (++yields == 3) form().action({MenuControl::m_h, 3})->trigger();
        });
        counter.start();
        p.map.areaclass = kAreaMap;
        p.map.mapsource = kFromArea;
        p.map.resolution = 3;
        p.map.autoresolution = 0;
        mapfromtile(p, 170, 40, 190, 20);
        counter.stop();
        EXPECT_EQ(yields, 3) << "the drawing ended at the yield that replaced its picture";
        EXPECT_EQ(p.dmap.image.width(), 1024);
        EXPECT_EQ(p.dmap.image.height(), 397);
    }

    // What a run loads once and keeps, whichever command first needs it: the
    // View layers' label font, named places and the window's glyph caches,
    // loaded by painting them over a map once.
    form().action({MenuControl::m_tile, 5})->trigger();
    for (int k = 0; k < 4; ++k) form().action({MenuControl::m_vw, k})->trigger();
    (void)form().picture()->grab();
    for (int k = 0; k < 4; ++k) form().action({MenuControl::m_vw, k})->trigger();
    firstMap();
    ASSERT_EQ(p.dmap.image.width(), 5759);
    const long afterFirstMap = residentBytes();

    schedule();
    while (issued < kCommands || depth > 0) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QCoreApplication::processEvents();

    EXPECT_GT(chosen, kCommands / 2) << "most commands reached their item";
    EXPECT_GT(nested, kCommands / 20) << "many commands ran inside drawings";
    EXPECT_EQ(maxDepthSeen, kMaxDepth);
    EXPECT_GT(readOuts, 0) << "the pointer read out some map";
    EXPECT_GT(boxesDrawn, 0) << "some drags drew their box";
    EXPECT_GT(explored, 0) << "the wheel, the keys or back and forward drew some maps";
    EXPECT_GT(p.history.size(), 1u);
    // The tiles are whole and good, so no drawing fails to read them, however
    // drawings interrupt one another; a box typed half-way may still be refused
    // by the area renderer for its size, as any program would refuse it, and a
    // box whose centre was typed after its span may reach past a pole, where
    // the renderer asks for a record before the first.
    for (const std::string& text : messages) {
        EXPECT_NE(text.rfind("Module 'Drawtile'", 0), 0u) << text;
        EXPECT_NE(text.rfind("Module 'Drawpolar'", 0), 0u) << text;
        EXPECT_NE(text.rfind("Module 'MapScroll'", 0), 0u) << text;
        int north = 0, south = 0;
        const auto range = text.find("Latitude range:");
        if (range != std::string::npos &&
            std::sscanf(text.c_str() + range, "Latitude range: %d %d", &north, &south) == 2 &&
            (north > 90 || south < -90))
            continue;
        for (const char* ioError : {"File not found", "Input past end", "Device I/O", "Path/File access", "Bad file",
                                    "Bad record", "missing"})
            EXPECT_EQ(text.find(ioError), std::string::npos) << text;
    }

    // The same map again, so that both measures hold one picture of one size,
    // with no View layer on, as at first.
    for (int k = 0; k < 4; ++k)
        if (form().action({MenuControl::m_vw, k})->isChecked()) form().action({MenuControl::m_vw, k})->trigger();
    firstMap();
    ASSERT_EQ(p.dmap.image.width(), 5759);
    const long afterRun = residentBytes();
    if (kCompareMemory) {
        EXPECT_LE(afterRun, afterFirstMap + afterFirstMap / 10)
            << "after the first map " << afterFirstMap << " bytes, after the run " << afterRun;
    }

    // Exit: the settings are written whole and name the tiles and the choices in force.
    form().action({MenuControl::m_end, -1})->trigger();
    EXPECT_EQ(quits, 1);
    const ConfigFields saved = parseConfig(start.configuration());
    ASSERT_TRUE(saved.complete()) << start.configuration();
    EXPECT_EQ(*saved.datafolder, start.tileFolder() + "/");
    EXPECT_EQ(*saved.scheme, p.colour.scheme);
    EXPECT_EQ(*saved.mode, p.colour.mode);
    EXPECT_EQ(usableScheme(*saved.scheme), *saved.scheme);
    EXPECT_EQ(usableMode(*saved.mode), *saved.mode);
    EXPECT_EQ(start.configuration(), formatConfig(*saved.datafolder, *saved.scheme, *saved.mode));
}

}  // namespace
}  // namespace rubicel
