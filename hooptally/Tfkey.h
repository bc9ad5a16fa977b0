#pragma once

#include <QWidget>

#include "platform/Messages.h"

namespace hooptally {

// The function-key panel: a small tool window that walks a menu tree of actions with F1 to F12.
class TFKey : public QWidget
{
    Q_OBJECT
public:
    explicit TFKey(QWidget* parent = nullptr);
    ~TFKey() override;

    void OnFunctionKeyRefresh(platform::Message& message);
    void OnFunctionKeyMessage(platform::Message& message);
    void RefreshPages();
};

// The function-key panel of the running program; null before start-up.
TFKey* FKey();

} // namespace hooptally
