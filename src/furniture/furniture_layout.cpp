// SPDX-License-Identifier: MIT
// furniture_layout.cpp: the furniture over a map laid out in picture pixels, one layer after the other.
#include "furniture/furniture_layout.h"

#include "furniture/graticule.h"
#include "furniture/label_board.h"
#include "furniture/place_labels.h"
#include "furniture/scale_bar.h"

namespace rubicel {

FurnitureLayout layOutFurniture(const MapGeometry& map, const FurnitureLayers& layers, const LabelFont& font,
                                std::span<const MapPlace> places) {
    FurnitureLayout layout;
    layout.unit = layers.unit > 0 ? layers.unit : 1.0;
    if (!layers.any()) return layout;
    LabelBoard board(map.width(), map.height(), layout.unit);
    // The scale bar's corner first, then the graticule's labels by the edges;
    // the landing sites, few and sought after, before the names.
    if (layers.scaleBar) layOutScaleBar(map, font, board, layout);
    if (layers.graticule) layOutGraticule(map, layers, font, board, layout);
    if (layers.landingSites) layOutLandingSites(map, font, places, board, layout);
    if (layers.placeNames) layOutPlaceNames(map, font, places, board, layout);
    return layout;
}

}  // namespace rubicel
