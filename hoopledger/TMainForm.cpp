#include "hoopledger/TMainForm.h"

namespace hoopledger {

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    resize(800, 600);
}

} // namespace hoopledger
