#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

namespace quilla {

/// Remembers what was derived from each settings file and hands it out again while the file is
/// unchanged. Every call re-validates the file with one stat (device, inode, size, modification and
/// change time), so a change always shows in the very next answer. A file written so recently that
/// a second write could carry the same timestamps is compared byte by byte instead. Thread-safe.
class FinderSettingsFileCache final {
public:
    /// Turns the file's bytes (nothing when it is missing, unreadable or larger than the cap) into a value.
    template <typename T> using Derive = T (*)(const std::optional<std::string>& bytes);

    /// The value `derive` makes of the file at `path`, re-derived only when the file changed.
    template <typename T>
    std::shared_ptr<const T> load(const std::filesystem::path& path, std::size_t maxBytes, Derive<T> derive) {
        const auto key = reinterpret_cast<ErasedKey>(derive);
        return std::static_pointer_cast<const T>(
            loadErased(path, maxBytes, key, [derive](const std::optional<std::string>& bytes) {
                return std::static_pointer_cast<const void>(std::make_shared<const T>(derive(bytes)));
            }));
    }

    /// Turns a folder (its listing) into a value.
    template <typename T> using DeriveFolder = T (*)(const std::filesystem::path& folder);

    /// The value `derive` makes of the folder at `path`, re-derived only when an entry was added,
    /// removed or renamed there (the folder's own stamp changed).
    template <typename T>
    std::shared_ptr<const T> loadFolder(const std::filesystem::path& path, DeriveFolder<T> derive) {
        const auto key = reinterpret_cast<ErasedKey>(derive);
        return std::static_pointer_cast<const T>(loadFolderErased(path, key, [derive](const std::filesystem::path& folder) {
            return std::static_pointer_cast<const void>(std::make_shared<const T>(derive(folder)));
        }));
    }

    /// Forgets everything.
    void clear();

private:
    using ErasedKey = void (*)();
    using Make = std::function<std::shared_ptr<const void>(const std::optional<std::string>&)>;

    struct FileStamp {
        bool exists = false;
        unsigned long long device = 0;
        unsigned long long inode = 0;
        long long size = 0;
        long long modifiedNanoseconds = 0;
        long long changedNanoseconds = 0;
        bool operator==(const FileStamp&) const = default;
    };
    struct Entry {
        FileStamp stamp;
        std::shared_ptr<const void> value;
        bool racy = false;
        std::optional<std::string> bytes; // kept only while the entry is racy
    };

    std::shared_ptr<const void> loadErased(const std::filesystem::path& path, std::size_t maxBytes, ErasedKey key,
                                           const Make& make);
    using MakeFolder = std::function<std::shared_ptr<const void>(const std::filesystem::path&)>;
    std::shared_ptr<const void> loadFolderErased(const std::filesystem::path& path, ErasedKey key,
                                                 const MakeFolder& make);
    std::shared_ptr<const void> cachedValue(const std::pair<std::string, ErasedKey>& key, const FileStamp& stamp);
    static FileStamp stampOf(const std::filesystem::path& path);
    static bool isRacy(const FileStamp& stamp, std::chrono::system_clock::time_point readTime);

    std::mutex mutex_;
    std::map<std::pair<std::string, ErasedKey>, Entry> entries_;
};

} // namespace quilla
