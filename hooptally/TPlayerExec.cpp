#include "hooptally/TPlayerExec.h"

#include "platform/Fonts.h"

namespace hooptally {

// The controls of both dialogs come with the player dialogs.
TPlayerExec::TPlayerExec(TPlayer* player, QWidget* parent) : QDialog(parent), m_player(player)
{
    setObjectName(QStringLiteral("PlayerExec"));
    setWindowTitle(QStringLiteral("Play登録"));
    setFont(platform::defaultFormFont());
}

TPlayerTouroku::TPlayerTouroku(TPlayer* player, QWidget* parent) : QDialog(parent), m_player(player)
{
    setObjectName(QStringLiteral("PlayerTouroku"));
    setWindowTitle(QStringLiteral("プレイヤー登録"));
    setFont(platform::defaultFormFont());
}

} // namespace hooptally
