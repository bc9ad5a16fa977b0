#include "support/Season.h"

#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimeEdit>

#include "hooptally/Texecute.h"
#include "hooptally/Tsavefile.h"
#include "support/Program.h"

using namespace Qt::StringLiterals;

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

// Five games between four teams, 10-minute periods, each recorded through the scoring program's
// action path and closed by a period end at 0:00. Sato plays as 4 and as 14 for Tokyo; Yamada 8 plays
// for Osaka and for Kobe; Takahashi sits on Tokyo's bench through the first game.
QList<GamePlan> sampleSeason()
{
    using P = GamePlan::Play;
    using namespace hooptally;
    QList<GamePlan> games;
    games << GamePlan{u"春季リーグ"_s,
                      u"市民体育館"_s,
                      QDate(2024, 5, 1),
                      QTime(14, 0),
                      kTokyo,
                      kOsaka,
                      {{u"4"_s, u"佐藤"_s}, {u"7"_s, u"鈴木"_s}, {u"10"_s, u"高橋"_s, false}},
                      {{u"8"_s, u"山田"_s}, {u"5"_s, u"伊藤"_s}, {u"12"_s, u"中村"_s, false}},
                      {P{9, 30, 1, 0, kTwoPointMade}, P{9, 0, 2, 0, kTwoPointMade},
                       P{8, 30, 1, 0, kThreePointMade}, P{8, 0, 1, 1, kTwoPointMissed},
                       P{8, 0, 2, 1, kDefensiveRebound}, P{7, 0, 2, 0, kFoul, kPersonalFoul, 2},
                       P{7, 0, 1, 0, kFreeThrowMade}, P{7, 0, 1, 0, kFreeThrowMissed}, P{6, 0, 1, 1, kAssist},
                       P{5, 0, 2, 2, kCourtIn}, P{5, 0, 2, 1, kToBench}, P{4, 0, 2, 2, kThreePointMade},
                       P{3, 0, 1, 1, kSteal}, P{3, 0, 2, 0, kTurnover}, P{2, 0, 1, 1, kOffensiveRebound},
                       P{1, 0, 2, 0, kBlockedShot}}};
    games << GamePlan{u"春季リーグ"_s,
                      u"北体育館"_s,
                      QDate(2024, 5, 3),
                      QTime(10, 0),
                      kNagoya,
                      kKobe,
                      {{u"6"_s, u"小林"_s}, {u"9"_s, u"加藤"_s}},
                      {{u"8"_s, u"山田"_s}, {u"11"_s, u"吉田"_s}},
                      {P{9, 0, 1, 0, kTwoPointMade}, P{8, 0, 2, 0, kTwoPointMade},
                       P{7, 0, 1, 1, kThreePointMissed}, P{6, 0, 2, 1, kTwoPointMade},
                       P{5, 0, 1, 0, kFreeThrowMade}}};
    games << GamePlan{u"春季リーグ"_s,
                      u"市民体育館"_s,
                      QDate(2024, 5, 10),
                      QTime(18, 30),
                      kTokyo,
                      kNagoya,
                      {{u"14"_s, u"佐藤"_s}, {u"7"_s, u"鈴木"_s}},
                      {{u"6"_s, u"小林"_s}, {u"9"_s, u"加藤"_s}},
                      {P{9, 0, 1, 0, kThreePointMade}, P{8, 0, 2, 0, kThreePointMade},
                       P{7, 0, 1, 1, kTwoPointMade}, P{6, 0, 2, 1, kTwoPointMade},
                       P{5, 0, 1, 0, kFoul, kPersonalFoul}}};
    games << GamePlan{u"夏季大会"_s,
                      u"港アリーナ"_s,
                      QDate(2024, 6, 1),
                      QTime(13, 0),
                      kOsaka,
                      kKobe,
                      {{u"8"_s, u"山田"_s}, {u"5"_s, u"伊藤"_s}},
                      {{u"11"_s, u"吉田"_s}, {u"23"_s, u"井上"_s}},
                      {P{9, 0, 1, 0, kThreePointMade}, P{8, 0, 2, 0, kTwoPointMade},
                       P{7, 0, 1, 1, kFreeThrowMade}, P{6, 0, 2, 1, kThreePointMissed},
                       P{6, 0, 1, 1, kDefensiveRebound}}};
    games << GamePlan{u"夏季大会"_s,
                      u"港アリーナ"_s,
                      QDate(2024, 6, 15),
                      QTime(11, 0),
                      kKobe,
                      kTokyo,
                      {{u"8"_s, u"山田"_s}, {u"23"_s, u"井上"_s}},
                      {{u"4"_s, u"佐藤"_s}, {u"7"_s, u"鈴木"_s}},
                      {P{9, 0, 1, 1, kTwoPointMade}, P{8, 0, 2, 0, kTwoPointMade},
                       P{7, 0, 1, 1, kTwoPointMade}, P{6, 0, 1, 0, kTwoPointMissed},
                       P{5, 0, 2, 1, kTurnover}}};
    return games;
}

void writeSampleSeason(const QString& folder)
{
    const QList<GamePlan> games = sampleSeason();
    for (int i = 0; i < games.size(); ++i)
        writeRecordedGame(QDir(folder).filePath(QStringLiteral("g%1.game").arg(i + 1)), games[i]);
}

} // namespace hoopledger::testing
