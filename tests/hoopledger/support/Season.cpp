#include "support/Season.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QTest>
#include <QTimeEdit>

#include "hooptally/Tsavefile.h"
#include "support/Program.h"

namespace hoopledger::testing {

void writeRecordedGame(const QString& path, const GamePlan& plan)
{
    using namespace hooptally;
    hooptally::testing::Program program(QStringLiteral("[Option]\nPlayTime=9"));
    program.teamA().name = plan.teamA;
    program.teamB().name = plan.teamB;
    QList<TPlayer*> sides[2];
    for (int side = 1; side <= 2; ++side) {
        for (const GamePlan::Player& player : side == 1 ? plan.playersA : plan.playersB)
            sides[side - 1] << program.addPlayer(side, player.number, player.name, player.starter);
    }
    // A registration puts anyone on court while fewer than five are: the others go to the bench
    // before play begins.
    program.setClock(10, 0);
    for (int side = 1; side <= 2; ++side) {
        const QList<GamePlan::Player>& players = side == 1 ? plan.playersA : plan.playersB;
        for (int i = 0; i < players.size(); ++i) {
            if (!players[i].starter)
                program.act(sides[side - 1][i], hooptally::kToBench);
        }
    }
    for (const GamePlan::Play& play : plan.plays) {
        program.setClock(play.minutes, play.seconds);
        program.act(sides[play.side - 1].value(play.index), play.code, play.foulKind, play.freeThrows);
    }
    program.setClock(0, 0);
    program.command(kPeriodEnd);
    THooptallyForm& form = program.form();
    form.Taikaimei->setText(plan.tournament);
    form.Basho->setText(plan.place);
    form.DateTimePicker1->setDate(plan.date);
    form.DateTimePicker2->setTime(plan.time);
    TSaveFile writer(path);
    QVERIFY(writer.Save(hooptally::SaveKind::Game));
}

} // namespace hoopledger::testing
