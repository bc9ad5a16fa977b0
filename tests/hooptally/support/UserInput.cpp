#include "support/UserInput.h"

#include <QRadioButton>
#include <QTest>

#include "platform/RadioGroup.h"

namespace hooptally::testing {

void typeText(QWidget* field, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void clickRadioItem(platform::RadioGroup* group, int index)
{
    const auto buttons = group->findChildren<QRadioButton*>();
    QVERIFY(index >= 0 && index < buttons.size());
    QTest::mouseClick(buttons[index], Qt::LeftButton, {}, QPoint(4, buttons[index]->height() / 2));
}

} // namespace hooptally::testing
