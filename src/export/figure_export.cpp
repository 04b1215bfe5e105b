// SPDX-License-Identifier: MIT
// figure_export.cpp: File > Export Figure: the figure of the map shown, as the user chose it, written to a file.
#include "export/figure_export.h"

#include <cstddef>

#include "export/map_request.h"
#include "furniture/map_geometry.h"
#include "furniture/map_places.h"
#include "settings/feature_table.h"
#include "windows/program.h"

namespace rubicel {

std::string mapCaption(const Program& p) {
    const MapEntry* shown = p.history.current();
    if (!shown) return "Mars";
    if (!shown->place.empty()) return shown->place;
    // The names rubicel-render gives these maps (MapRequest).
    switch (shown->kind) {
    case MapEntry::Kind::Planet: return planetCaption(shown->box[0] < 0 ? 0 : 180);
    case MapEntry::Kind::Polar: return polarCaption(shown->box[0]);
    case MapEntry::Kind::Tile:
        for (std::size_t t = 0; t < p.File1.size(); ++t)
            if (!p.File1[t].empty() && shown->tilefile == p.map.datafolder + p.File1[t]) return tileCaption(int(t));
        return "Mars";
    case MapEntry::Kind::Area: break;
    }
    // A feature: its caption, from the table its menu item was made from; a box: its degrees.
    if (shown->tick)
        for (const FeatureSubmenu& submenu : featureSubmenus())
            if (submenu.items == shown->tick->control && std::size_t(shown->tick->index) < submenu.features.size())
                return MapRequest::feature(submenu.features[std::size_t(shown->tick->index)]).caption;
    return areaCaption(shown->box[0], shown->box[1], shown->box[2], shown->box[3]);
}

std::string suggestedFigurePath(const Program& p, FigureFormat format) {
    std::string name = mapCaption(p);
    for (char& c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '/' || u < 0x20 || u == 0x7F) c = '-';
    }
    return p.map.startfolder + "/Maps/" + name + figureExtensionOf(format);
}

FigureSpec figureSpecOf(const Program& p, const FigureChoices& choices) {
    FigureSpec spec;
    spec.caption = mapCaption(p);
    spec.title = choices.title;
    spec.widthMm = choices.widthMm;
    spec.layers.graticule = choices.layers.graticule;
    spec.layers.placeNames = choices.layers.placeNames;
    spec.layers.landingSites = choices.layers.landingSites;
    spec.layers.scaleBar = choices.layers.scaleBar;
    if (p.colour.scheme == 9 && p.colour.userLimits)
        spec.range = ElevationSpan{(*p.colour.userLimits)[0], (*p.colour.userLimits)[1]};
    return spec;
}

bool hasFigureMap(const Program& p) { return MapGeometry::of(p.dmap).has_value(); }

std::optional<std::string> exportFigure(const Program& p, const FigureChoices& choices, const std::string& path) {
    std::string unread;
    const std::vector<MapPlace>& places = shippedMapPlaces(&unread);
    if (!unread.empty() && (choices.layers.placeNames || choices.layers.landingSites))
        return "Cannot write " + path + ": " + unread;
    return writeFigure(p, figureSpecOf(p, choices), places, path, kFigureDpi);
}

}  // namespace rubicel
