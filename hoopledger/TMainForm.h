#pragma once

#include <memory>
#include <vector>

#include <QMainWindow>
#include <QStringList>

class QAction;
class QDateEdit;
class QLabel;
class QMenu;
class QPushButton;
class QSplitter;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace platform {
class StringGrid;
}

namespace hoopledger {

class TGTeam;
class TGame;
class TGameList;
class TStatPlayer;
class TeamList;

// What a tree node stands for, and so what the grid shows for it.
enum ViewKind : int {
    kTeamView = 0,           // a season team: its results
    kPersonalTotalsView = 1, // the team's "個人ﾄｰﾀﾙ一覧" node
    kMemberView = 2,         // a member: its games
    kGameListView = 3,       // the root "全試合"
    kNoView = 4,
};

// The statistics program's main window: the season model, the tree of teams and members, and the
// grid that shows the view of the chosen node.
class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    // programPath: the executable beside which the scoring program lies (the running program's by
    // default).
    explicit TMainForm(QWidget* parent = nullptr, const QString& programPath = {});
    ~TMainForm() override;

    // Start-up.
    void FormActivate(); // the first call runs the first activation; later calls do nothing
    bool Activated() const { return !m_firstActivation; }

    // Commands.
    void FileOpen1Execute();
    void FileExit1Execute();
    void OptionO2Click();
    void HelpAbout1Execute();
    void Button1Click(); // re-applies the date range to the members and shows the view again
    void GridAllMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    // Saving pages, merging and deleting.
    void FileSave1Execute();
    void FileSaveAsItemClick();
    void T1Click();
    void P1Click();
    void ToolButton4Click();
    void M1Click();
    void D1Click();
    void M3Click();
    void GameDelMClick();
    void MemDelMClick();
    void GridAllDblClick();

    // Merging and deleting in the tree and the grid. Coordinates are the viewport's.
    void TreeView1DragOver(int x, int y, bool& accept);
    void TreeView1DragDrop(int x, int y);
    void TreeView1KeyUp(int key);
    // Remembers the cell under the point and opens PopupMenu2 where the grid's view has a command.
    void GridAllContextPopup(const QPoint& mousePos);
    int PopupRow() const { return m_popupRow; }
    // Removes the node and its children from the tree.
    void DeleteTreeNode(QTreeWidgetItem* node);

    // Loading and the tree.
    static int CheckScoreProgram(const QString& path); // 1 missing or too old, 0 usable
    QStringList ListGameFiles(const QString& folder);
    void LoadFolder();
    void ClearLists();
    void ClearGrid();
    void ShowGameList();
    void BuildTree();
    void ClearTree();
    void TreeView1DblClick();
    // Lists a team node's children again: the totals and the visible members.
    void RefreshMemberNodes(QTreeWidgetItem* node, bool select);

    // The views.
    void ShowTeamResults(TGTeam* team);
    void ShowPersonalTotals(TGTeam* team);
    void ShowPlayerGames(TStatPlayer* member, TGTeam* team);
    void AdjustColumnWidths();
    int GetViewKind(QTreeWidgetItem* node = nullptr) const; // the selected node's without one
    TStatPlayer* GetSelectedPlayer(TGTeam*& team) const;
    // The team or member a node stands for (none for the root).
    static void* nodeData(const QTreeWidgetItem* node);
    void GridAllDrawCell(int col, int row, const QRect& rect, unsigned state);

    // State.
    TeamList* Teams() const { return m_teamList.get(); }
    TGameList* Games() const { return m_gameList.get(); }
    QString ScoreProgramPath() const { return m_scoreProgramPath; }
    int ProbeResult() const { return m_probeResult; }
    int SortColumn() const { return m_sortColumn; }
    int SortDirection() const { return m_sortDirection; }
    // What filled the grid: the view kind (kNoView when empty), and its team and member. Row objects
    // are games for the team results, member's games and game list, members for the personal totals.
    int GridKind() const { return m_gridKind; }
    TGTeam* GridTeam() const { return m_gridTeam; }
    TStatPlayer* GridMember() const { return m_gridMember; }
    // The date range as day serials; both ends belong to it.
    double RangeFrom() const;
    double RangeTo() const;
    bool InRange(double date) const;
    // Whether a game takes part in the team and player views: enabled and dated within the range.
    bool Counts(const TGame* game) const;
    bool Label1IsRed() const { return m_label1Red; }

    // Components, named as the program names them.
    QToolBar* ToolBar1;
    QSplitter* Splitter3;
    QTreeWidget* TreeView1;
    QLabel* Label1;
    QDateEdit* DateTimePicker1;
    QLabel* Label2;
    QDateEdit* DateTimePicker2;
    QPushButton* Button1;
    platform::StringGrid* GridAll = nullptr; // built after the tree, whose events are filtered at once
    QLabel* Label3;
    QMenu* PopupMenu1;
    QMenu* PopupMenu2;
    QAction* FileOpen1;
    QAction* FileSave1;
    QAction* FileSaveAsItem;
    QAction* FileExit1;
    QAction* T1;
    QAction* P1;
    QAction* OptionO2;
    QAction* HelpAbout1;
    QAction* M1;
    QAction* D1;
    QAction* M3;
    QAction* GameDelM;
    QAction* MemDelM;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void buildMenus();
    void buildToolBar();
    void buildTree(QWidget* parent);
    void buildRightPane(QWidget* parent);
    void loadGames(const QStringList& paths);
    void reportDamagedFiles(const QStringList& paths);
    void setLabel1(const QString& text);
    void setLabel1Red(bool red);
    void setPickerDate(QDateEdit* picker, double serial);
    // Merging and deleting.
    void openMergeDialog(int mode);
    void renameTeam(QTreeWidgetItem* node);
    void editMember(QTreeWidgetItem* node);
    bool teamNameTaken(const TGTeam* team, const QString& name) const;
    QTreeWidgetItem* teamNode(const TGTeam* team) const;
    void* popupRowObject() const;
    QTreeWidgetItem* selectedNode() const;

    // One grid line: its cells and the row object of column 0.
    struct GridLine
    {
        QStringList cells;
        void* object = nullptr;
    };
    // Fills the grid in one go: the header row, the lines, then a last row (the totals line, or an
    // empty row), and records what filled it.
    void fillGrid(int kind, TGTeam* team, TStatPlayer* member, const QStringList& headers,
                  const std::vector<GridLine>& lines, const QStringList& lastRow);

    QString m_scoreProgramPath;
    int m_probeResult = 0;
    bool m_firstActivation = true;
    bool m_loading = false;
    bool m_label1Red = false;
    bool m_oldFileSeen = false;
    int m_popupRow = -1;
    int m_sortColumn = -1;
    int m_sortDirection = 1; // 1 descending, 0 ascending
    std::unique_ptr<TGameList> m_gameList;
    std::unique_ptr<TeamList> m_teamList;
    int m_gridKind = kNoView;
    TGTeam* m_gridTeam = nullptr;
    TStatPlayer* m_gridMember = nullptr;
    // The time parts of the pickers: whole days from the start to the end.
    double m_fromTime = 0.0;
    double m_toTime = 0.0;
};

} // namespace hoopledger
