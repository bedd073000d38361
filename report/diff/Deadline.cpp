#include "report/diff/Deadline.h"

namespace diff {

namespace {

std::int64_t steadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

Deadline Deadline::fromNow(std::chrono::milliseconds budget) {
    return Deadline(steadyMilliseconds, steadyMilliseconds() + budget.count());
}

} // namespace diff
