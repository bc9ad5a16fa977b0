#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace hoopledger {

// The caption of the program's message boxes and input boxes.
inline const QString kCaption = QStringLiteral("Quillmarsh");

// Items of the statistics-column list: 0 to 12 follow the scoring program's action codes, 13 is the
// playing time.
constexpr int kKojinItemCount = 14;
constexpr int kTimeItem = 13;

// The settings dialog. Created once at start-up; its controls are the settings in force, which the
// rest of the program reads through the accessors below.
class TOption : public QDialog
{
    Q_OBJECT
public:
    // programPath: the executable whose path with ".ini" is the settings file and beside which the
    // scoring program's settings file lies (the running program's by default).
    explicit TOption(QWidget* parent = nullptr, const QString& programPath = {});
    ~TOption() override;

    QString IniPath() const { return m_iniPath; }
    QString GameFileFolder() const;
    QString SaveFolder() const;
    bool ReadAtStart() const;
    bool KojinItem(int index) const;
    void SetKojinItem(int index, bool on);
    // Tells the user that the settings file read at start could not be read: the defaults are in force.
    // Called once, at the main window's first activation.
    void tellIfUnreadable() const;

    // Handlers.
    void FormCreate();
    void OKBtnClick();
    void SpeedButton1Click();
    void SpeedButton2Click();

    QLineEdit* FilePath;
    QPushButton* SpeedButton1;
    QLineEdit* SaveFilePath;
    QPushButton* SpeedButton2;
    QCheckBox* ChkGameFileRead;
    QListWidget* KojinList;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

private:
    void buildControls();
    void chooseFolder(QLineEdit* edit);

    QString m_iniPath;
    QString m_scoringIniPath;
    // The settings file that could not be read at start; empty when it was read or missing.
    QString m_unreadableIni;
};

// The settings form of the running program; null before start-up.
TOption* Option();

} // namespace hoopledger
