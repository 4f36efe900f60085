#include "ModalDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

namespace chokusho::test {

namespace {

struct Watch {
    const QMetaObject* type;
    std::function<void(QWidget*)> act;
    QByteArray test;  // the test function and data row that set it up
    QPointer<QWidget> underneath;
};

// Only the thread of the event loop reaches these.
std::deque<Watch> pending;
std::vector<QPointer<QWidget>> answering;  // innermost last
std::vector<QPointer<QWidget>> dismissed;  // modals rejected as unexpected, reported once

QByteArray CurrentTest()
{
    QByteArray test = QTest::currentTestFunction();
    if (const char* row = QTest::currentDataTag())
        test += QByteArray("(") + row + ')';
    return test;
}

bool Holds(const std::vector<QPointer<QWidget>>& widgets, const QWidget* widget)
{
    return std::any_of(widgets.begin(), widgets.end(), [widget](const QPointer<QWidget>& w) { return w == widget; });
}

QString Describe(const QWidget& modal)
{
    return QStringLiteral("%1 \"%2\" (%3)")
        .arg(QString::fromUtf8(modal.metaObject()->className()), modal.objectName(), modal.windowTitle());
}

void Close(QWidget& modal)
{
    if (auto* dialog = qobject_cast<QDialog*>(&modal))
        dialog->reject();
    else
        modal.close();
}

/** Fails the running test function and rejects the modal that should not have come up. */
void Dismiss(QWidget& modal, const QString& why)
{
    dismissed.emplace_back(&modal);
    QTest::qFail(qPrintable(Describe(modal) + why), __FILE__, __LINE__);
    Close(modal);
}

void Dispatch();

QTimer& Poll()
{
    static QTimer* const poll = [] {
        auto* timer = new QTimer(QCoreApplication::instance());
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, Dispatch);
        return timer;
    }();
    return *poll;
}

void Answer(Watch watch, QWidget& modal)
{
    const QPointer<QWidget> open(&modal);
    answering.push_back(open);
    // The poll that got here does not fire again until this returns: the guard watches the
    // modals that `act` opens meanwhile.
    QTimer guard;
    guard.setInterval(10);
    QObject::connect(&guard, &QTimer::timeout, Dispatch);
    guard.start();
    watch.act(&modal);
    guard.stop();
    answering.pop_back();
    if (open && open->isVisible())
        Close(*open);
}

void Dispatch()
{
    const QByteArray test = CurrentTest();
    std::erase_if(pending, [&test](const Watch& watch) {
        if (watch.test == test)
            return false;
        qWarning("no modal %s came up in %s", watch.type->className(), watch.test.constData());
        return true;
    });
    std::erase_if(dismissed, [](const QPointer<QWidget>& modal) { return !modal || !modal->isVisible(); });

    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal->isVisible() && !Holds(answering, modal) && !Holds(dismissed, modal)) {
        if (!pending.empty() && modal != pending.front().underneath) {
            if (pending.front().type->cast(modal) != nullptr) {
                Watch watch = std::move(pending.front());
                pending.pop_front();
                Answer(std::move(watch), *modal);
            } else {
                Dismiss(*modal, QStringLiteral(" came up where a %1 was awaited")
                                    .arg(QString::fromUtf8(pending.front().type->className())));
            }
        } else if (pending.empty() && !answering.empty()) {
            const QString answered = answering.back() ? Describe(*answering.back())
                                                      : QStringLiteral("a dialog that is gone");
            Dismiss(*modal, QStringLiteral(" came up while %1 was answered, and no watch awaited it").arg(answered));
        }
    }
    if (pending.empty())
        Poll().stop();
}

}  // namespace

void detail::WhenModal(const QMetaObject& type, std::function<void(QWidget*)> act)
{
    pending.push_back({&type, std::move(act), CurrentTest(), QApplication::activeModalWidget()});
    // The first look is an event posted now, ahead of every event that the dialog's opening
    // posts: an answer that watches the dialog's own work (a folder that loads in the
    // background) sees it from its start. The poll looks again until the dialog is up.
    QMetaObject::invokeMethod(QCoreApplication::instance(), Dispatch, Qt::QueuedConnection);
    if (!Poll().isActive())
        Poll().start();
}

}  // namespace chokusho::test
