#pragma once

// Something that accepts wide text. Not owned through this interface.

#include <string>

namespace text {

class IWriter {
public:
    virtual void write(const char16_t* text) = 0;
    virtual void write(const std::u16string& text) = 0;

protected:
    ~IWriter() = default;
};

} // namespace text
