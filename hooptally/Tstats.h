#pragma once

#include "platform/Messages.h"

namespace hooptally {

class THooptallyForm;

// Answers WM_COPYDATA requests: open a game file, send a statistics snapshot.
class TStatsRequestHandler
{
public:
    explicit TStatsRequestHandler(THooptallyForm* form) : m_form(form) {}
    platform::LRESULT HandleStatsRequest(platform::Message& message);

private:
    THooptallyForm* m_form;
};

} // namespace hooptally
