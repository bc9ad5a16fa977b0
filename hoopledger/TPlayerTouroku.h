#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace hoopledger {

class TStatPlayer;

// The player dialog: edits a member's number, name, position and starter flag.
class TPlayerTouroku : public QDialog
{
    Q_OBJECT
public:
    TPlayerTouroku(TStatPlayer* player, QWidget* parent = nullptr);

    void FormActivate();
    // Closes with OK only when the input passes the checks; otherwise the dialog stays open.
    void OKBtnClick();

    QLineEdit* LabeledEdit1;
    QLineEdit* LabeledEdit2;
    QLineEdit* LabeledEdit3;
    QCheckBox* CheckBox1;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TStatPlayer* m_player;
};

} // namespace hoopledger
