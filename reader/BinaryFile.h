#pragma once

// The bytes of one exported Access object, read back whole from its file.

#include <cstdint>
#include <string>
#include <vector>

namespace reader {

class BinaryFile {
public:
    using Bytes = std::vector<std::uint8_t>;

    // Replaces what is held with the file's bytes; an empty file leaves nothing. Throws
    // text::IOException "Can't open file", "Can't allocate memory", "Can't close file" or
    // "Can't read all file", and then holds nothing.
    void read(const std::u16string& path);

    std::size_t size() const { return data_.size(); }
    const Bytes& data() const { return data_; }
    // Hands the bytes over to an element; nothing is held afterwards.
    Bytes take() { return std::move(data_); }

private:
    Bytes data_;
};

} // namespace reader
