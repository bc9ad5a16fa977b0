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

} // namespace hooptally
