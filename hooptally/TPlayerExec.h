#pragma once

#include <QDialog>

namespace hooptally {

class TPlayer;

// "Play登録": the actions of one player.
class TPlayerExec : public QDialog
{
    Q_OBJECT
public:
    explicit TPlayerExec(TPlayer* player, QWidget* parent = nullptr);
    TPlayer* Player() const { return m_player; }

private:
    TPlayer* m_player;
};

// "プレイヤー登録": enters or changes a player; its OK sends the registration (WM_APP+9).
class TPlayerTouroku : public QDialog
{
    Q_OBJECT
public:
    explicit TPlayerTouroku(TPlayer* player, QWidget* parent = nullptr);
    TPlayer* Player() const { return m_player; }

private:
    TPlayer* m_player;
};

} // namespace hooptally
