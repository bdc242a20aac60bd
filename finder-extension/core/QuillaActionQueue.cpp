#include "finder-extension/core/QuillaActionQueue.h"

#include "shared/FileIO.h"
#include "shared/QuillaPaths.h"
#include "shared/Uuid.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace quilla {
namespace {

// The folder is created private and used only while it stays so (a real folder, not a link, of
// this user, writable by nobody else): the application runs whatever appears in it.
bool createQueueDirectory(const std::filesystem::path& dir, std::string& failure) {
    if (paths::ensurePrivateDirectory(dir)) {
        return true;
    }
    struct stat info {};
    failure = ::lstat(dir.c_str(), &info) != 0 ? std::strerror(errno) : "not a private folder";
    return false;
}

} // namespace

std::filesystem::path QuillaActionQueue::directoryPath() {
    const auto primary = paths::primaryQueueDir();
    std::string failure;
    if (createQueueDirectory(primary, failure)) {
        return primary;
    }
    const auto fallback = paths::fallbackQueueDir();
    if (paths::ensurePrivateDirectory(fallback)) {
        return fallback;
    }
    throw Error("cannot create the queue directory " + primary.string() + " (" + failure +
                ") nor the private fallback " + fallback.string());
}

std::string QuillaActionQueue::encode(const QuillaQueuedAction& action,
                                      std::chrono::system_clock::time_point createdAt) {
    const double seconds = std::chrono::duration<double>(createdAt.time_since_epoch()).count();
    const nlohmann::json object = {
        {"actionID", action.actionID},
        {"createdAt", seconds},
        {"destinationPath", action.destinationPath},
        {"presetID", action.presetID},
        {"selectedPaths", action.selectedPaths},
        {"targetedPath", action.targetedPath.value_or("")},
        {"title", action.title},
    };
    try {
        return object.dump(2); // object keys are kept sorted
    } catch (const nlohmann::json::type_error&) {
        throw Error("a selected path, the target or another field is not valid UTF-8; nothing was queued");
    }
}

std::filesystem::path QuillaActionQueue::enqueue(const QuillaQueuedAction& action) {
    const auto directory = directoryPath();
    const std::string text = encode(action, std::chrono::system_clock::now());
    const auto file = directory / (newUUIDString() + ".json");
    // Atomic for the runner, but not synced: the file lives for milliseconds, and two fsyncs would
    // dominate the click's latency on a busy disk. A click lost to a power cut is simply not run.
    if (!writeFileAtomically(file, text, false, 0600, Durability::unsynced)) {
        throw Error("cannot write " + file.string());
    }
    return file;
}

} // namespace quilla
