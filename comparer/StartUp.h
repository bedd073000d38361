#pragma once

// What the entry point does with a parsed command line besides opening the window.

#include "comparer/CommandLineArguments.h"
#include "foundation/database/DatabaseDescription.h"
#include "foundation/text/TextEncoder.h"

// Copies the paths and titles of the two databases into the descriptions; true when the
// window is to compare them at once.
bool fillDescriptions(const CommandLineArguments& arguments, database::DatabaseDescription& first,
                      database::DatabaseDescription& second);

// "/utf8" chooses UTF-8, else "/utf16" UTF-16 little-endian; neither means UTF-8. Both
// encodings write their byte-order mark.
text::TextEncoding scriptEncoding(const CommandLineArguments& arguments);

// Script mode: compares the two databases once, reports through message boxes or, with
// "/e", on the console, writes the script when the databases differ and, with "/r", the
// report. 0 unless "/x" asks for the outcome: then 0 identical, 1 different, 2 a database
// could not be read or a file not written.
int runScriptMode(const CommandLineArguments& arguments);
