// SPDX-License-Identifier: MIT
// profile_window.cpp: the tool window "Elevation Profile": the chart of a line drawn over the map, its figures, Save Profile.
#include "desktop/profile_window.h"

#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPushButton>
#include <QScatterSeries>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "desktop/map_picture_widget.h"
#include "windows/program.h"

namespace rubicel {
namespace {

QString km(double metres) { return QString::number(metres / 1000.0, 'f', 1) + " km"; }

// Latitude and longitude east or west of 0, whether given from -180 or up to 360.
QString place(double latitude, double longitude) {
    if (longitude >= 180.0) longitude -= 360.0;
    return QString("%1°%2  %3°%4")
        .arg(std::abs(latitude), 0, 'f', 3)
        .arg(latitude < 0 ? 'S' : 'N')
        .arg(std::abs(longitude), 0, 'f', 3)
        .arg(longitude < 0 ? 'W' : 'E');
}

QString metres(int m) { return QString::number(m) + " m"; }

// Ticks at a round spacing of about a fifth of the axis, through 0.
void roundTicks(QValueAxis* axis, double low, double high) {
    axis->setRange(low, high);
    const double rough = (high - low) / 5.0;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power;
    for (double f : {2.0, 5.0, 10.0})
        if (step < rough) step = f * power;
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0.0);
    axis->setTickInterval(step);
    axis->setLabelFormat(step >= 1.0 ? "%.0f" : step >= 0.1 ? "%.1f" : "%.2f");
}

}  // namespace

ProfileWindow::ProfileWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName("Profile");
    setWindowTitle("Elevation Profile");
    chart_ = new QChart;
    chart_->legend()->hide();
    series_ = new QLineSeries;
    marker_ = new QScatterSeries;
    marker_->setMarkerSize(9);
    chart_->addSeries(series_);
    chart_->addSeries(marker_);
    auto* x = new QValueAxis;
    x->setTitleText("Distance (km)");
    auto* y = new QValueAxis;
    y->setTitleText("Elevation (m)");
    chart_->addAxis(x, Qt::AlignBottom);
    chart_->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* s : {static_cast<QAbstractSeries*>(series_), static_cast<QAbstractSeries*>(marker_)}) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    auto* view = new QChartView(chart_, this);
    view->setObjectName("chart");
    view->setRenderHint(QPainter::Antialiasing);
    view->setMouseTracking(true);
    view->viewport()->setMouseTracking(true);
    view->viewport()->installEventFilter(this);
    view->setMinimumSize(560, 300);
    view_ = view;

    ends_ = new QLabel(this);
    figures_ = new QLabel(this);
    hover_ = new QLabel(this);
    hover_->setObjectName("hover");
    save_ = new QPushButton("Save Profile...", this);
    save_->setObjectName("saveProfile");
    QObject::connect(save_, &QPushButton::clicked, this, [this] {
        if (onSave) onSave();
    });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(hover_, 1);
    bottom->addWidget(save_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ends_);
    layout->addWidget(figures_);
    layout->addWidget(view, 1);
    layout->addLayout(bottom);
}

void ProfileWindow::showProfile(const ElevationProfile& profile) {
    profile_ = profile;
    QList<QPointF> points;
    points.reserve(qsizetype(profile.points.size()));
    for (const ProfilePoint& p : profile.points) points.append(QPointF(p.distance / 1000.0, p.elevation));
    series_->replace(points);
    marker_->clear();
    const ProfileExtremes e = profileExtremes(profile);
    const ProfilePoint& low = profile.points[e.lowest];
    const ProfilePoint& high = profile.points[e.highest];
    auto* x = static_cast<QValueAxis*>(chart_->axes(Qt::Horizontal).front());
    auto* y = static_cast<QValueAxis*>(chart_->axes(Qt::Vertical).front());
    roundTicks(x, 0, std::max(profile.length / 1000.0, 0.001));
    const double margin = std::max(10.0, (high.elevation - low.elevation) * 0.05);
    roundTicks(y, low.elevation - margin, high.elevation + margin);
    ends_->setText("From " + place(profile.start.latitude, profile.start.longitude) + "  to  " +
                   place(profile.end.latitude, profile.end.longitude) + "    Length " + km(profile.length));
    figures_->setText("Lowest " + metres(low.elevation) + " at " + km(low.distance) + "    Highest " +
                      metres(high.elevation) + " at " + km(high.distance));
    hover(-1);
}

const QString& ProfileWindow::hoverText() const { return hoverText_; }

