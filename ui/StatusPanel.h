#pragma once

#include <QFont>
#include <QLabel>

namespace chokusho {

/**
 * A line of text that reads whole where it can, as the status bar's panels and the print
 * preview's word about the scale do: a text wider than the panel is drawn in a font made smaller
 * to fit, down to kSmallestScale of the normal size, and in the normal font again as soon as it
 * fits. A text wider even then is cut with "…", and the panel's tooltip holds it whole.
 *
 * text() is what shows; panelText() the whole text. The panel asks its layout for the room of
 * the whole text and takes less without complaint.
 */
class StatusPanel : public QLabel {
    Q_OBJECT

public:
    static constexpr double kSmallestScale = 0.8;

    explicit StatusPanel(QWidget* parent = nullptr);

    void setPanelText(const QString& text);
    const QString& panelText() const { return whole_; }
    /** The width the whole text takes in the normal font, frame and spacing included. */
    int naturalWidth() const;
    /** The width the whole text takes in the smallest font, frame and spacing included. */
    int smallestWidth() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fit();
    /** The frame and the blank on both sides of the text, in pixels. */
    int padding() const;

    QString whole_;
    QFont normal_;
    bool fitting_ = false;
};

}  // namespace chokusho
