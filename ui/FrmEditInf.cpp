#include "FrmEditInf.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>

#include "BlockFile.h"
#include "FigureWidth.h"
#include "QelGrid.h"
#include "MessageBox.h"
#include "QtText.h"
#include "ScreenFit.h"
#include "SectionPanel.h"
#include "ZoomScroll.h"

namespace chokusho {

namespace {

// Places and sizes in twips.
constexpr int kClientHeight = 6960;
constexpr int kBoxLeft = 1740, kBoxWidth = 915, kBoxHeight = 270;
constexpr int kFrameWidth = 2640;  // the framed bands and the centroid option's frame
constexpr int kGridLeft = 2940, kGridTop = 180, kGridHeight = 5535;
constexpr int kButtonWidth = 975, kButtonHeight = 375;
constexpr int kRegisterTop = 5880, kCancelTop = 6360;

void Place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

QLabel* Label(const char* name, const char* text, QWidget* parent, int left, int top, int width,
              Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* label = new QLabel(Utf8(text), parent);
    label->setObjectName(Utf8(name));
    label->setAlignment(alignment);
    Place(label, left, top, width, kBoxHeight);
    return label;
}

QPushButton* Button(const QString& name, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    // Enter in a box or the grid must never confirm the dialog.
    button->setAutoDefault(false);
    return button;
}

/** One group of figure boxes: a framed band with its caption and unit, one letter per box. */
struct FigureGroup {
    const char* name;
    const char* captionName;
    const char* caption;
    const char* unit;
    int top;     // of the frame
    int height;  // of the frame
};

// clang-format off
constexpr FigureGroup kGroups[] = {
    {"Frame_sunpo", "Label_sunpo", "寸  法", "(m)", 1380, 1080},
    {"Frame_juushin", "Label_juushin", "重  心", "(m)", 2520, 780},
    {"Frame_taiseki", "Label_taiseki", "体  積", "(m3)", 3360, 480},
};
// clang-format on

/** Boxes 2..7: the letter beside each and its top. */
struct FigureBox {
    const char* letter;
    int top;
};
constexpr FigureBox kBoxes[] = {{"B", 1500}, {"H", 1800}, {"L", 2100}, {"X", 2640}, {"Y", 2940}, {"V", 3480}};

}  // namespace

FrmEditInf::FrmEditInf(DocumentState& state, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmEditInf"));
    setWindowTitle(Utf8(kBlockParamsCaption));
    setModal(true);

    buildBoxes();
    buildOptions();
    buildGridsAndButtons();

    logic_ = std::make_unique<BlockParams>(state, static_cast<BlockParamsForm&>(*this));
    logic_->Form_Load();
    Text1_[0]->setFocus();
}

FrmEditInf::~FrmEditInf()
{
    // The boxes report losing focus as they go; the logic is gone by then.
    for (QLineEdit* box : Text1_)
        box->removeEventFilter(this);
    logic_.reset();
}

void FrmEditInf::buildBoxes()
{
    for (int i = 0; i < 8; ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Text1_%1").arg(i));
        box->installEventFilter(this);
        Text1_[i] = box;
    }
    // The boxes grow, and what stands right of them moves, when the dialog's font needs more
    // room than they were drawn with to show every figure whole.
    widen_ = std::max(0, LineEditWidthFor(*Text1_[2], WidestFigure()) - TwipsToPixels(kBoxWidth)) * kTwipsPerPixel;

    Label("Label_meisho", "名  称", this, 240, 480, 660);
    Label("Label_shubetsu", "種  別", this, 240, 900, 660);
    for (const FigureGroup& group : kGroups) {
        auto* frame = new QFrame(this);
        frame->setObjectName(Utf8(group.name));
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        Place(frame, 180, group.top, kFrameWidth + widen_, group.height);
        frame->lower();
        Label(group.captionName, group.caption, this, 300, group.top + 120, 660);
        Label("", group.unit, this, 960, group.top + 120, 450);
    }

    for (int i = 0; i < 8; ++i) {
        QLineEdit* box = Text1_[i];
        if (i < 2) {
            // A name or kind is a short label; the file holds no longer one (counted in bytes on 登  録).
            box->setMaxLength(static_cast<int>(kMaxNameBytes));
            Place(box, 960, i == 0 ? 480 : 900, 1695 + widen_, kBoxHeight);
            continue;
        }
        const FigureBox& figure = kBoxes[i - 2];
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Place(box, kBoxLeft, figure.top, kBoxWidth + widen_, kBoxHeight);
        Label("", figure.letter, this, 1440, figure.top, 240, Qt::AlignRight | Qt::AlignVCenter);
    }
}

void FrmEditInf::buildOptions()
{
    auto* frame = new QGroupBox(QStringLiteral("重心 X"), this);
    frame->setObjectName(QStringLiteral("Frame_sgxsw"));
    Place(frame, 180, 3960, kFrameWidth + widen_, 1080);
    options_ = new QButtonGroup(this);
    const char* captions[] = {"各層で一定", "層毎に設定"};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(Utf8(captions[i]), frame);
        option->setObjectName(QStringLiteral("Opt_sgxsw_%1").arg(i));
        option->setGeometry(TwipsToPixels(240), TwipsToPixels(i == 0 ? 330 : 690), TwipsToPixels(2200),
                            TwipsToPixels(300));
        options_->addButton(option, i);
        Opt_sgxsw_[i] = option;
    }
    connect(options_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !selectingOption_)
            logic_->Opt_sgxsw_Click(id);
    });
}

