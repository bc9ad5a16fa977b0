#pragma once

#include <array>
#include <memory>
#include <optional>

#include <QDialog>

#include "platform/Colors.h"
#include "platform/IniFile.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace hooptally {

constexpr platform::TColor kDefaultTeamAColor = 0xFFBF7F;
constexpr platform::TColor kDefaultTeamBColor = 0x4A73F7;
// The period lengths on offer run from 1 minute to the longest.
constexpr int kDefaultPeriodMinutes = 6;
constexpr int kMaxPeriodMinutes = 20;

struct WindowPlacement
{
    int top = -1;
    int left = -1;
    int height = -1;
    int width = -1;
};

// Sets a window's geometry from a stored placement, its corner kept on the desktop: a damaged settings
// file must neither size the window far beyond the desktop (its backing store is allocated at that
// size) nor place it where its edges overflow.
void ApplyWindowPlacement(QWidget& window, const WindowPlacement& placement);

// The settings dialog. Created once at start-up and kept hidden: its controls are the program's
// current settings, which the rest of the program reads through the accessors below, and it owns
// the open settings file that other units use for their own keys.
class TOption : public QDialog
{
    Q_OBJECT
public:
    // programPath: the executable whose folder is the folder default and whose path with ".ini" is
    // the settings file (the running program's by default).
    explicit TOption(QWidget* parent = nullptr, const QString& programPath = {});
    ~TOption() override;

    void LoadSettings();
    bool SaveSettings();
    bool SaveWindowPlacement(const QString& section, int top, int left, int height, int width);
    std::optional<WindowPlacement> LoadWindowPlacement(const QString& section) const;

    // The open settings file, for the keys of other units.
    platform::IniFile& IniFile() { return *m_ini; }
    // Tells the user once per run that the settings file could not be written (they stay in force),
    // and the debug log every time why.
    void NoteWriteResult(bool ok);
    // Tells the user that the settings file could not be read: the defaults are in force and no write
    // will replace it. Called once, when the main window is up.
    void tellIfUnreadable() const;

    QString TeamFileFolder() const;
    QString GameDataFolder() const;
    // The folder of the program's executable, where its settings file lives.
    QString ProgramFolder() const { return m_programFolder; }
    int PeriodLength() const; // minutes
    void SetPeriodLength(int minutes); // 1 to kMaxPeriodMinutes
    bool StatSwitch(int index) const;
    void SetStatSwitch(int index, bool on);
    int StatSwitchCount() const;
    bool MiniBasket() const;
    QString StartupRosterA() const;
    QString StartupRosterB() const;
    // In force from the choice on, even when the dialog is cancelled: side 1 is team A, any other B.
    platform::TColor TeamColor(int side) const;
    void SetTeamColor(int side, platform::TColor color);

    // Handlers.
    void BitBtn1Click();
    void BitBtn4Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn5Click();
    void BitBtn6Click();
    void OKBtnClick();

    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QCheckBox* bMiniBasket;
    QGroupBox* GroupBox1;
    QLineEdit* LabeledEdit1;
    QLineEdit* LabeledEdit2;
    QLineEdit* LabeledEdit3;
    QLineEdit* LabeledEdit4;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;
    QPushButton* BitBtn4;
    QPushButton* BitBtn5;
    QPushButton* BitBtn6;
    QListWidget* KojinList;
    QComboBox* ComboPeriodTime;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

private:
    void FormCreate();
    void buildControls();
    void chooseFolder(QLineEdit* edit);
    void chooseRosterFile(QLineEdit* edit);
    void chooseTeamColor(int side);
    void showColors();

    QString m_programFolder;
    std::unique_ptr<platform::IniFile> m_ini;
    bool m_writeFailureShown = false;
    std::array<platform::TColor, 2> m_teamColors = {kDefaultTeamAColor, kDefaultTeamBColor};
};

// The settings form of the running program (the one created last); null before start-up.
TOption* Option();

// The team colours of the settings form; the defaults while there is none.
platform::TColor GetTeamColor(int side);
void SetTeamColor(int side, platform::TColor color);

} // namespace hooptally
