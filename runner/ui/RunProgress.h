#pragma once

// How far a run from the window has got. It sits between the executor and the script's
// reader, so it sees every line the parser takes (the share of the script read) and every
// command that succeeded (the executor's steps), and it tells the window at most every
// tenth of a second, so that the window can repaint without slowing the run down.

#include "foundation/settings/Progress.h"
#include "runner/stream/ITextStreamReader.h"

#include <chrono>
#include <cstdint>
#include <functional>

namespace runner::ui {

struct RunState {
    int percentRead = 0;
    int commandsCompleted = 0;
};

class RunProgress final : public Libs::Stream::ITextStreamReader, public settings::IProgress {
public:
    using Listener = std::function<void(const RunState&)>;

    // unitsToSize converts the UTF-16 units of the lines read into the unit of the source's
    // size: 1 for a text, 2 for a UTF-16 file, 1 (near enough) for 8-bit and UTF-8 files.
    RunProgress(Libs::Stream::ITextStreamReader& source, int unitsToSize, Listener listener,
                std::chrono::milliseconds interval = std::chrono::milliseconds(100));

    bool readLine() override;
    std::int64_t size() const override { return source_.size(); }
    std::u16string_view currentLine() const override { return source_.currentLine(); }

    void reset() override {}
    void start(int) override {}
    void step() override;
    void finish() override {}

    RunState state() const;

private:
    void tell();

    Libs::Stream::ITextStreamReader& source_;
    int unitsToSize_;
    Listener listener_;
    std::chrono::steady_clock::duration interval_;
    std::chrono::steady_clock::time_point lastTold_;
    std::int64_t unitsRead_ = 0;
    int commandsCompleted_ = 0;
};

} // namespace runner::ui
