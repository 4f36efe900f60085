#pragma once

#include <QFrame>
#include <QImage>
#include <string_view>

#include "BlockData.h"
#include "Canvas.h"
#include "ImageCanvas.h"

namespace chokusho {

/**
 * A canvas in twips over a canvas in pixels: the picker's preview is laid out in twips, as its
 * window is, and reaches the pixels only here, 15 twips to a pixel, rounded to the nearest.
 */
class TwipsCanvas : public Canvas {
public:
    explicit TwipsCanvas(Canvas& pixels) : pixels_(pixels) {}

    void Clear() override { pixels_.Clear(); }
    void SetPenStyle(PenStyle style) override { pixels_.SetPenStyle(style); }
    void SetPenMode(PenMode mode) override { pixels_.SetPenMode(mode); }
    void Line(int x1, int y1, int x2, int y2, PaletteColor color) override;
    void Box(int x1, int y1, int x2, int y2, PaletteColor color) override;
    void PSet(int x, int y, PaletteColor color) override;
    void SetTextPosition(int x, int y) override;
    void Print(std::string_view text, PaletteColor color) override { pixels_.Print(text, color); }
    void FillRings(const std::vector<PixelRing>& rings, PaletteColor color) override;

private:
    Canvas& pixels_;
};

/** The picker's black preview ("Picture1"): a sunken frame around the outline of one block. */
class PickerPreviewWidget : public QFrame {
    Q_OBJECT

public:
    explicit PickerPreviewWidget(QWidget* parent = nullptr);

    /** Draws `data` afresh; an empty record leaves the preview black. */
    void showBlock(const BlockData& block);
    /** The picture inside the frame, as last drawn. */
    const QImage& image() { return canvas_.image(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void redraw();

    ImageCanvas canvas_;
    BlockData data_;
};

}  // namespace chokusho
