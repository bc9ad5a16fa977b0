#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTimer;

namespace hooptally {

// "開始時間修正": sets the game clock by hand.
class TTimeModifyDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TTimeModifyDlg(QWidget* parent = nullptr);

    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QTimer* Timer1;

    void FormActivate();
    void Timer1Timer();
    void Edit1Enter();
    void OKBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showClock();
};

} // namespace hooptally
