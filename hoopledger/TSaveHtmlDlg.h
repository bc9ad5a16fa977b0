#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace hoopledger {

// The modal result of "全て上書き".
constexpr int mrAll = 10;

// "Html作成": during a save-all, asks what to do with a file that is there already, or lists the
// pages written.
class TSaveHtmlDlg : public QDialog
{
    Q_OBJECT
public:
    enum Mode : int {
        kAskMode = 0,  // text: the path of the existing file
        kListMode = 1, // text: the list of the written files
    };

    TSaveHtmlDlg(QWidget* parent, int mode, const QString& text);

    // The file to write: the one asked about, or the one chosen with "File名変更".
    const QString& FileName() const { return m_fileName; }

    void FormActivate();
    void FileBtnClick();

    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* Edit1;
    QPlainTextEdit* Memo1;
    QPushButton* YesBtn;
    QPushButton* NoBtn;
    QPushButton* AllBtn;
    QPushButton* CancelBtn;
    QPushButton* FileBtn;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();

    int m_mode;
    QString m_fileName;
    QString m_list;
};

} // namespace hoopledger
