#pragma once

#include <QString>

class QWidget;

namespace platform {
class RadioGroup;
}

namespace hooptally::testing {

// Types into a field key by key, Japanese included (as an input method delivers it).
void typeText(QWidget* field, const QString& text);

// Clicks item `index` of a radio group on its indicator, as the user chooses it.
void clickRadioItem(platform::RadioGroup* group, int index);

} // namespace hooptally::testing
