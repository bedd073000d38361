#include "foundation/engine/mdbfile/IsolatedRead.h"

#include "foundation/engine/mdbfile/FileReader.h"
#include "foundation/engine/mdbfile/IsolatedRun.h"
#include "foundation/engine/mdbfile/SnapshotCodec.h"
#include "foundation/engine/mdbfile/TableDefinition.h"

namespace engine::mdbfile {

ReadCache::Result readIsolated(const std::string& path, std::chrono::milliseconds limit,
                               bool& timedOut) {
    IsolatedResult read = runIsolated([&] { return encodeSnapshot(readAccessFile(path)); }, limit);
    timedOut = read.outcome == IsolatedOutcome::TimedOut;
    if (read.outcome != IsolatedOutcome::Completed)
        return nullptr;
    try {
        return std::make_shared<const FileSnapshot>(decodeSnapshot(read.bytes));
    } catch (const DamagedFile&) {
        return nullptr;
    }
}

} // namespace engine::mdbfile
