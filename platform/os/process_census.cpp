#include "platform/os/process_census.h"

#include "platform/os/orphan_adoption.h"

namespace os {

ProcessCensus takeCensus(const std::vector<pid_t>& startedHere)
{
    ProcessCensus census{readProcessTable(), {}};
    census.orphans = adoptedOrphans(census.table, startedHere);
    collectEndedOrphans(census.table, startedHere);
    return census;
}

} // namespace os
