#pragma once

// Where script mode writes its texts. "-" names standard output, so that a pipeline can take
// the script or the report without a file. The script keeps the bytes its file would get,
// byte-order mark included, so that redirecting it gives the same file; the report is a text
// for people and logs: UTF-8 without a mark, with LF line ends, the last line ended too.

#include "foundation/text/TextEncoder.h"

#include <string>
#include <string_view>

namespace scriptmode {

bool isStandardOutput(std::u16string_view path);

// The script in the encoding, its mark first, to standard output. Throws text::IOException.
void writeScriptToStandardOutput(const std::u16string& script, text::TextEncoding encoding);

// The report to standard output, or to the file, which is replaced whole or, after a failure,
// left as it was. Throws text::IOException.
void writeReport(const std::u16string& path, std::u16string_view report);

} // namespace scriptmode
