#pragma once

#include "platform/Messages.h"

namespace hooptally {

class THooptallyForm;
class TPlayer;

// The running-score sheet.
void CreateRunningScore(THooptallyForm* form);
void FreeRunningScore(THooptallyForm* form);
void ResetRunningScore(THooptallyForm* form);
void OnScoreMarkMessage(THooptallyForm* form, platform::Message& message);
void MarkPeriodEndOnRunningScore(THooptallyForm* form, int period);
void MarkGameEndOnRunningScore(THooptallyForm* form);
void ForgetPlayerOnRunningScore(const TPlayer* player);

} // namespace hooptally