int ProfileWindow::pointAt(double distanceKm) const {
    const auto& points = profile_.points;
    if (points.empty()) return -1;
    const auto at = std::lower_bound(points.begin(), points.end(), distanceKm * 1000.0,
                                     [](const ProfilePoint& p, double d) { return p.distance < d; });
    if (at == points.end()) return int(points.size()) - 1;
    if (at != points.begin() && distanceKm * 1000.0 - (at - 1)->distance < at->distance - distanceKm * 1000.0)
        return int(at - points.begin()) - 1;
    return int(at - points.begin());
}

void ProfileWindow::hoverAt(const QPointF& pos) {
    const QRectF plot = chart_->plotArea();
    if (!plot.contains(pos)) return hover(-1);
    hover(pointAt(chart_->mapToValue(pos, series_).x()));
}

void ProfileWindow::hover(int index) {
    marker_->clear();
    if (index < 0) {
        hoverText_.clear();
    } else {
        const ProfilePoint& p = profile_.points[std::size_t(index)];
        marker_->append(p.distance / 1000.0, p.elevation);
        hoverText_ = QString::number(p.distance / 1000.0, 'f', 3) + " km   " + metres(p.elevation) + "   " +
                     place(p.latitude, p.longitude);
    }
    hover_->setText(hoverText_);
    if (onHover) onHover(index);
}

bool ProfileWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove)
        hoverAt(static_cast<QMouseEvent*>(event)->position());
    else if (event->type() == QEvent::Leave)
        hover(-1);
    return QWidget::eventFilter(watched, event);
}

ProfileTool::ProfileTool(Program& p, MapPictureWidget& picture) : p_(p), picture_(picture) {
    picture_.onProfileAllowed = [this] { return dmap_ProfileAllowed(p_); };
    picture_.onProfileLine = [this](float x0, float y0, float x1, float y1) { lineDrawn(x0, y0, x1, y1); };
    picture_.profileOverlay = [this]() -> std::optional<MapPictureWidget::ProfileOverlay> {
        if (!profileLineShown(p_.dmap, line_)) return std::nullopt;
        MapPictureWidget::ProfileOverlay overlay{path_, {}};
        // The marked point's own place, on the path drawn.
        if (marked_ >= 0)
            if (const auto at = profilePointPlace(p_.dmap, line_, std::size_t(marked_)))
                overlay.mark = QPointF(at->x, at->y);
        return overlay;
    };
    askSavePath = [this](const QString& suggested) {
        const QFileInfo file(suggested);
        QFileDialog dialog(window_, "Save Profile", file.absolutePath(), "CSV files (*.csv)");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // The dialog adds the suffix before it asks about a file of that name,
        // so it asks about the file written; a native dialog would ask about
        // the name as typed.
        dialog.setDefaultSuffix("csv");
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.selectFile(file.fileName());
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
}

ProfileTool::~ProfileTool() { delete window_.data(); }

void ProfileTool::lineDrawn(float x0, float y0, float x1, float y1) {
    ProfileLine line;
    if (const auto error = dmap_ProfileLine(p_, x0, y0, x1, y1, line)) {
        if (!error->empty()) p_.ui.messageBox(*error, std::string(), Icon::None);
        return;
    }
    line_ = std::move(line);
    path_.clear();
    for (const PathRun& run : line_.path) {
        QPolygonF polygon;
        polygon.reserve(qsizetype(run.size()));
        for (const auto& [x, y] : run) polygon.append(QPointF(x, y));
        path_.push_back(std::move(polygon));
    }
    marked_ = -1;
    if (!window_) {
        window_ = new ProfileWindow(picture_.window());
        window_->onHover = [this](int index) {
            marked_ = index;
            picture_.update();
        };
        window_->onSave = [this] { save(); };
    }
    window_->showProfile(line_.profile);
    window_->show();
    window_->raise();
    picture_.update();
}

void ProfileTool::save() {
    if (line_.profile.points.empty()) return;
    // The dialog opens in the maps folder; one made for it goes again when no
    // profile is saved into it, so a cancelled dialog leaves nothing behind.
    const QString folder = QString::fromStdString(profileFolder(p_));
    const bool made = !QFileInfo(folder).isDir() && QDir().mkpath(folder);
    const QString path = askSavePath(folder + "/" + QString::fromStdString(profileFileName(line_.profile)));
    if (made && (path.isEmpty() || QFileInfo(path).absoluteDir() != QDir(folder))) QDir().rmdir(folder);
    if (path.isEmpty()) return;
    if (const auto error = writeProfileCsv(path.toStdString(), line_.profile))
        p_.ui.messageBox(*error, std::string(), Icon::None);
}

}  // namespace rubicel
