#pragma once

// A copy of the empty Access file of a shared file's version (Jet 4 or ACE), in a folder of
// its own, brought to the shared file's structure by the programs of the build: kelvor writes
// the script, kelrun runs it on the copy.

#include "tests/foundation/jetfile/ScratchFile.h"

#include <filesystem>
#include <string>

namespace engine::jetfile {
class PageFile;
}

namespace rebuildtest {

// The shared empty file of the file's version.
std::string emptyFileOf(const engine::jetfile::PageFile& file);

class RebuiltCopy {
public:
    explicit RebuiltCopy(const std::string& sharedName);

    const std::filesystem::path& path() const { return copy_.path(); }
    // What kelvor and kelrun printed, for a failure's message.
    const std::string& programOutput() const { return output_; }

private:
    jettest::ScratchFile copy_;
    std::string output_;
};

} // namespace rebuildtest
