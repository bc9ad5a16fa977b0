#pragma once

#include <QString>
#include <QStringList>

namespace hooptally {
class TPlayer;
class TTeam;
} // namespace hooptally

namespace hooptally::testing {

class Program;

// Reads both rosters through the roster commands, as the user does: member-file entry lines
// "team,id,number,name,position,Starter,Coach,Official". The starters come onto the court.
void loadRosters(Program& program, const QStringList& teamA, const QStringList& teamB);

// The player of the team with that name (never the blank row).
TPlayer* playerNamed(const TTeam& team, const QString& name);

// A short game over two periods, the same in every test that reads it:
//   東京: 10 佐藤 (starter), 4 鈴木 (starter), 8 高橋 (comes on at 4:00), 12 山本 (never plays), head coach
//   監督 大阪: 5 田中 (starter), 6 中村 (never plays)
// 1st: 5:00 佐藤 2P made, 田中 3P made; 4:30 鈴木 2P missed, 田中 defensive rebound; 4:00 鈴木 to the bench,
//      高橋 on; 3:00 高橋 free throw made and missed, 佐藤 personal foul (2 throws); 2:00 timeout 東京;
//      period end.
// 2nd: 5:30 佐藤 3P made, 高橋 assist; 5:00 田中 3P missed, 高橋 defensive rebound; 4:00 佐藤 steal,
//      田中 turnover; 3:00 佐藤 2P missed, 佐藤 offensive rebound, 田中 blocked shot; period end.
// Tournament "春季大会", venue "市民体育館", 2024-06-01 18:30:05. Final score 6 - 3.
void playReportGame(Program& program);

} // namespace hooptally::testing
