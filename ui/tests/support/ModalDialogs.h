#pragma once

#include <QMetaObject>
#include <functional>

class QWidget;

namespace chokusho::test {

namespace detail {
void WhenModal(const QMetaObject& type, std::function<void(QWidget*)> act);
}  // namespace detail

/**
 * Runs `act` on the next modal dialog of type `Dialog` once the event loop shows it: for the
 * dialogs that the code under test opens with exec(), so the watch is set up before the command
 * that opens one. Whatever happens inside `act`, no test waits for ever on a dialog:
 *
 * - What `act` leaves open is rejected once it returns, so that a check that fails inside it
 *   (and returns early) cannot leave exec() waiting.
 * - A modal of another type that comes up in its place fails the test and is rejected; the
 *   watch goes on waiting for its own.
 * - While `act` runs, a modal that comes up with no watch waiting for it fails the test and is
 *   rejected (a watch set up inside `act` takes the modal that `act` then opens).
 * - A watch whose dialog never came up ends with its test function, with a warning, and never
 *   answers a dialog of the next one.
 *
 * The modal already up when the watch is set up (a dialog the test showed itself, or the one
 * being answered) is not the next one; watches set up one after another take the modals in the
 * order in which they come up.
 */
template <class Dialog>
void WhenModal(std::function<void(Dialog*)> act)
{
    detail::WhenModal(Dialog::staticMetaObject,
                      [act = std::move(act)](QWidget* modal) { act(static_cast<Dialog*>(modal)); });
}

}  // namespace chokusho::test
