#include "frmAbout.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "Icons.h"
#include "ProgramFiles.h"
#include "ScreenFit.h"

namespace chokusho {

namespace {
constexpr int kIconSide = 32;
}

frmAbout::frmAbout(const std::filesystem::path& programFolder, QWidget* parent)
    : QDialog(parent),
      picIcon_(new QLabel(this)),
      lblTitle0_(new QLabel(QStringLiteral("直立消波ブロックデータ作成"), this)),
      lblTitle1_(new QLabel(QStringLiteral("Ver. ") + QString::fromStdString(ReadVersionFile(programFolder)), this)),
      lblLicense_(new QLabel(QStringLiteral("MIT ライセンスで公開しています。"), this)),
      cmdOK_(new QPushButton(QStringLiteral("OK"), this))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setWindowIcon(ProgramIcon());
    setModal(true);

    picIcon_->setObjectName(QStringLiteral("picIcon"));
    picIcon_->setPixmap(ProgramIcon().pixmap(QSize(kIconSide, kIconSide), devicePixelRatioF()));
    picIcon_->setFixedSize(kIconSide, kIconSide);
    lblTitle0_->setObjectName(QStringLiteral("lblTitle_0"));
    lblTitle1_->setObjectName(QStringLiteral("lblTitle_1"));
    lblLicense_->setObjectName(QStringLiteral("lblLicense"));
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    cmdOK_->setAutoDefault(true);
    cmdOK_->setMinimumWidth(80);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);

    auto* titles = new QVBoxLayout;
    titles->addWidget(lblTitle0_);
    titles->addWidget(lblTitle1_);
    titles->addWidget(lblLicense_);
    titles->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(picIcon_, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(titles, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    FixSizeOnScreen(*this, sizeHint());
}

}  // namespace chokusho
