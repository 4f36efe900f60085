#pragma once

#include <QWidget>

#include "FramePort.h"

namespace chokusho {

/**
 * Shows the message box `request` modally over `parent`: the buttons, default button, icon and
 * alignment it names, with "\r\n" between lines. Closing it by its frame answers Cancel, or OK
 * when it has only OK. Every message box of the program that the logic asks for goes through it.
 */
MsgAnswer ShowMessageBox(QWidget* parent, const MessageBoxRequest& request);

}  // namespace chokusho
