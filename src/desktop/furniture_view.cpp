// SPDX-License-Identifier: MIT
// furniture_view.cpp: the View menu's layers painted by the window over the map picture, laid out once per map.
#include "desktop/furniture_view.h"

#include <QAction>
#include <QPainter>
#include <QShortcut>

#include "desktop/furniture_painter.h"
#include "desktop/main_form.h"
#include "desktop/map_picture_widget.h"
#include "desktop/menu_key.h"
#include "furniture/label_font.h"
#include "furniture/map_geometry.h"
#include "furniture/map_places.h"
#include "maps/drawn_map.h"
#include "windows/program.h"

namespace rubicel {

namespace {
constexpr int kViewItems = 4;
}

FurnitureView::FurnitureView(Program& p, MainForm& form) : p_(p), picture_(*form.picture()) {
    for (int k = 0; k < kViewItems; ++k) {
        QAction* item = form.action({MenuControl::m_vw, k});
        if (!item) continue;
        // Runs after the item's handler has turned the layer on or off.
        QObject::connect(item, &QAction::triggered, &form, [this] { picture_.update(); });
        // The key works wherever the main window is active.
        auto* key = new QShortcut(keyOfCaption(item->text()), &form);
        QObject::connect(key, &QShortcut::activated, item, &QAction::trigger);
    }
    picture_.paintFurniture = [this](QPainter& painter, const QRect& area) { paint(painter, area); };
}

FurnitureView::~FurnitureView() { picture_.paintFurniture = nullptr; }

FurnitureView::Key FurnitureView::keyNow() const {
    const FurnitureLayers& v = p_.view;
    const DrawnMap& shows = p_.dmap.shows;
    const bool finished = shows.valid && shows.revision == p_.dmap.revision;
    return {p_.dmap.revision, finished, finished ? shows.rows : 0, p_.dmap.image.width(), p_.dmap.image.height(),
            v.graticule, v.placeNames, v.landingSites, v.scaleBar};
}

void FurnitureView::layOut() {
    layout_ = {};
    painter_.reset();
    problem_.clear();
    if (!p_.view.any()) return;
    // Nothing while a map is being drawn or the picture shows no map.
    const std::optional<MapGeometry> map = MapGeometry::of(p_.dmap);
    if (!map) return;
    const LabelFont* font = LabelFont::shared(&problem_);
    if (!font) return;
    static const std::vector<MapPlace> kNoPlaces;
    const bool named = p_.view.placeNames || p_.view.landingSites;
    const std::vector<MapPlace>& places = named ? shippedMapPlaces(&problem_) : kNoPlaces;
    if (!problem_.empty()) return;
    layout_ = layOutFurniture(*map, p_.view, *font, places);
    painter_ = std::make_unique<FurniturePainter>(layout_, *font);
    ++layouts_;
}

void FurnitureView::paint(QPainter& painter, const QRect& area) {
    const Key key = keyNow();
    if (!(key == key_)) {
        key_ = key;
        layOut();
    }
    if (painter_) painter_->paint(painter, area);
}

}  // namespace rubicel
