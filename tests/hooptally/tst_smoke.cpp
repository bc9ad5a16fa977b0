#include <QTest>

#include "support/Program.h"

using namespace hooptally;
using namespace hooptally::testing;

class tst_smoke : public QObject
{
    Q_OBJECT
private slots:
    void recordsAndReplaysAFieldGoal()
    {
        Program program;
        TPlayer* a4 = program.addPlayer(1, QStringLiteral("4"), QStringLiteral("佐藤"), true);
        program.act(a4, kTwoPointMade);
        QCOMPARE(program.teamA().TeamPoints(-1), 2);
        QCOMPARE(program.form().PlayLog().Count(), 1);
        program.form().PlayLog().ReplayPlayLog();
        QCOMPARE(program.teamA().TeamPoints(-1), 2);
        QCOMPARE(program.form().PlayLog().Count(), 1);
        program.dialogs().expectMessage(QStringLiteral("変更されています"), platform::mrNo);
        QVERIFY(program.form().FormCloseQuery());
    }
};

QTEST_MAIN(tst_smoke)
#include "tst_smoke.moc"
