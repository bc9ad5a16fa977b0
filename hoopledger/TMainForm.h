#pragma once

#include <QMainWindow>

namespace hoopledger {

// The statistics program's main window; its views come with the season model.
class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
};

} // namespace hoopledger
