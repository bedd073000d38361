#pragma once

// How the comparer shows a database's name in its narrow name fields.

#include <string>
#include <string_view>

// A name of at most 40 characters is kept. A longer one is cut to 43 characters around
// "...": its file name (from the last "/" or "\") is kept whole behind the dots when that
// separator lies after the first six characters and the file name is shorter than 40
// characters; otherwise the first 20 and the last 20 characters are kept.
std::u16string shortenDisplayName(std::u16string_view name);
