#pragma once

// Progress of a long operation (reading a database), reported to a window's progress bar
// or to nobody.

namespace settings {

class IProgress {
public:
    // Back to the start.
    virtual void reset() = 0;
    // A run of total steps begins.
    virtual void start(int total) = 0;
    virtual void step() = 0;
    // The run is complete.
    virtual void finish() = 0;

protected:
    ~IProgress() = default;
};

// For callers that show no progress.
class FakeProgress : public IProgress {
public:
    virtual ~FakeProgress() = default;
    void reset() override {}
    void start(int) override {}
    void step() override {}
    void finish() override {}
};

} // namespace settings
