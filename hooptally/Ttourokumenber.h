#pragma once

#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

namespace hooptally {

class TPlayer;
class TTeam;

// "登録ﾒﾝﾊﾞｰ設定": ticks the players of one team who are on court, all at once, and optionally marks
// them as starters. It changes nothing itself: after OK its caller reads the ticks.
class TTourokuMember : public QDialog
{
    Q_OBJECT
public:
    explicit TTourokuMember(TTeam* team, QWidget* parent = nullptr);

    void FormActivate();
    void CheckListBox1ClickCheck(); // the count text follows every tick

    // What the caller reads after OK, line by line.
    int ItemCount() const;
    TPlayer* ItemPlayer(int index) const;
    bool ItemChecked(int index) const;
    // The count text for n ticked players.
    static QString CountText(int ticked);

    QFrame* Panel1;
    QLabel* Label1;
    QListWidget* CheckListBox1;
    QLabel* Label2;
    QCheckBox* StarterChkBx;
    QPushButton* OK;
    QPushButton* Cancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TTeam* m_team;
    bool m_activated = false;
};

} // namespace hooptally
