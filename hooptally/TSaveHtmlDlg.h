#pragma once

#include <QDialog>

#include "hooptally/Tsavefile.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class RadioGroup;
}

namespace hooptally {

// "Htmlで保存": the file name and the contents of the HTML game report. The column choices, the
// player rows and the period columns are kept in the settings file when the dialog closes with OK.
class TSaveHtmlDlg : public QDialog
{
    Q_OBJECT
public:
    // lastReportFile: the report file last picked with "参照" during this run; offered first and
    // updated by a new pick.
    TSaveHtmlDlg(QWidget* parent, QString& lastReportFile);

    // The report's contents as the controls stand.
    HtmlReportOptions ReportOptions() const;

    void FormCreate();
    void BitBtn2Click();
    void CheckBox1Click();
    void OKBtnClick();

    QLabel* LabeledEdit1Label;
    QLineEdit* LabeledEdit1;
    QPushButton* BitBtn2;
    QLabel* Label1;
    QListWidget* TeamListBox1;
    QLabel* Label3;
    QListWidget* KojinList;
    platform::RadioGroup* KojinDispRGp;
    QCheckBox* TimeGraph;
    QCheckBox* CheckBox2;
    QCheckBox* PeriodDispChk;
    QCheckBox* CheckBox1;
    QPlainTextEdit* RichEdit1;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

private:
    void buildControls();
    QString outputFolder() const;

    QString& m_lastReportFile;
};

} // namespace hooptally
