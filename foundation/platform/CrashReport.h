#pragma once

// The text crash report: what failed, where, when, and the backtrace of the failing thread.
// Written with async-signal-safe calls only, so that it works from a signal handler.

#include "foundation/platform/FatalErrors.h"

namespace platform {

enum class CrashReportResult { Written, CannotCreate, CannotWrite };

// Creates the file (mode 0600, replacing a file of that name, never through a symbolic
// link), creating its missing folders, and writes the report of the event into it.
CrashReportResult writeCrashReport(const char* path, const FatalEvent& event);

} // namespace platform
