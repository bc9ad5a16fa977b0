#pragma once

#include <QDialog>

#include "gamefile/GameFileFormat.h"

class QLabel;
class QPushButton;

namespace hooptally {

// The About box of the help menu.
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* owner = nullptr);

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QPushButton* OKButton;
};

// The game-file format version, also shown as the program's version.
inline const QString kFormatVersion = gamefile::kVersion;

} // namespace hooptally
