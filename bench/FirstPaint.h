#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <cstdio>

namespace chokusho::bench {

/**
 * Watches a widget for its first paint. Once that paint has gone through, says so on the
 * standard output and leaves the event loop; a window that never paints ends the program
 * with an error after ten seconds.
 */
class QuitAfterFirstPaint : public QObject {
public:
    explicit QuitAfterFirstPaint(QObject* watched)
    {
        watched->installEventFilter(this);
        QTimer::singleShot(10'000, this, [] { QCoreApplication::exit(3); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            // Queued behind the paint, so the line comes once the picture is on the screen.
            QTimer::singleShot(0, this, [] {
                std::puts("painted");
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool painted_ = false;
};

}  // namespace chokusho::bench
