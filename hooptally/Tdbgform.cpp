#include "hooptally/Tdbgform.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "platform/Fonts.h"
#include "platform/Named.h"
#include "platform/SaveFailure.h"

namespace hooptally {

using platform::named;

namespace {
TDbgForm* g_dbgForm = nullptr;
}

TDbgForm* DbgForm()
{
    return g_dbgForm;
}

TDbgForm::TDbgForm(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("DbgForm"));
    setWindowTitle(QStringLiteral("DbgForm"));
    setFont(platform::defaultFormFont());
    setGeometry(1, 464, 395, 309);
    Memo1 = named(new QPlainTextEdit(QStringLiteral("Memo1"), this), "Memo1");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo1);
    g_dbgForm = this;
}

TDbgForm::~TDbgForm()
{
    if (g_dbgForm == this)
        g_dbgForm = nullptr;
}

void LogSaveFailure(const QString& fileName, const QString& reason)
{
    const QString text = platform::logSaveFailure(fileName, reason);
    if (g_dbgForm)
        g_dbgForm->Append(text, TDbgForm::kDebugLevel);
}

void TDbgForm::Append(const QString& text, int level)
{
    if (level == kDebugLevel)
        Memo1->appendPlainText(text);
}

} // namespace hooptally
