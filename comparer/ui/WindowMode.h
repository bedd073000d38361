#pragma once

// The comparer's window mode: the main window with its presenter, comparing at once when
// the command line named both databases.

#include "comparer/CommandLineArguments.h"

// Runs the window until it closes; its exit code. Without a display to show it on, says so
// on standard error and returns 0. argc and argv must outlive the call.
int runWindowMode(const CommandLineArguments& arguments, int& argc, char** argv);
