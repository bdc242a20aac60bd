#include "finder-extension/core/FinderSettingsFileCache.h"

#include "shared/FileIO.h"

#include <sys/stat.h>

namespace quilla {
namespace {

// Kernel file timestamps come from a coarse clock, and network file systems use the server's
// clock: a file modified within this margin of our read may change again without its stamp
// changing, so its bytes are compared instead.
constexpr auto kRacyMargin = std::chrono::seconds(2);

long long nanoseconds(const timespec& time) {
    return static_cast<long long>(time.tv_sec) * 1'000'000'000LL + time.tv_nsec;
}

} // namespace

std::shared_ptr<const void> FinderSettingsFileCache::cachedValue(const std::pair<std::string, ErasedKey>& key,
                                                                 const FileStamp& stamp) {
    std::lock_guard lock(mutex_);
    const auto it = entries_.find(key);
    if (it != entries_.end() && it->second.value && !it->second.racy && it->second.stamp == stamp) {
        return it->second.value;
    }
    return nullptr;
}

std::shared_ptr<const void> FinderSettingsFileCache::loadFolderErased(const std::filesystem::path& path, ErasedKey key,
                                                                      const MakeFolder& make) {
    const auto mapKey = std::make_pair(path.string(), key);
    const FileStamp before = stampOf(path);
    if (auto value = cachedValue(mapKey, before)) {
        return value;
    }
    // A folder changed so recently that another change could keep its stamp is listed again
    // on every call until it is old enough.
    const auto readTime = std::chrono::system_clock::now();
    auto value = make(path);
    std::lock_guard lock(mutex_);
    Entry& entry = entries_[mapKey];
    entry = Entry{before, value, isRacy(before, readTime), std::nullopt};
    return value;
}

void FinderSettingsFileCache::clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}

FinderSettingsFileCache::FileStamp FinderSettingsFileCache::stampOf(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {};
    }
    return {true,
            static_cast<unsigned long long>(info.st_dev),
            static_cast<unsigned long long>(info.st_ino),
            static_cast<long long>(info.st_size),
            nanoseconds(info.st_mtim),
            nanoseconds(info.st_ctim)};
}

bool FinderSettingsFileCache::isRacy(const FileStamp& stamp, std::chrono::system_clock::time_point readTime) {
    if (!stamp.exists) {
        return false; // a file that appears changes the stamp from "missing"
    }
    const auto read = std::chrono::duration_cast<std::chrono::nanoseconds>(readTime.time_since_epoch()).count();
    const auto margin = std::chrono::duration_cast<std::chrono::nanoseconds>(kRacyMargin).count();
    return std::max(stamp.modifiedNanoseconds, stamp.changedNanoseconds) >= read - margin;
}

std::shared_ptr<const void> FinderSettingsFileCache::loadErased(const std::filesystem::path& path,
                                                                std::size_t maxBytes, ErasedKey key,
                                                                const Make& make) {
    const auto mapKey = std::make_pair(path.string(), key);
    const FileStamp before = stampOf(path);
    if (auto value = cachedValue(mapKey, before)) {
        return value;
    }
    // The stamp is taken before reading: if the file changes while it is read, the next call sees
    // a newer stamp than the one stored here and reads again.
    const auto readTime = std::chrono::system_clock::now();
    auto bytes = before.exists ? readFileCapped(path, maxBytes) : std::nullopt;

    std::lock_guard lock(mutex_);
    Entry& entry = entries_[mapKey];
    const bool unchanged = entry.value && entry.racy && entry.stamp == before && entry.bytes == bytes;
    if (!unchanged) {
        entry.value = make(bytes);
    }
    entry.stamp = before;
    entry.racy = isRacy(before, readTime);
    entry.bytes = entry.racy ? std::move(bytes) : std::nullopt;
    return entry.value;
}

} // namespace quilla
