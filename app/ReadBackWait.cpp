#include "app/ReadBackWait.h"

void ReadBackWait::ReportHandled(ReadBackCollection which, bool busyBefore, bool busyAfter) {
    if (busyBefore && !busyAfter) Of(which).Completed.fetch_add(1);
}

CollectionWait ReadBackWait::Take(ReadBackCollection which, bool busyNow) {
    if (busyNow) return CollectionWait::Busy;
    Counts& counts = Of(which);
    const std::uint32_t completed = counts.Completed.load();
    if (completed == counts.Taken) return CollectionWait::EndedWithoutData;
    counts.Taken = completed;
    return CollectionWait::EndedWithData;
}
