#include "support/ReportGame.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimeEdit>

#include "hooptally/Texecute.h"
#include "hooptally/Tteam.h"
#include "support/ActionPathHelpers.h"
#include "support/Program.h"

namespace hooptally::testing {

void loadRosters(Program& program, const QStringList& teamA, const QStringList& teamB)
{
    const QString pathA = program.path(QStringLiteral("rosterA.member"));
    const QString pathB = program.path(QStringLiteral("rosterB.member"));
    writeMemberFile(pathA, teamA);
    writeMemberFile(pathB, teamB);
    program.dialogs().expectOpenFile(pathA).expectOpenFile(pathB);
    program.form().BitBtn1Click();
    program.form().BitBtn3Click();
}

TPlayer* playerNamed(const TTeam& team, const QString& name)
{
    for (int i = 0; i < team.Count(); ++i) {
        if (team.PlayerAt(i)->name == name && team.PlayerAt(i)->status != kBlankRow)
            return team.PlayerAt(i);
    }
    return nullptr;
}

void playReportGame(Program& program)
{
    loadRosters(program,
                {"東京,1,10,佐藤,F,Starter,,", "東京,2,4,鈴木,G,Starter,,", "東京,3,8,高橋,C,,,",
                 "東京,4,12,山本,G,,,", "東京,5,,監督,ﾍｯﾄﾞｺｰﾁ,,Coach,"},
                {"大阪,1,5,田中,F,Starter,,", "大阪,2,6,中村,G,,,"});
    THooptallyForm& form = program.form();
    form.Taikaimei->setText(QStringLiteral("春季大会"));
    form.Basho->setText(QStringLiteral("市民体育館"));
    form.DateTimePicker1->setDate(QDate(2024, 6, 1));
    form.DateTimePicker2->setTime(QTime(18, 30, 5));

    TPlayer* sato = playerNamed(program.teamA(), QStringLiteral("佐藤"));
    TPlayer* suzuki = playerNamed(program.teamA(), QStringLiteral("鈴木"));
    TPlayer* takahashi = playerNamed(program.teamA(), QStringLiteral("高橋"));
    TPlayer* tanaka = playerNamed(program.teamB(), QStringLiteral("田中"));

    program.setClock(5, 0);
    program.act(sato, kTwoPointMade);
    program.act(tanaka, kThreePointMade);
    program.setClock(4, 30);
    program.act(suzuki, kTwoPointMissed);
    program.act(tanaka, kDefensiveRebound);
    program.setClock(4, 0);
    program.act(suzuki, kToBench);
    program.act(takahashi, kCourtIn);
    program.setClock(3, 0);
    program.act(takahashi, kFreeThrowMade);
    program.act(takahashi, kFreeThrowMissed);
    program.act(sato, kFoul, kPersonalFoul, 2);
    program.setClock(2, 0);
    program.command(kTimeout, kSideA);
    program.setClock(0, 0);
    program.command(kPeriodEnd);

    program.setClock(5, 30);
    program.act(sato, kThreePointMade);
    program.act(takahashi, kAssist);
    program.setClock(5, 0);
    program.act(tanaka, kThreePointMissed);
    program.act(takahashi, kDefensiveRebound);
    program.setClock(4, 0);
    program.act(sato, kSteal);
    program.act(tanaka, kTurnover);
    program.setClock(3, 0);
    program.act(sato, kTwoPointMissed);
    program.act(sato, kOffensiveRebound);
    program.act(tanaka, kBlockedShot);
    program.setClock(0, 0);
    program.command(kPeriodEnd);
}

} // namespace hooptally::testing
