#include "hooptally/Runscore.h"

#include <memory>

#include "hooptally/Texecute.h"

namespace hooptally {

void CreateRunningScore(THooptallyForm*)
{
    // The running-score layout comes with the running-score sheet.
}

void FreeRunningScore(THooptallyForm*)
{
    // Nothing is created yet.
}

void ResetRunningScore(THooptallyForm*)
{
    // The running-score layout comes with the running-score sheet.
}

void OnScoreMarkMessage(THooptallyForm*, platform::Message& message)
{
    // The notice is the receiver's; the marks come with the running-score sheet.
    const std::unique_ptr<ScoreMarkNotice> notice = platform::TakeRecord<ScoreMarkNotice>(message);
}

void MarkPeriodEndOnRunningScore(THooptallyForm*, int)
{
    // Period lines come with the running-score sheet.
}

void MarkGameEndOnRunningScore(THooptallyForm*)
{
    // The game-end mark comes with the running-score sheet.
}

void ForgetPlayerOnRunningScore(const TPlayer*)
{
    // No running-score cell holds a player yet.
}

} // namespace hooptally
