#pragma once

#include <cstdint>
#include <vector>

#include <QDialog>

class QKeyEvent;
class QLabel;
class QListWidget;
class QPushButton;

namespace platform {
class RadioGroup;
}

namespace hooptally {

class TPlayer;

// "Play登録": one button per recorded action of one player, a foul panel, a member change, court and
// bench moves, removal from the official list and the player's running totals. Every choice is sent
// to the main window (WM_APP+8) and closes the dialog.
class TPlayerExec : public QDialog
{
    Q_OBJECT
public:
    explicit TPlayerExec(TPlayer* player, QWidget* parent = nullptr);
    TPlayer* Player() const { return m_player; }

    void FormActivate();
    void BitBtnFoulClick();
    void BitBtnChangeClick();
    void BitBtnModifyClick();
    void BitBtnOKClick();
    // The totals, as Total3, Total and Total2 show them.
    static QStringList TotalsTexts(const TPlayer& player);

    QLabel* Label2; // number
    QLabel* Label4; // name
    QLabel* Total3;
    QLabel* Total;
    QLabel* Total2;
    QPushButton* BitBtn2POK;
    QPushButton* BitBtn3POK;
    QPushButton* BitBtnFTOK;
    QPushButton* BitBtn2PNG;
    QPushButton* BitBtn3PNG;
    QPushButton* BitBtnFTNG;
    QPushButton* BitBtnAsist;
    QPushButton* BitBtnOffRebound;
    QPushButton* BitBtnDefRebound;
    QPushButton* BitBtnTurnOver;
    QPushButton* BitBtnSteal;
    QPushButton* BitBtnBlockShot;
    QPushButton* BitBtnFoul;
    QPushButton* BitBtnChange;
    QPushButton* BitBtnModify;
    QPushButton* BitBtnToBenchi;
    QPushButton* BitBtnToCoat;
    QPushButton* BitBtnToMitouroku;
    QListWidget* ListBox1;
    QPushButton* BitBtnOK;
    platform::RadioGroup* RadioGroup1;
    platform::RadioGroup* RadioGroup2;
    QPushButton* CancelBtn;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override; // FormKeyDown

private:
    enum class Panel { Actions, MemberChange, Foul };

    void buildControls();
    void enableByStatus();
    void sendAndClose(std::uint8_t code);
    void hideActionButtons();
    void sendFoul();
    void changeMembers();
    bool pressMnemonic(const QString& text);

    TPlayer* m_player;
    bool m_activated = false;
    Panel m_panel = Panel::Actions;
    // The thirteen statistic buttons, by action code.
    std::vector<QPushButton*> m_statButtons;
    std::vector<QPushButton*> m_actionButtons;
};

} // namespace hooptally
