#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "BlockParams.h"
#include "DocumentState.h"

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace chokusho {

class QelGrid;

/**
 * The block parameters (ブロック諸元): name, kind, dimensions, centroid, volume and the layer
 * table. Accepted after 登  録 once everything typed can be stored and the layer volumes add up
 * to V, when Confirmed() holds the edited record; rejected by ｷｬﾝｾﾙ or the frame. The dialog
 * never changes the document itself. The widgets forward their events to BlockParams and carry
 * out what it asks.
 */
class FrmEditInf : public QDialog, private BlockParamsForm {
    Q_OBJECT

public:
    explicit FrmEditInf(DocumentState& state, QWidget* parent = nullptr);
    ~FrmEditInf() override;

    /** The edited record, once 登  録 has accepted the dialog; the caller takes it. */
    const BlockData& Confirmed() const { return logic_->EditData(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // BlockParamsForm
    Grid& QelGV() override;
    Grid& QelGV1() override;
    std::string Text1(int index) const override;
    void SetText1(int index, const std::string& text) override;
    int SelectedOption() const override;
    void SelectOption(int index) override;
    void ApplyLayout(const ParamsLayout& layout) override;
    void ShowError(const std::string& text) override;
    void SelectText1(int index) override;
    void CloseForm(bool confirmed) override;
    bool ShowSectionPanel(const SectionPanelContent& content) override;

    void buildBoxes();
    void buildOptions();
    void buildGridsAndButtons();

    std::array<QLineEdit*, 8> Text1_{};
    std::array<QRadioButton*, 2> Opt_sgxsw_{};
    QButtonGroup* options_ = nullptr;
    QelGrid* QelGV_ = nullptr;
    QelGrid* QelGV1_ = nullptr;
    QPushButton* Command1_ = nullptr;
    QPushButton* CmdSection_ = nullptr;
    std::array<QPushButton*, 2> CmdPara_{};
    bool selectingOption_ = false;
    /** Twips the boxes grew by to show every figure whole; what stands right of them moved as much. */
    int widen_ = 0;
    std::unique_ptr<BlockParams> logic_;  // last: it joins the grids as it is made
};

}  // namespace chokusho
