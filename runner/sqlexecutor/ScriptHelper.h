#pragma once

// The editor's script file: its text as loaded, its path, and the encoding it was loaded in,
// so that saving writes it back the way it came.

#include "foundation/text/TextEncoder.h"

#include <string>

namespace SQLExecutor {

class ScriptHelper {
public:
    // Reads the whole file into text() and takes over its encoding. On failure hasError()
    // is set and errorMessage() says why (an empty file fails with no message).
    bool load(const std::u16string& path);
    // Writes text to the stored path in the stored encoding, mark first. Throws
    // text::IOException.
    void save(const std::u16string& text) const;
    void setPath(std::u16string path) { path_ = std::move(path); }
    // Drops the text once the editor holds it; path and encoding stay.
    void clearText() { text_.clear(); }

    const std::u16string& text() const { return text_; }
    const std::u16string& path() const { return path_; }
    text::TextEncoding encoding() const { return encoding_; }
    bool hasError() const { return error_; }
    const std::u16string& errorMessage() const { return errorMessage_; }

private:
    std::u16string text_;
    std::u16string path_;
    // A script that was never loaded is saved as ANSI text.
    text::TextEncoding encoding_ = text::TextEncoding::ASCII;
    bool error_ = false;
    std::u16string errorMessage_;
};

} // namespace SQLExecutor
