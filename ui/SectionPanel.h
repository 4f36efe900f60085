#pragma once

#include <QDialog>

#include "BlockParams.h"

namespace chokusho {

/**
 * The block parameters' 断面から計算: the figures the dialog holds beside the section's, those
 * that differ by more than the notices allow in red, and the problems in words. Accepted by
 * 計算値を入れる (only when there are figures to put in), rejected by 閉じる. It shows what the
 * logic made (BlockParams::SectionFigures) and decides nothing itself.
 */
class SectionPanel : public QDialog {
    Q_OBJECT

public:
    SectionPanel(const SectionPanelContent& content, QWidget* parent);
};

}  // namespace chokusho
