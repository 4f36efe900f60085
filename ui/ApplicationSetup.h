#pragma once

class QApplication;

namespace chokusho {

/**
 * What the program sets on its application before it builds the main window: its name and icon,
 * Japanese formats for the numbers and dates Qt's widgets show, and Japanese texts for Qt's own
 * buttons and dialogs. The start-up benchmark starts the same way, so that it times what a user
 * waits for.
 */
void SetUpApplication(QApplication& app);

}  // namespace chokusho
