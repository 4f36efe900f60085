#pragma once

#include <QDialog>
#include <filesystem>

class QLabel;
class QPushButton;

namespace chokusho {

/**
 * The version box: the program's icon, its title and the version from SYSVER.DAT, and under
 * them the licence the program is published under.
 */
class frmAbout : public QDialog {
    Q_OBJECT

public:
    /** `programFolder` is where SYSVER.DAT is read from. */
    explicit frmAbout(const std::filesystem::path& programFolder, QWidget* parent = nullptr);

private:
    QLabel* picIcon_;
    QLabel* lblTitle0_;
    QLabel* lblTitle1_;
    QLabel* lblLicense_;
    QPushButton* cmdOK_;
};

}  // namespace chokusho
