// SPDX-License-Identifier: MIT
// map_stream.cpp: a map drawn straight into its BMP or PNG file, a row at a time.
#include "export/map_stream.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <vector>

#include "common/bmp_writer.h"
#include "common/file_replace.h"
#include "common/raster.h"
#include "export/geo_transform.h"
#include "export/map_request.h"
#include "export/png_writer.h"
#include "export/world_file.h"
#include "platform/headless/headless_platform.h"
#include "windows/program.h"

namespace rubicel {

namespace {

// Pictures from this size on are written as they are drawn; a smaller one is
// written whole once finished, which costs fewer calls and holds little memory.
constexpr std::size_t kStreamedBytes = std::size_t(16) << 20;
constexpr std::size_t kReleasedBytes = std::size_t(4) << 20;

// The rows of one picture on their way into the file, top first. A row is
// written once the renderer reports it drawn; rows it never reaches are written
// at the end. Pixels still 0 were never drawn (a drawn pixel is never 0) and
// are written in the background colour the picture would have been filled with.
class RowWriter {
public:
    RowWriter(int fd, ImageFormat format) : fd_(fd), format_(format) {}

    // The picture has its size; nothing is written yet.
    void start(const Raster& picture) {
        if (next_ > 0 || failed_) {
            fail(EINVAL);  // the picture changed size after rows were written
            return;
        }
        width_ = picture.width();
        height_ = picture.height();
        streamed_ = std::size_t(width_) * std::size_t(height_) * sizeof(std::uint32_t) >= kStreamedBytes;
        bmp_.reset();
        png_.reset();
        started_ = false;
    }

    // Rows up to last - 1 are drawn: writes them and what lies before them.
    void drawn(Raster& picture, int last) {
        if (!streamed_) return;
        writeUpTo(picture, std::min(last, height_));
        // Handed back a few megabytes at a time, each call costing a flush of the
        // processor's address cache.
        if (std::size_t(next_ - released_) * std::size_t(width_) * sizeof(std::uint32_t) >= kReleasedBytes) {
            picture.releaseRowsBefore(next_);
            released_ = next_;
        }
    }

    // Writes the rows not written yet; true when the whole file is written.
    bool finish(Raster& picture) {
        if (picture.width() != width_ || picture.height() != height_) fail(EINVAL);
        if (!failed_ && (!streamed_ || picture.empty())) return writeWhole(picture);
        writeUpTo(picture, height_);
        if (!failed_ && png_ && !png_->finish()) fail(errno);
        if (!failed_ && bmp_ && !bmp_->flush()) fail(errno);
        if (failed_) errno = error_;
        return !failed_;
    }

private:
    void writeUpTo(Raster& picture, int last) {
        if (failed_ || picture.width() != width_ || picture.height() != height_) return;
        if (!started_ && next_ < last) begin();
        for (; !failed_ && next_ < last; ++next_) {
            std::uint32_t* pixel = picture.row(next_);
            for (int x = 0; x < width_; ++x) pixel[x] = pixel[x] != 0 ? pixel[x] : kPictureBackground;
            const bool ok = png_ ? png_->writeRow(pixel) : bmp_->writeRow(next_, pixel);
            if (!ok) fail(errno);
        }
    }
    bool writeWhole(Raster& picture) {
        std::uint32_t* pixel = picture.data();
        for (std::size_t i = 0, n = std::size_t(width_) * std::size_t(height_); i < n; ++i)
            if (pixel[i] == 0) pixel[i] = kPictureBackground;
        if (format_ == ImageFormat::Bmp) return writeBmpTo(fd_, picture);
        PngRows png(fd_, width_, height_);
        if (!png.writeHeader()) return false;
        for (int y = 0; y < height_; ++y)
            if (!png.writeRow(picture.row(y))) return false;
        return png.finish();
    }
    void begin() {
        started_ = true;
        bool ok;
        if (format_ == ImageFormat::Png) {
            png_ = std::make_unique<PngRows>(fd_, width_, height_);
            ok = png_->writeHeader();
        } else {
            bmp_ = std::make_unique<BmpRows>(fd_, width_, height_);
            ok = bmp_->writeHeader();
        }
        if (!ok) fail(errno);
    }
    void fail(int error) {
        if (failed_) return;
        failed_ = true;
        error_ = error != 0 ? error : EIO;
    }

    int fd_;
    ImageFormat format_;
    int width_ = 0, height_ = 0;
    int next_ = 0;  // the first row not written
    bool streamed_ = false, started_ = false, failed_ = false;
    int error_ = 0;
    std::unique_ptr<BmpRows> bmp_;
    std::unique_ptr<PngRows> png_;
    int released_ = 0;  // rows whose memory went back
};

}  // namespace

std::optional<std::string> drawMapIntoFile(Program& p, HeadlessPlatform& ui, const MapRequest& request,
                                           const std::string& path, ImageFormat format, bool worldFile, bool& drawn) {
    drawn = false;
    bool ran = false;  // false when the file could not even be started
    bool emptyPng = false;
    Raster& picture = p.dmap.image;
    picture.reset(0, 0);
    picture.setWrittenAsDrawn(true);
    // The map and its side files are written all or none. A BMP's rows go to
    // their places in the file out of order.
    FileSet files;
    auto failure = files.write(
        path,
        [&](int fd) {
            ran = true;
            RowWriter rows(fd, format);
            ui.onImageReset = [&rows](const Raster& image) { rows.start(image); };
            // With relief shading a row is final only once it is shaded, after
            // the row below it is drawn: the file lags behind by a row or two.
            const ReliefRows& relief = p.reliefRows;
            ui.onRowsChanged = [&rows, &picture, &relief](int, int last) {
                rows.drawn(picture, std::min(last, relief.settledRows()));
            };
            drawn = drawMap(p, ui, request);
            ui.onImageReset = nullptr;
            ui.onRowsChanged = nullptr;
            if (!drawn) return false;
            emptyPng = format == ImageFormat::Png && picture.empty();
            return !emptyPng && rows.finish(picture);
        },
        LinkAtPath::Replace, format == ImageFormat::Bmp ? Writes::AnyOrder : Writes::InOrder);
    const auto place = geoTransformOf(p.dmap);
    // Its rows are gone: an empty picture says so to whatever draws next.
    picture.setWrittenAsDrawn(false);
    picture.reset(0, 0);
    if (ran && !drawn) return std::nullopt;
    if (emptyPng) return "Cannot write " + path + ": a PNG file needs at least one pixel";
    if (!failure && place && worldFile) failure = writeWorldFiles(files, path, *place);
    if (!failure) failure = files.commit();
    if (!failure) return std::nullopt;
    return describeFailure(*failure);
}

}  // namespace rubicel
