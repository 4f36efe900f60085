#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QSize>
#include <optional>

#include "Canvas.h"

namespace chokusho {

/**
 * The canvas's backing picture: a QImage of the logical size times the device pixel ratio,
 * drawn in logical pixels, aliased.
 *
 * Lines are drawn with a cosmetic pen of a whole number of device pixels, the most that one
 * logical pixel holds at every place (one at 150 %, two at 200 %), so that a line is as wide
 * wherever it lies; a box's sides are bands of the same width that meet without sharing a
 * pixel. A single pixel fills its logical pixel's cell, so that neighbouring pixels touch.
 *
 * One painter stays open on the image across drawing calls, so a whole picture costs one
 * begin and one end; image() and resize() end it first, and nothing else may paint on the
 * image meanwhile.
 */
class ImageCanvas : public Canvas {
public:
    ImageCanvas();
    ~ImageCanvas() override;
    ImageCanvas(const ImageCanvas&) = delete;
    ImageCanvas& operator=(const ImageCanvas&) = delete;

    /**
     * Makes the picture `logicalSize` at `devicePixelRatio`, black. Does nothing, keeping the
     * picture, when both are already so. Returns true when the picture was made anew.
     */
    bool resize(QSize logicalSize, qreal devicePixelRatio);
    QSize logicalSize() const { return logicalSize_; }
    /**
     * True while the picture is black and holds no pixels: from a resize until the first drawing
     * or the first call of image(). Whoever shows it then only has to show black.
     */
    bool isBlank() const { return image_.isNull(); }

    /** The font of the texts; the default application font until set. */
    void setFont(const QFont& font);

    /**
     * The finished picture, for showing or inspecting; ends any drawing in progress. Null while
     * the size is empty.
     */
    const QImage& image();

    // Canvas
    void Clear() override;
    void SetPenStyle(PenStyle style) override;
    void SetPenMode(PenMode mode) override;
    void Line(int x1, int y1, int x2, int y2, PaletteColor color) override;
    void Box(int x1, int y1, int x2, int y2, PaletteColor color) override;
    void PSet(int x, int y, PaletteColor color) override;
    void SetTextPosition(int x, int y) override;
    void Print(std::string_view text, PaletteColor color) override;
    void FillRings(const std::vector<PixelRing>& rings, PaletteColor color) override;

private:
    /** The painter on the image, begun with this canvas's settings when not yet active. */
    QPainter& painter();
    void endPainting();
    /** Gives a blank picture its pixels, black, before anything is drawn on it or shown from it. */
    void makePixels();
    void usePenColor(PaletteColor color);
    /** A line between two pixels, clipped to the picture first; false when none of it shows. */
    void drawClippedLine(double x1, double y1, double x2, double y2);
    void drawPixel(int x, int y, PaletteColor color);
    /** The first device row or column of the band that a line through logical `at` covers. */
    int bandStart(int at) const;
    /** Fills device pixels [left, right) x [top, bottom) with the pen's colour in the pen's mode. */
    void fillDevice(int left, int top, int right, int bottom);

    QImage image_;
    QSize logicalSize_;
    qreal devicePixelRatio_ = 1.0;
    QPainter painter_;
    QPen pen_;
    /** The lines' width in device pixels. */
    int lineWidth_ = 1;
    QFont font_;
    /** The font's ascent on the picture, worked out at the first text: it loads the font. */
    std::optional<int> ascent_;
    int textX_ = 0;
    int textY_ = 0;
    PenMode mode_ = PenMode::Copy;
};

}  // namespace chokusho
