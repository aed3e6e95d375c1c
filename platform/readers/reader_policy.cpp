#include "platform/readers/reader_policy.h"

#include "platform/readers/read_ahead.h"

#include <algorithm>
#include <cmath>

namespace readers {
namespace {

// Folder reads measured before the number of readers is set again.
constexpr int kReadsMeasured = 16;

}  // namespace

int ReadAhead::readersFor(int processors, double blockedShare) {
    // processors * (1 + 2 * share / (1 - share)), the work being 1 - share.
    const double work = std::max(1.0 - blockedShare, 1.0 / kMostReaders);
    const int readers = int(std::ceil(processors * (1.0 + blockedShare) / work - 1e-9));
    return std::clamp(readers, std::min(processors, kMostReaders), kMostReaders);
}

bool ReaderPolicy::measure(double spent, double blocked) {
    spentSum_ += spent;
    blockedSum_ += blocked;
    if (++measured_ < kReadsMeasured) return false;
    const double share = spentSum_ > 0 ? blockedSum_ / spentSum_ : 0.0;
    readers_ = ReadAhead::readersFor(processors_, share);
    // While reads mostly wait on the device the walk leaves them to the
    // workers: a read of its own would hold up the listing for that wait.
    walkReads_ = share < 0.5;
    measured_ = 0;
    spentSum_ = blockedSum_ = 0;
    return true;
}

}  // namespace readers
