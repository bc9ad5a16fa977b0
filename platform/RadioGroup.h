#pragma once

#include <functional>

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QVBoxLayout;

namespace platform {

// The class library's radio group: a titled box of exclusive choices with an item index
// (-1 when none is chosen).
class RadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    explicit RadioGroup(const QString& caption, QWidget* parent = nullptr);

    void SetItems(const QStringList& items); // clears the choice
    QStringList Items() const { return m_items; }
    int ItemIndex() const;
    void SetItemIndex(int index); // -1 clears; does not call OnClick
    QString ItemText(int index) const;

    std::function<void()> OnClick; // after the user chose an item

private:
    QStringList m_items;
    QButtonGroup* m_buttons;
    QVBoxLayout* m_layout;
};

} // namespace platform
