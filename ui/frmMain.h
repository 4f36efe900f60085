#pragma once

#include <QMainWindow>

#include "DocumentState.h"

namespace chokusho {

/** The main window: the frame in which every block is drawn and edited. */
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(DocumentState& state, QWidget* parent = nullptr);

private:
    DocumentState& state_;
};

}  // namespace chokusho
