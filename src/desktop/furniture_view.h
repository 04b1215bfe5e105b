// SPDX-License-Identifier: MIT
// furniture_view.h: the View menu's layers painted by the window over the map picture, laid out once per map.
#pragma once

#include <memory>
#include <string>

#include "furniture/furniture_layout.h"

class QPainter;
class QRect;

namespace rubicel {

struct Program;
class FurniturePainter;
class MainForm;
class MapPictureWidget;

// Joins the View items (and their keys, the ends of their captions) to the
// picture and paints the layers they turn on over the finished map shown,
// never into its pixels, so Save Map writes the bare map. The layers are laid
// out as the files lay them out (the map's geometry, the shipped places, the
// label font) at the first paint after a map is finished, and again only when
// the picture shows another map or the layers change; while a map is being
// drawn, nothing is painted.
class FurnitureView {
public:
    FurnitureView(Program& p, MainForm& form);
    ~FurnitureView();
    FurnitureView(const FurnitureView&) = delete;
    FurnitureView& operator=(const FurnitureView&) = delete;

    // Paints over area, pixels of the picture.
    void paint(QPainter& painter, const QRect& area);
    // The layout painted last; empty when nothing was.
    const FurnitureLayout& layout() const { return layout_; }
    // How many times the layers were laid out.
    int layouts() const { return layouts_; }
    // Why nothing could be laid out (no font, the places unread); empty otherwise.
    const std::string& problem() const { return problem_; }

private:
    // What a layout depends on: the picture's map and the layers.
    struct Key {
        int revision = -1;
        bool shows = false;
        int rows = 0;
        int width = 0;
        int height = 0;
        bool graticule = false, placeNames = false, landingSites = false, scaleBar = false;
        friend bool operator==(const Key&, const Key&) = default;
    };
    Key keyNow() const;
    void layOut();

    Program& p_;
    MapPictureWidget& picture_;
    Key key_;
    FurnitureLayout layout_;
    std::unique_ptr<FurniturePainter> painter_;
    int layouts_ = 0;
    std::string problem_;
};

}  // namespace rubicel
