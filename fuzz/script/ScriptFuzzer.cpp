// libFuzzer target: any bytes as a script file, read by the runner's reader both ways: line by
// line (what a run does) and whole (what the editor does), then parsed. Every encoding is
// reachable: a UTF-8 or UTF-16 mark or none, odd byte counts, lone surrogates, NUL bytes, a
// mark and nothing else. With a mark, the lines must join to the whole text with "\r\n" as
// "\n": both paths decode the same bytes.

#include "fuzz/ScratchFile.h"
#include "runner/sqlexecutor/SQLParser.h"
#include "runner/stream/FileReader.h"

#include "foundation/text/WideString.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

std::u16string withFeedsOnly(std::u16string text) {
    std::u16string result;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n'))
            result += text[i];
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::ScratchFile scratch(".sql");
    std::u16string path = text::fromUtf8(scratch.write(data, size).string());

    FileReader lines(path);
    std::u16string joined;
    bool opened = lines.open();
    if (opened)
        while (lines.readLine())
            joined += lines.currentLine();
    lines.close();

    FileReader whole(path);
    std::u16string text;
    bool loaded = whole.readAll(text);
    if (opened && loaded && whole.encoding() != text::TextEncoding::ASCII)
        check(joined == withFeedsOnly(text));

    FileReader script(path);
    if (script.open()) {
        SQLExecutor::SQLParser parser(script);
        while (parser.next()) {
        }
    }
    return 0;
}
