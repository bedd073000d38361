#pragma once

// Names of the temporary files through which Access objects travel.

#include <string>
#include <string_view>

namespace automation {

// The temporary directory, the prefix, 32 hexadecimal digits of a new random GUID and ".tmp";
// a name that something already holds (a symbolic link included) is never returned. The file
// itself is not created.
std::u16string temporaryFileName(std::u16string_view prefix);

} // namespace automation
