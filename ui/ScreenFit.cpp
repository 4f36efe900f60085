#include "ScreenFit.h"

#include <QDialog>
#include <QEvent>
#include <QLayout>
#include <QList>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>

namespace chokusho {

namespace {

/**
 * What a window manager's frame takes around a client area as long as the window's own frame is
 * not known: a title bar and thin borders, as the common desktops draw them (in logical pixels,
 * so at any scale).
 */
constexpr QSize kFrameEstimate(16, 40);

QString PageAreaName() { return QStringLiteral("ScreenPageArea"); }

const QScreen* ScreenOf(const QWidget& window)
{
    // A dialog comes up over its parent, wherever Qt first made its native window.
    if (window.parentWidget() != nullptr)
        return window.parentWidget()->window()->screen();
    return window.screen();
}

QSize FrameOf(const QWidget& window)
{
    // A window manager tells the frame only once the window is on the screen.
    const QSize known = window.frameGeometry().size() - window.geometry().size();
    return window.isVisible() && !known.isNull() ? known : kFrameEstimate;
}

QScrollArea* PageAreaOf(const QWidget& window)
{
    return window.findChild<QScrollArea*>(PageAreaName(), Qt::FindDirectChildrenOnly);
}

/** Brings its window within the room as the window is shown, before it reaches the screen. */
class ShowWatch : public QObject {
public:
    explicit ShowWatch(QWidget& window) : QObject(&window), window_(window) { window.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &window_ && event->type() == QEvent::Show && !event->spontaneous()) {
            // Qt has just given the window its natural size, and placed it before it knew that
            // size; a minimum of its own from now on keeps its layout from widening it later.
            const QSize room = RoomOnScreen(window_);
            // Qt counts a minimum as the window's own only when it changes it.
            window_.setMinimumSize(0, 0);
            window_.setMinimumSize(window_.minimumSizeHint().boundedTo(room));
            window_.resize(window_.size().boundedTo(room));
            if (const QScreen* screen = ScreenOf(window_)) {
                const QRect area = screen->availableGeometry();
                const QSize whole = window_.size() + FrameOf(window_);
                // Right and bottom edges first: a window larger than the area keeps its top left.
                const QPoint inside(std::max(area.left(), std::min(window_.x(), area.right() + 1 - whole.width())),
                                    std::max(area.top(), std::min(window_.y(), area.bottom() + 1 - whole.height())));
                if (inside != window_.pos())
                    window_.move(inside);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& window_;
};

}  // namespace

QSize RoomOnScreen(const QWidget& window)
{
    const QScreen* screen = ScreenOf(window);
    if (screen == nullptr)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return (screen->availableGeometry().size() - FrameOf(window)).expandedTo(QSize(1, 1));
}

void ResizeOnScreen(QWidget& window, QSize wanted)
{
    const QSize room = RoomOnScreen(window);
    window.setMinimumSize(window.minimumSize().boundedTo(room));
    window.resize(wanted.boundedTo(room));
}

void KeepOnScreenWhenShown(QWidget& window) { new ShowWatch(window); }

void FixSizeOnScreen(QDialog& dialog, QSize design)
{
    const QSize room = RoomOnScreen(dialog);
    if (PageAreaOf(dialog) == nullptr && design.width() <= room.width() && design.height() <= room.height()) {
        dialog.setFixedSize(design);
        return;
    }
    PutOnScrollPage(dialog, design, PageSize::Fixed);
    // A scroll bar along one edge takes its width from the other way.
    const int bar = dialog.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &dialog);
    QSize whole = design;
    if (design.height() > room.height())
        whole.rwidth() += bar;
    if (design.width() > room.width())
        whole.rheight() += bar;
    dialog.setMinimumSize(0, 0);
    dialog.setMaximumSize(whole);
    dialog.resize(whole.boundedTo(room));
}

QWidget* PutOnScrollPage(QWidget& window, QSize size, PageSize sizing)
{
    QScrollArea* area = PageAreaOf(window);
    if (area == nullptr) {
        const QList<QWidget*> controls = window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QLayout* layout = window.layout();
        auto* page = new QWidget;
        page->setObjectName(QStringLiteral("ScreenPage"));
        area = new QScrollArea(&window);
        area->setObjectName(PageAreaName());
        area->setFrameShape(QFrame::NoFrame);
        // Tab goes from control to control; the area brings each one into sight on its way.
        area->setFocusPolicy(Qt::NoFocus);
        area->setWidget(page);
        // The page takes the layout with the widgets in it, and the widgets placed by hand keep
        // their places; within one window the tab order stays as it was.
        if (layout != nullptr)
            page->setLayout(layout);
        for (QWidget* control : controls) {
            if (control->isWindow() || control->parentWidget() != &window)
                continue;
            const bool hidden = control->isHidden();
            control->setParent(page);
            if (!hidden)
                control->show();
        }
        auto* frame = new QVBoxLayout(&window);
        frame->setContentsMargins(0, 0, 0, 0);
        frame->addWidget(area);
    }
    QWidget* page = area->widget();
    if (sizing == PageSize::Fixed) {
        area->setWidgetResizable(false);
        page->setFixedSize(size);
    } else {
        area->setWidgetResizable(true);
        page->setMinimumSize(size);
    }
    return page;
}

}  // namespace chokusho
