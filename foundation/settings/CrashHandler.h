#pragma once

// The crash handler: when a fatal signal (SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS) arrives
// or an exception escapes everything (std::terminate), it writes a text crash report to
// ${XDG_DATA_HOME:-$HOME/.local/share}/<dump file> and tells the user in a message box
// captioned "Exception":
//
//   The mini dump file has been saved.
//   <path>
//   Please send the dump file to <support address>
//   The problem will be fixed as soon as possible.
//
// or, when it could not, one of "Can't get CSIDL_APPDATA" (no home folder), "Can't get the
// dump path" (path too long), "Can't create the dump file", "Can't write the dump file".
// With a report written the process then ends with exit code 128 + signal (134 for
// std::terminate); without one the system's default handling follows (a core dump where
// enabled).
//
// Installing it: call once near the top of main, before anything that could fail. The
// message goes through platform::showMessage, so a program with windows shows it in its
// message box once that handler is set; the order of the two calls does not matter.
//   kelvor: settings::installCrashHandler(settings::kComparerDumpFile);  // every mode
//   kelrun: settings::installCrashHandler(settings::kRunnerDumpFile);    // window mode only,
//                                                                        // before the window
// The folder is resolved when installing; a later change of the environment is not seen.

namespace settings {

inline constexpr char kComparerDumpFile[] = "kelvor.dmp";
inline constexpr char kRunnerDumpFile[] = "kelrun.dmp";

void installCrashHandler(const char* dumpFileName);

} // namespace settings
