#include "reader/Warnings.h"

#include "foundation/database/Exceptions.h"

namespace reader {

void Warnings::record(std::u16string_view message, const engine::EngineError& error) {
    std::u16string detail = database::errorMessage(error.status());
    if (detail.empty())
        detail = u"Unknown error";
    record(message);
    text_ += detail;
    text_ += u"\r\n";
}

void Warnings::record(std::u16string_view message) {
    text_ += message;
    text_ += u"\r\n";
    any_ = true;
}

} // namespace reader