void FrmEditInf::buildGridsAndButtons()
{
    QelGV_ = new QelGrid(QStringLiteral("QelGV"), this);
    QelGV_->place(kGridLeft + widen_, kGridTop, 0, kGridHeight);
    QelGV1_ = new QelGrid(QStringLiteral("QelGV1"), this);
    QelGV1_->place(kGridLeft + widen_, kGridTop, 0, kGridHeight);

    Command1_ = Button(QStringLiteral("Command1"), QStringLiteral("累計体積\n再計算"), this);
    Place(Command1_, 1740, 5160, 975, 555);
    connect(Command1_, &QPushButton::clicked, this, [this] {
        QelGV_->commitPendingEdit();
        logic_->Command1_Click();
    });

    // Left of 累計体積再計算, in the room below the centroid option: the dialog keeps its size.
    CmdSection_ = Button(QStringLiteral("CmdSection"), QStringLiteral("断面から計算"), this);
    Place(CmdSection_, 180, 5160, 1500, 555);
    connect(CmdSection_, &QPushButton::clicked, this, [this] {
        QelGV_->commitPendingEdit();
        logic_->CmdSection_Click();
    });

    CmdPara_[0] = Button(QStringLiteral("CmdPara_0"), QStringLiteral("登  録"), this);
    CmdPara_[1] = Button(QStringLiteral("CmdPara_1"), QStringLiteral("ｷｬﾝｾﾙ"), this);
    for (int i = 0; i < 2; ++i) {
        connect(CmdPara_[i], &QPushButton::clicked, this, [this, i] {
            QelGV_->commitPendingEdit();
            logic_->CmdPara_Click(i);
        });
    }

    const char* notes[] = {"重心位置はブロック左下を基準とした値を入力して下さい。",
                           "層別体積はブロック下側から入力して下さい。"};
    for (int i = 0; i < 2; ++i) {
        QLabel* note = Label(i == 0 ? "Label_note_0" : "Label_note_1", notes[i], this, 300, i == 0 ? 6060 : 6360, 5640);
        note->setStyleSheet(QStringLiteral("color: #0000FF;"));
    }
}

bool FrmEditInf::eventFilter(QObject* watched, QEvent* event)
{
    for (int i = 0; i < 8; ++i) {
        QLineEdit* box = Text1_[i];
        if (watched != box)
            continue;
        if (event->type() == QEvent::FocusIn) {
            // A click places the cursor after focusing: select once the click is through.
            QTimer::singleShot(0, box, [box] { box->selectAll(); });
        } else if (event->type() == QEvent::FocusOut && logic_) {
            logic_->Text1_LostFocus(i);
        }
        break;
    }
    return QDialog::eventFilter(watched, event);
}

Grid& FrmEditInf::QelGV() { return *QelGV_; }

Grid& FrmEditInf::QelGV1() { return *QelGV1_; }

std::string FrmEditInf::Text1(int index) const { return ToUtf8(Text1_.at(static_cast<std::size_t>(index))->text()); }

void FrmEditInf::SetText1(int index, const std::string& text)
{
    Text1_.at(static_cast<std::size_t>(index))->setText(Utf8(text));
}

int FrmEditInf::SelectedOption() const { return Opt_sgxsw_[0]->isChecked() ? 0 : 1; }

void FrmEditInf::SelectOption(int index)
{
    selectingOption_ = true;
    Opt_sgxsw_.at(static_cast<std::size_t>(index))->setChecked(true);
    selectingOption_ = false;
}

void FrmEditInf::ApplyLayout(const ParamsLayout& layout)
{
    FixSizeOnScreen(*this, QSize(TwipsToPixels(layout.formWidth + widen_), TwipsToPixels(kClientHeight)));
    Place(CmdPara_[0], layout.buttonLeft + widen_, kRegisterTop, kButtonWidth, kButtonHeight);
    Place(CmdPara_[1], layout.buttonLeft + widen_, kCancelTop, kButtonWidth, kButtonHeight);
}

void FrmEditInf::ShowError(const std::string& text)
{
    ShowMessageBox(this, {text, kErrorTitle, MsgButtons::Ok, MsgIcon::None, true});
}

void FrmEditInf::SelectText1(int index)
{
    QLineEdit* box = Text1_.at(static_cast<std::size_t>(index));
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

bool FrmEditInf::ShowSectionPanel(const SectionPanelContent& content)
{
    SectionPanel panel(content, this);
    return panel.exec() == QDialog::Accepted;
}

void FrmEditInf::CloseForm(bool confirmed)
{
    if (confirmed)
        accept();
    else
        reject();
}

}  // namespace chokusho
