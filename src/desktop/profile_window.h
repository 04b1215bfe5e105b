// SPDX-License-Identifier: MIT
// profile_window.h: the tool window "Elevation Profile": the chart of a line drawn over the map, its figures, Save Profile.
#pragma once

#include <QPointer>
#include <QPolygonF>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

#include "windows/profile_line.h"

class QChart;
class QLabel;
class QLineSeries;
class QPushButton;
class QScatterSeries;

namespace rubicel {

struct Program;
class MapPictureWidget;

// Shows one profile: a new one replaces it in the same window.
class ProfileWindow : public QWidget {
public:
    explicit ProfileWindow(QWidget* parent = nullptr);

    void showProfile(const ElevationProfile& profile);
    // The point under the pointer on the chart changed; -1 when it left.
    std::function<void(int index)> onHover;
    std::function<void()> onSave;

    QPushButton* saveButton() const { return save_; }
    const QString& hoverText() const;
    // The point nearest distance (km) along the profile; -1 without points.
    int pointAt(double distanceKm) const;
    // Tells the point at the chart's position pos (widget pixels of the chart view).
    void hoverAt(const QPointF& pos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hover(int index);

    ElevationProfile profile_;
    QChart* chart_ = nullptr;
    QWidget* view_ = nullptr;
    QLineSeries* series_ = nullptr;
    QScatterSeries* marker_ = nullptr;
    QLabel* ends_ = nullptr;
    QLabel* figures_ = nullptr;
    QLabel* hover_ = nullptr;
    QPushButton* save_ = nullptr;
    QString hoverText_;
};

// Joins the map picture and the profile window: a Shift-drag over a finished
// map asks the logic for the profile, shows it, keeps the line over the map
// until the next map, marks the chart's point on the map and saves the CSV.
class ProfileTool {
public:
    ProfileTool(Program& p, MapPictureWidget& picture);
    ~ProfileTool();
    ProfileTool(const ProfileTool&) = delete;
    ProfileTool& operator=(const ProfileTool&) = delete;

    // The window, or null before the first profile.
    ProfileWindow* window() const { return window_; }
    const ProfileLine& line() const { return line_; }
    // Asks where to save: the suggested path in, the chosen one out (empty: cancelled).
    std::function<QString(const QString& suggested)> askSavePath;
    void save();

private:
    void lineDrawn(float x0, float y0, float x1, float y1);

    Program& p_;
    MapPictureWidget& picture_;
    QPointer<ProfileWindow> window_;
    ProfileLine line_;
    std::vector<QPolygonF> path_;  // line_.path as the picture paints it
    int marked_ = -1;
};

}  // namespace rubicel
