#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace hooptally {

// A hidden text log for tracing; only lines of level kDebugLevel are kept.
class TDbgForm : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kDebugLevel = 99999;

    explicit TDbgForm(QWidget* parent = nullptr);
    ~TDbgForm() override;
    void Append(const QString& text, int level);

    QPlainTextEdit* Memo1;
};

// The debug window of the running program; null before start-up.
TDbgForm* DbgForm();

// A save that failed, and why, for whoever diagnoses it: into the debug window and to the program's
// warning output. The user is told by the caller, in the program's own words.
void LogSaveFailure(const QString& fileName, const QString& reason);

} // namespace hooptally
