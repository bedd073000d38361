#pragma once

// What the sessions of one Access file in this program share, as they share one engine under
// Jet: the working copy their changes go to and the file as the last committed change left
// it, so that a DAO database sees what the program's ADO connection changed. The file is
// replaced when the last of them closes.

#include "foundation/engine/jetfile/WorkingCopy.h"
#include "foundation/engine/mdbfile/FileSnapshot.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace engine::mdbfile {

struct SharedFile {
    std::u16string path;
    std::shared_ptr<const FileSnapshot> snapshot;
    std::unique_ptr<jetfile::WorkingCopy> copy; // made at the first change
    bool changed = false;                       // the copy differs from the file
    bool closeAsked = false;                    // a session closed while others stayed open
    int openSessions = 0;
};

// The shared state of every file with an open session, by the file's path.
class SharedFiles {
public:
    // The state of the file's open sessions, or a new one holding snapshot.
    std::shared_ptr<SharedFile> attach(const std::u16string& path,
                                       std::shared_ptr<const FileSnapshot> snapshot);

private:
    std::mutex mutex_;
    std::map<std::u16string, std::weak_ptr<SharedFile>> files_;
};

} // namespace engine::mdbfile
