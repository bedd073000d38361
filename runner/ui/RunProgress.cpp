#include "runner/ui/RunProgress.h"

#include <algorithm>

namespace runner::ui {

RunProgress::RunProgress(Libs::Stream::ITextStreamReader& source, int unitsToSize,
                         Listener listener, std::chrono::milliseconds interval)
    : source_(source), unitsToSize_(unitsToSize), listener_(std::move(listener)),
      interval_(interval), lastTold_(std::chrono::steady_clock::now()) {}

bool RunProgress::readLine() {
    if (!source_.readLine())
        return false;
    unitsRead_ += std::int64_t(source_.currentLine().size());
    tell();
    return true;
}

void RunProgress::step() {
    ++commandsCompleted_;
    tell();
}

RunState RunProgress::state() const {
    std::int64_t size = source_.size();
    // Line ends dropped by a file's reader make the count fall short; it never overshoots.
    std::int64_t read = std::min(unitsRead_ * unitsToSize_, size);
    int percent = size > 0 ? int(read * 100 / size) : 100;
    return {percent, commandsCompleted_};
}

void RunProgress::tell() {
    auto now = std::chrono::steady_clock::now();
    if (now - lastTold_ < interval_)
        return;
    lastTold_ = now;
    listener_(state());
}

} // namespace runner::ui
