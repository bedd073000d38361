#include "comparer/ScriptModeOutput.h"

#include "foundation/platform/AtomicFile.h"
#include "foundation/platform/Console.h"
#include "foundation/text/IOException.h"
#include "foundation/text/WideString.h"

namespace scriptmode {

namespace {

void writeStandardOutput(const void* bytes, std::size_t count) {
    if (!platform::writeConsoleBytes(bytes, count))
        throw text::IOException(u"Can't write to standard output.");
}

} // namespace

bool isStandardOutput(std::u16string_view path) {
    return path == u"-";
}

void writeScriptToStandardOutput(const std::u16string& script, text::TextEncoding encoding) {
    std::unique_ptr<text::ITextEncoder> encoder = text::createTextEncoder(encoding);
    text::ByteSpan mark = encoder->bom();
    std::string bytes(mark.begin(), mark.end());
    text::ByteSpan body = encoder->encode(script);
    bytes.append(body.begin(), body.end());
    writeStandardOutput(bytes.data(), bytes.size());
}

void writeReport(const std::u16string& path, std::u16string_view report) {
    std::string bytes = text::toUtf8WithLineFeeds(report);
    // A text file's last line ends like the others.
    if (!bytes.empty() && bytes.back() != '\n')
        bytes += '\n';
    if (isStandardOutput(path)) {
        writeStandardOutput(bytes.data(), bytes.size());
        return;
    }
    if (!platform::replaceFileAtomically(text::toUtf8(path), bytes))
        throw text::IOException(u"Can't create file:\n" + path);
}

} // namespace scriptmode
