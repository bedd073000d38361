#pragma once

// A file that could not be created, written or read. The message is the text shown to the
// user; what() gives it in UTF-8.

#include <memory>
#include <stdexcept>
#include <string>

namespace text {

class IOException : public std::runtime_error {
public:
    explicit IOException(std::u16string message);

    const std::u16string& message() const noexcept { return *message_; }

private:
    // Shared so that copying the exception cannot throw.
    std::shared_ptr<const std::u16string> message_;
};

} // namespace text
