#pragma once

#include <memory>

#include <QDialog>

#include "hooptally/Tsplaying.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace platform {
class RadioGroup;
}

namespace hooptally {

class TTeam;

// The log-edit dialog: one entry (modify, delete, insert, append) or a range of entries (move to a
// period, re-space the clock readings, delete).
class TPlayinModify : public QDialog
{
    Q_OBJECT
public:
    // Single-entry form; entry may be null (insert or append past the last row): the working entry is
    // then blank.
    TPlayinModify(int mode, const PlayLogEntry* entry, QWidget* parent = nullptr);
    // Range form over entries first..last of the log.
    TPlayinModify(int mode, int first, int last, const PlayLogEntries* entries, QWidget* parent = nullptr);
    ~TPlayinModify() override;

    // A new entry owned by the caller, or none. Index -1: the single form's entry; an index of the
    // log: that entry's replacement in the range form, at `seconds` when re-spacing.
    std::unique_ptr<PlayLogEntry> BuildLogEntry(int index, int seconds) const;
    int Mode() const { return m_mode; }

    QComboBox* QuatorCombo;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLabel* Label4;
    QLabel* Colon1; // between Edit1 and Edit2
    QLabel* Colon2; // between Edit3 and Edit4
    platform::RadioGroup* RadioGroup1;
    QLabel* Label2;
    QListWidget* ListBox1;
    QComboBox* ComboBox1;
    platform::RadioGroup* RadioGroup2;
    platform::RadioGroup* RadioGroup3;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    void FormActivate();
    void ComboBox1Click();
    void ListBox1Click();
    void RadioGroup1Click();
    void done(int result) override; // FormCloseQuery: asks before a delete

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void activateSingle();
    void activateRange();
    void showEntry();
    void fillPlayers(TTeam* team, const TPlayer* select);
    void showRespaceFields(bool shown);
    bool refusesEntries() const;
    TTeam* chosenTeam() const;
    TPlayer* chosenPlayer() const;
    QString modeCaption() const;

    int m_mode;
    bool m_range;
    std::unique_ptr<PlayLogEntry> m_entry; // single form: the working entry
    bool m_hasEntry = false;               // it copies an entry of the log
    const PlayLogEntries* m_entries = nullptr;
    int m_first = 0;
    int m_last = 0;
    TTeam* m_teamA = nullptr;
    TTeam* m_teamB = nullptr;
    bool m_activated = false;
};

} // namespace hooptally
