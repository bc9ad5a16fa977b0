#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace hoopledger {

// The About box of the help menu.
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* owner = nullptr);
    ~TAboutBox() override;

    void Button1Click();

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QPushButton* Button1;
    QPushButton* OKButton;
};

// The maker's web page that the About box opens.
inline const QString kHomePage = QStringLiteral("https://hoopledger.example.org/");

// The About box of the running program; null before start-up.
TAboutBox* AboutBox();

} // namespace hoopledger
