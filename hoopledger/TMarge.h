#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTreeWidgetItem;

namespace platform {
class RadioGroup;
}

namespace hoopledger {

class TMainForm;
class TStatPlayer;

// The merge dialog "合体・削除": merges many season teams, or many members of one team, into one, and
// deletes members. It works on the nodes of the main window's tree and keeps the tree in step.
//
// Both lists always hold the same entries in the same order, so row i of each stands for one node.
class TMarge : public QDialog
{
    Q_OBJECT
public:
    enum Mode { kTeams = 1, kMembers = 2 };
    enum Method { kManual = 0, kByName = 1, kByNameWithoutSpaces = 2, kByNumber = 3 };

    TMarge(TMainForm* owner, int mode);
    ~TMarge() override;

    int GetMode() const { return m_mode; }
    int LastTargetRow() const { return m_lastTargetRow; }

    void FormActivate();
    void FillTeamLists();
    void FillMemberLists(QTreeWidgetItem* node);
    void ComboBox1Change();
    void CheckListBox1ClickCheck();
    void CheckListBox2ClickCheck(int row);
    void RadioGroup1Click();
    void BitBtn1Click();
    void Button1Click();
    void ManualMerge();
    void AutoMerge();
    int FindNextMatch(int method, int baseRow, int startRow) const;
    static QString StripSpaces(const QString& text);

    // The tree node of a row (the same in both lists); null outside the rows.
    QTreeWidgetItem* RowNode(int row) const;
    bool Checked(const QListWidget* list, int row) const;
    void SetChecked(QListWidget* list, int row, bool checked);

    QComboBox* ComboBox1;
    QWidget* Panel2;
    platform::RadioGroup* RadioGroup1;
    QLabel* Label4;
    QWidget* Panel1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label1;
    QListWidget* CheckListBox1;
    QListWidget* CheckListBox2;
    QPushButton* BitBtn1;
    QPushButton* Button1;
    QPushButton* CancelBtn;

public slots:
    void reject() override; // Escape closes as "Close" does

protected:
    void showEvent(QShowEvent* event) override;

private:
    void clearLists();
    // Fills both lists with the nodes, sorted by their texts.
    void setRows(const QList<QTreeWidgetItem*>& nodes);
    QString key(int method, int row) const;
    TStatPlayer* rowMember(int row) const;
    QTreeWidgetItem* chosenTeamNode() const;
    void listChanged(QListWidget* list, QListWidgetItem* item);

    TMainForm* m_owner;
    int m_mode;
    int m_method = kManual;
    int m_lastTargetRow = -1;
    bool m_laidOut = false;
    // Set while the dialog changes checks itself, so that only the user's clicks run the check rules.
    bool m_changing = false;
};

// The merge dialog while it is shown; null otherwise.
TMarge* Marge();

} // namespace hoopledger
