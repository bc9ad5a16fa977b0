#include "platform/RadioGroup.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace platform {

RadioGroup::RadioGroup(const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent), m_buttons(new QButtonGroup(this)), m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(6, 4, 6, 4);
    m_layout->setSpacing(2);
    connect(m_buttons, &QButtonGroup::idClicked, this, [this](int) {
        if (OnClick)
            OnClick();
    });
}

void RadioGroup::SetItems(const QStringList& items)
{
    for (QAbstractButton* button : m_buttons->buttons()) {
        m_buttons->removeButton(button);
        delete button;
    }
    m_items = items;
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        m_buttons->addButton(button, i);
        m_layout->addWidget(button);
        // A child added to a box on show would appear only after the next turn of the event loop.
        button->show();
    }
}

int RadioGroup::ItemIndex() const
{
    return m_buttons->checkedId();
}

void RadioGroup::SetItemIndex(int index)
{
    if (QAbstractButton* button = m_buttons->button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group keeps one button checked; clearing needs exclusivity off for a moment.
    if (QAbstractButton* checked = m_buttons->checkedButton()) {
        m_buttons->setExclusive(false);
        checked->setChecked(false);
        m_buttons->setExclusive(true);
    }
}

QString RadioGroup::ItemText(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items[index] : QString();
}

} // namespace platform
