#include "runner/sqlexecutor/ScriptHelper.h"

#include "runner/stream/FileReader.h"

#include "foundation/text/TextFileWriter.h"

namespace SQLExecutor {

bool ScriptHelper::load(const std::u16string& path) {
    path_ = path;
    error_ = false;
    errorMessage_.clear();
    FileReader reader(path);
    if (!reader.readAll(text_)) {
        error_ = true;
        errorMessage_ = reader.errorMessage();
        return false;
    }
    encoding_ = reader.encoding().value_or(text::TextEncoding::ASCII);
    return true;
}

void ScriptHelper::save(const std::u16string& text) const {
    text::TextFileWriter writer(path_, encoding_, text::OutputFileOptions{});
    writer.open();
    writer.write(text);
    writer.close();
}

} // namespace SQLExecutor
