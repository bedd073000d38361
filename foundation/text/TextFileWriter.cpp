#include "foundation/text/TextFileWriter.h"

namespace text {

TextFileWriter::TextFileWriter(std::u16string path)
    : TextFileWriter(std::move(path), TextEncoding::UTF8, {.messages = FileMessages::WithPath}) {}

TextFileWriter::TextFileWriter(std::u16string path, TextEncoding encoding,
                               OutputFileOptions options)
    : encoder_(createTextEncoder(encoding)), file_(std::move(path), options) {}

void TextFileWriter::open() {
    file_.open();
    writeBytes(encoder_->bom());
}

void TextFileWriter::write(const char16_t* text) {
    writeBytes(encoder_->encode(text));
}

void TextFileWriter::write(const std::u16string& text) {
    writeBytes(encoder_->encode(text));
}

bool TextFileWriter::close() {
    return file_.close();
}

void TextFileWriter::writeBytes(ByteSpan bytes) {
    file_.write(bytes.data(), bytes.size());
}

} // namespace text
