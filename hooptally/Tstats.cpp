#include "hooptally/Tstats.h"

namespace hooptally {

platform::LRESULT TStatsRequestHandler::HandleStatsRequest(platform::Message&)
{
    // The requests and the snapshot come with the statistics requests.
    return 0;
}

} // namespace hooptally
