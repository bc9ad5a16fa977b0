#pragma once

#include <cstdint>

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace hooptally {

class TPlayer;

// "プレイヤー登録": enters or changes a player's number, name, position, starter flag and coach role,
// or deletes the player. It changes no record itself: OK sends the registration (WM_APP+9), delete
// the delete-player action (WM_APP+8).
class TPlayerTouroku : public QDialog
{
    Q_OBJECT
public:
    // The modal result after the player was deleted.
    static constexpr int kDeleted = 10;

    explicit TPlayerTouroku(TPlayer* player, QWidget* parent = nullptr);
    // Null once the player was deleted.
    TPlayer* Player() const { return m_player; }

    void FormActivate();
    void CoachChkClick();
    void OKBtnClick();
    void DeleteBClick();
    void done(int result) override; // a cancel puts the status back

    QLabel* LabeledEdit1Label;
    QLineEdit* LabeledEdit1;
    QLabel* LabeledEdit2Label;
    QLineEdit* LabeledEdit2;
    QLabel* LabeledEdit3Label;
    QLineEdit* LabeledEdit3;
    QLabel* Label1;
    QLabel* Label2;
    QCheckBox* CheckBox1;
    QCheckBox* CoachChk;
    QComboBox* CoachCombo;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* DeleteB;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void layoutByStatus();
    void loadEdits();
    void selectCoachKind();

    TPlayer* m_player;
    std::uint8_t m_openingStatus;
    bool m_activated = false;
};

} // namespace hooptally
