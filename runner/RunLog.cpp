#include "runner/RunLog.h"

#include "foundation/text/WideString.h"

#include <cstdio>

bool appendToLog(const char* path, std::u16string_view message) {
    std::FILE* file = std::fopen(path, "ab");
    if (!file)
        return true;
    // The whole message in UTF-8: names in any script survive, and the report's "\r\n" stay
    // as they are.
    std::string bytes = text::toUtf8(message);
    bytes += "\r\n";
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
