#pragma once

// A text file in a chosen encoding, its byte-order mark first. Calling order: construct,
// open, write any number of times, close. Line ends pass through unchanged.

#include "foundation/text/IWriter.h"
#include "foundation/text/OutputFile.h"
#include "foundation/text/TextEncoder.h"

#include <memory>
#include <string>

namespace text {

class TextFileWriter final : public IWriter {
public:
    // The comparer's script file: UTF-8, messages that name the path.
    explicit TextFileWriter(std::u16string path);
    TextFileWriter(std::u16string path, TextEncoding encoding, OutputFileOptions options);

    // Creates or truncates the file and writes the mark. Throws IOException.
    void open();
    // Throw IOException; after a failed write the file is closed.
    void write(const char16_t* text) override;
    void write(const std::u16string& text) override;
    // True when the file closed cleanly; a file still open is also closed on destruction.
    bool close();

private:
    void writeBytes(ByteSpan bytes);

    std::unique_ptr<ITextEncoder> encoder_;
    OutputFile file_;
};

} // namespace text
