#pragma once

#include <QFont>
#include <QLabel>

namespace chokusho {

/**
 * A panel of the status bar whose text reads whole: a text wider than the panel is drawn in a
 * font made smaller to fit, down to kSmallestScale of the normal size, and in the normal font
 * again as soon as it fits.
 */
class StatusPanel : public QLabel {
    Q_OBJECT

public:
    static constexpr double kSmallestScale = 0.8;

    explicit StatusPanel(QWidget* parent = nullptr);

    void setPanelText(const QString& text);
    /** The width the text takes in the normal font, frame and spacing included. */
    int naturalWidth() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fit();

    QFont normal_;
    bool fitting_ = false;
};

}  // namespace chokusho
