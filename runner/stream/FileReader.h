#pragma once

// A script file, either read line by line as the parser asks for lines (so that scripts of
// any size run from their file), or loaded whole for the editor.
//
// The encoding follows the byte-order mark: UTF-8, UTF-16 little-endian, else 8-bit text.
// The two paths differ where the runner always differed: the line path turns "\r\n" into
// "\n" and takes each byte of a mark-less file as the character of the same code, while
// the whole-file path keeps "\r\n" and decodes mark-less files with the ANSI code page.

#include "runner/stream/ITextStreamReader.h"

#include "foundation/text/TextEncoder.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class FileReader : public Libs::Stream::ITextStreamReader {
public:
    // Nothing is opened yet.
    explicit FileReader(std::u16string path);
    ~FileReader() override;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Opens the file for line reading; on failure errorMessage() says why.
    bool open();
    bool readLine() override;
    // The file's length in bytes, measured by open.
    std::int64_t size() const override { return fileSize_; }
    std::u16string_view currentLine() const override { return line_; }
    // False, with a message, when the file does not close cleanly.
    bool close();

    // Loads and decodes the whole file into text. False for an empty file (with no message)
    // and on failure (with a message).
    bool readAll(std::u16string& text);

    // Known once open has seen the file's first bytes.
    std::optional<text::TextEncoding> encoding() const { return encoding_; }
    const std::u16string& errorMessage() const { return errorMessage_; }

private:
    bool fail(std::u16string_view message);
    void detect(const unsigned char* bytes, std::size_t count);
    // Appends the raw bytes of the next line, line feed included, to lineBytes_; false at
    // the end of the file when nothing was left.
    bool readLineBytes();
    bool fillChunk();
    void decodeLine();
    void reserveLine(std::size_t units);

    std::u16string path_;
    std::FILE* file_ = nullptr;
    std::int64_t fileSize_ = 0;
    std::unique_ptr<text::ITextEncoder> encoder_;
    std::optional<text::TextEncoding> encoding_;
    std::size_t markLength_ = 0;
    std::u16string errorMessage_;

    std::vector<unsigned char> chunk_;
    std::size_t chunkPos_ = 0;
    std::size_t chunkEnd_ = 0;
    std::vector<unsigned char> lineBytes_;
    // Grows by half whenever a line does not fit and never shrinks.
    std::size_t lineCapacity_ = 0x8000;
    std::u16string lineBuffer_;
    std::u16string_view line_;
};
