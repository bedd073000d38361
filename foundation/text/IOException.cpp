#include "foundation/text/IOException.h"

#include "foundation/text/WideString.h"

namespace text {

IOException::IOException(std::u16string message)
    : std::runtime_error(toUtf8(message)),
      message_(std::make_shared<const std::u16string>(std::move(message))) {}

} // namespace text
