#include "hooptally/Tfkey.h"

#include "platform/Fonts.h"

namespace hooptally {

namespace {
TFKey* g_fkey = nullptr;
}

TFKey* FKey()
{
    return g_fkey;
}

TFKey::TFKey(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("FKey"));
    setWindowTitle(QStringLiteral("FKey"));
    setFont(platform::defaultFormFont());
    resize(640, 90);
    g_fkey = this;
}

TFKey::~TFKey()
{
    if (g_fkey == this)
        g_fkey = nullptr;
}

void TFKey::OnFunctionKeyRefresh(platform::Message&)
{
    // The panel's pages come with the function-key panel.
}

void TFKey::OnFunctionKeyMessage(platform::Message&)
{
    // The key menu tree comes with the function-key panel.
}

void TFKey::RefreshPages()
{
    // The panel's pages come with the function-key panel.
}

} // namespace hooptally
