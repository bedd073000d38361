#include "SharedFiles.h"

#include "foundation/engine/jetfile/Format.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace jettest {

std::string sharedFile(const std::string& name) {
    return std::string(KEL_ACCESS_DATA_DIR) + "/" + name;
}

const std::vector<std::string>& writableFormatFiles() {
    static const std::vector<std::string> files = [] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(KEL_ACCESS_DATA_DIR)) {
            std::ifstream in(entry.path(), std::ios::binary);
            engine::jetfile::Bytes head(0x20);
            in.read(reinterpret_cast<char*>(head.data()), std::streamsize(head.size()));
            if (in && engine::jetfile::detectFormat(engine::jetfile::ByteView(head)))
                names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }();
    return files;
}

} // namespace jettest
