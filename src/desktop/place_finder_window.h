// SPDX-License-Identifier: MIT
// place_finder_window.h: the tool window "Find Place": a name's best matches; the chosen one's map, marked.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

#include "windows/place_finder.h"

class QLabel;
class QLineEdit;
class QPainter;
class QShortcut;
class QTreeWidget;

namespace rubicel {

struct Program;
class MainForm;
class MapPictureWidget;

// The search field over the list of matches. Enter draws the selected match
// (the first when none is selected), as a double click on a row does; Up and
// Down move through the list from the field; Alt+Left and Alt+Right go back
// and forward through the maps as in the main window; Escape closes it.
class PlaceFinderWindow : public QWidget {
public:
    explicit PlaceFinderWindow(QWidget* parent);

    QLineEdit* field() const { return field_; }
    QTreeWidget* matches() const { return matches_; }
    // Lists rows, none selected; note, when not empty, replaces the list's
    // empty space with a line of its own (the index could not be read).
    void showRows(const std::vector<FinderRow>& rows, const QString& note);

    std::function<void(const QString& text)> onTextChanged;
    std::function<void(int row)> onChoose;
    std::function<void(bool forward)> onHistoryKey;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* field_ = nullptr;
    QTreeWidget* matches_ = nullptr;
    QLabel* note_ = nullptr;
};

// Joins the Map Area menu's Find Place item (and its key, the end of its
// caption) to the window, draws the place chosen as a new map and keeps its
// mark painted over the map picture until the next map.
class PlaceFinder {
public:
    PlaceFinder(Program& p, MainForm& form);
    ~PlaceFinder();
    PlaceFinder(const PlaceFinder&) = delete;
    PlaceFinder& operator=(const PlaceFinder&) = delete;

    // Shows the window, its field ready for typing.
    void open();
    // The window, or null before it was first opened.
    PlaceFinderWindow* window() const { return window_; }
    const PlaceMark& mark() const { return mark_; }

private:
    void search(const QString& text);
    void choose(int row);
    void paintMark(QPainter& painter) const;

    Program& p_;
    MainForm& form_;
    MapPictureWidget& picture_;
    QShortcut* key_ = nullptr;
    QPointer<PlaceFinderWindow> window_;
    std::vector<FinderRow> rows_;
    PlaceMark mark_;
};

}  // namespace rubicel
