#pragma once

// The raw byte file under TextFileWriter; the runner also writes temporary files with it.
// Nothing is converted: bytes reach the file exactly as given.

#include <cstddef>
#include <cstdio>
#include <string>

namespace text {

// How failures are worded. The comparer names the path ("Can't create file:\n" + path),
// the runner does not ("Can't create file.").
enum class FileMessages { Brief, WithPath };

struct OutputFileOptions {
    FileMessages messages = FileMessages::Brief;
    // Opens the file for writing, created or truncated; std::fopen(path, "wb") when none is
    // given. Temporary files pass platform::openPrivateFile, which creates them with mode
    // 0600 and never writes through a symbolic link.
    std::FILE* (*opener)(const char* nativePath) = nullptr;
    // Writes a new file beside the path and renames it over the path at a clean close, so
    // that a crash, a kill or a full disk leaves the old file or none, never a part of the
    // new one. A file not closed cleanly is removed.
    bool replaceAtClose = false;
};

class OutputFile {
public:
    OutputFile(std::u16string path, OutputFileOptions options);
    // Closes a file that is still open (and drops it when it replaces at close).
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates or truncates the file. Throws IOException.
    void open();
    // Writes the bytes as one block; a count of 0 writes nothing. When the block does not
    // reach the file whole, the file is closed and IOException thrown.
    void write(const void* bytes, std::size_t count);
    // True when the file was open and closed cleanly.
    bool close();

    const std::u16string& path() const { return path_; }

private:
    [[noreturn]] void fail(std::u16string_view what) const;
    // The file the bytes go to: the path, or the new file beside it.
    std::string writtenPath() const;
    void discard();

    std::u16string path_;
    OutputFileOptions options_;
    std::FILE* handle_ = nullptr;
};

} // namespace text
