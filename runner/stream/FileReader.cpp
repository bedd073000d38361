#include "runner/stream/FileReader.h"

#include "foundation/text/ByteOrderMark.h"
#include "foundation/text/WideString.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr std::size_t probeLength = 4;
constexpr std::size_t chunkLength = 0x10000;

std::FILE* openBinary(const std::u16string& path) {
    return std::fopen(text::toUtf8(path).c_str(), "rb");
}

// A big-endian UTF-16 mark: the C runtime refuses such files for line reading.
bool beginsWithBigEndianMark(const unsigned char* bytes, std::size_t count) {
    return count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF;
}

} // namespace

FileReader::FileReader(std::u16string path) : path_(std::move(path)) {}

FileReader::~FileReader() {
    if (file_)
        std::fclose(file_);
}

bool FileReader::fail(std::u16string_view message) {
    errorMessage_ = std::u16string(message) + path_;
    return false;
}

void FileReader::detect(const unsigned char* bytes, std::size_t count) {
    text::DetectedEncoding detected = text::detectByBom(bytes, count);
    encoder_ = text::createTextEncoder(detected.encoding);
    encoding_ = detected.encoding;
    markLength_ = detected.markLength;
}

bool FileReader::open() {
    std::FILE* probe = openBinary(path_);
    if (!probe)
        return fail(u"Can't open file ");
    if (fseeko(probe, 0, SEEK_END) == 0)
        fileSize_ = std::max<std::int64_t>(0, ftello(probe));
    std::fseek(probe, 0, SEEK_SET);

    try {
        lineBuffer_.reserve(lineCapacity_);
        chunk_.resize(chunkLength);
    } catch (const std::bad_alloc&) {
        std::fclose(probe);
        return fail(u"Can't allocate memory to load  ");
    }

    unsigned char bytes[probeLength];
    std::size_t count = std::fread(bytes, 1, probeLength, probe);
    detect(bytes, count);
    if (std::fclose(probe) != 0)
        return fail(u"Can't close file after an encoding determining ");
    if (*encoding_ == text::TextEncoding::ASCII && beginsWithBigEndianMark(bytes, count))
        return fail(u"Can't open file ");

    if (file_)
        std::fclose(file_);
    file_ = openBinary(path_);
    if (!file_ || fseeko(file_, off_t(markLength_), SEEK_SET) != 0)
        return fail(u"Can't open file ");
    chunkPos_ = chunkEnd_ = 0;
    return true;
}

bool FileReader::close() {
    if (!file_)
        return true;
    int status = std::fclose(file_);
    file_ = nullptr;
    if (status != 0)
        return fail(u"Can't close file ");
    return true;
}

bool FileReader::readLine() {
    lineBytes_.clear();
    if (!file_ || !readLineBytes()) {
        line_ = {};
        return false;
    }
    decodeLine();
    return !line_.empty();
}

bool FileReader::fillChunk() {
    chunkPos_ = 0;
    chunkEnd_ = std::fread(chunk_.data(), 1, chunk_.size(), file_);
    return chunkEnd_ > 0;
}

bool FileReader::readLineBytes() {
    // UTF-16 line feeds are the unit 0A 00; lines always begin on a unit boundary.
    const bool wide = *encoding_ == text::TextEncoding::UTF16;
    for (;;) {
        if (chunkPos_ == chunkEnd_ && !fillChunk())
            return !lineBytes_.empty();
        if (!wide) {
            const unsigned char* begin = chunk_.data() + chunkPos_;
            const auto* feed =
                static_cast<const unsigned char*>(std::memchr(begin, '\n', chunkEnd_ - chunkPos_));
            const unsigned char* end = feed ? feed + 1 : chunk_.data() + chunkEnd_;
            lineBytes_.insert(lineBytes_.end(), begin, end);
            chunkPos_ += std::size_t(end - begin);
            if (feed)
                return true;
            continue;
        }
        unsigned char byte = chunk_[chunkPos_++];
        lineBytes_.push_back(byte);
        std::size_t length = lineBytes_.size();
        if (length % 2 == 0 && byte == 0 && lineBytes_[length - 2] == '\n')
            return true;
    }
}

void FileReader::decodeLine() {
    if (*encoding_ == text::TextEncoding::ASCII) {
        reserveLine(lineBytes_.size());
        lineBuffer_.assign(lineBytes_.begin(), lineBytes_.end());
    } else {
        // UTF-8 needs at most one unit per byte, UTF-16 half a unit.
        reserveLine(lineBytes_.size());
        lineBuffer_.clear();
        encoder_->decode(lineBytes_.data(), lineBytes_.size(), lineBuffer_);
    }
    if (lineBuffer_.ends_with(u"\r\n"))
        lineBuffer_.erase(lineBuffer_.size() - 2, 1);
    line_ = lineBuffer_;
}

void FileReader::reserveLine(std::size_t units) {
    while (lineCapacity_ < units)
        lineCapacity_ += lineCapacity_ / 2;
    lineBuffer_.reserve(lineCapacity_);
}

bool FileReader::readAll(std::u16string& text) {
    if (!open())
        return false;
    close();
    if (fileSize_ == 0)
        return false;

    std::FILE* file = openBinary(path_);
    if (!file)
        return fail(u"Can't open file ");
    std::vector<unsigned char> bytes;
    try {
        bytes.resize(std::size_t(fileSize_));
    } catch (const std::bad_alloc&) {
        std::fclose(file);
        return fail(u"Can't allocate memory for ");
    }
    std::size_t count = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    if (count == 0)
        return fail(u"Can't read file ");

    detect(bytes.data(), count);
    try {
        text.clear();
        encoder_->decode(bytes.data() + markLength_, count - markLength_, text);
    } catch (const std::bad_alloc&) {
        return fail(u"Can't allocate memory to load  ");
    }
    return true;
}
