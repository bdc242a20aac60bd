#include "app/core/deletion/ScheduledDeletionStore.h"

#include "app/core/SettingsFileCopies.h"
#include "app/core/deletion/FileLock.h"
#include "app/core/deletion/SerialWorker.h"
#include "app/core/platform/Trash.h"
#include "shared/DiagnosticLog.h"
#include "shared/FileIO.h"
#include "shared/QuillaPaths.h"
#include "shared/Uuid.h"
#include "shared/XmlText.h"

#include <cerrno>
#include <map>
#include <sys/stat.h>
#include <unordered_set>

namespace quilla {
namespace fs = std::filesystem;
namespace {

struct Observers {
    std::mutex mutex;
    std::map<ScheduledDeletionStore::ObserverToken, std::shared_ptr<std::function<void()>>> callbacks;
    ScheduledDeletionStore::ObserverToken last = 0;
};

Observers& observers() {
    static Observers instance;
    return instance;
}

// An item "exists" when anything is at its path, a dangling link included: the link is what was
// scheduled, so it is what goes to the Trash.
bool itemExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

} // namespace

fs::path ScheduledDeletionStore::defaultFile() {
    return paths::appSupportDir() / "ScheduledDeletions.plist";
}

void ScheduledDeletionStore::appendToApplicationLog(std::string_view message) {
    appendDiagnosticLog(paths::appActionLogPath(), message);
}

ScheduledDeletionStore::ScheduledDeletionStore() : ScheduledDeletionStore(Options{}) {}

ScheduledDeletionStore::ScheduledDeletionStore(Options options) : options_(std::move(options)) {}

// Out of line: the worker's type is complete here, and its destructor finishes queued runs.
ScheduledDeletionStore::~ScheduledDeletionStore() = default;

fs::path ScheduledDeletionStore::lockFile() const {
    auto path = options_.file;
    path += ".lock";
    return path;
}

std::optional<std::vector<ScheduledDeletionItem>> ScheduledDeletionStore::readItems() const {
    const auto root = plist::readFile(options_.file);
    return root ? decodeScheduledDeletionItems(*root) : std::nullopt;
}

std::vector<ScheduledDeletionItem> ScheduledDeletionStore::loadItems() const {
    return readItems().value_or(std::vector<ScheduledDeletionItem>{});
}

// Only under the lock: no other cycle can replace the file between the read and the rename.
std::vector<ScheduledDeletionItem> ScheduledDeletionStore::loadItemsKeepingDamagedAside() const {
    if (auto items = readItems()) {
        return std::move(*items);
    }
    struct stat info {};
    if (::lstat(options_.file.c_str(), &info) != 0) {
        return {};
    }
    if (const auto aside = keepDamagedFileAside(options_.file)) {
        log("scheduled deletions file damaged, kept aside as " + aside->string());
    } else {
        // Rewriting it would destroy what it holds.
        throw fs::filesystem_error("keep damaged file aside", options_.file,
                                   std::error_code(errno ? errno : EIO, std::generic_category()));
    }
    return {};
}

void ScheduledDeletionStore::saveItems(const std::vector<ScheduledDeletionItem>& items) const {
    const std::string xml = plist::toXML(encodeScheduledDeletionItems(items));
    if (xml.size() > plist::kMaxFileBytes) {
        throw fs::filesystem_error("save", options_.file, std::error_code(EFBIG, std::generic_category()));
    }
    errno = 0;
    if (!writeFileAtomically(options_.file, xml, true)) {
        const int error = errno != 0 ? errno : EIO;
        throw fs::filesystem_error("save", options_.file, std::error_code(error, std::generic_category()));
    }
}

void ScheduledDeletionStore::schedule(const std::vector<fs::path>& paths,
                                      std::chrono::seconds interval) const {
    {
        const FileLock lock(lockFile());
        const auto now = options_.now();
        auto items = loadItemsKeepingDamagedAside();
        std::unordered_set<std::string> scheduled;
        for (const auto& item : items) {
            scheduled.insert(item.path);
        }
        bool added = false;
        for (const auto& path : paths) {
            // A name that is not UTF-8 cannot be stored faithfully; a changed path would never
            // be deleted, so it is not scheduled at all.
            if (!isXmlSafeText(path.string())) {
                log("scheduled deletion skipped unstorable path=" + xmlSafeText(path.string()));
                continue;
            }
            // insert() also keeps a path named twice in one call from becoming two entries.
            if (itemExists(path.string()) && scheduled.insert(path.string()).second) {
                items.push_back({newUUIDString(), path.string(), now, now + interval});
                added = true;
            }
        }
        if (!added) {
            return;
        }
        saveItems(items);
    }
    announceChange();
}

void ScheduledDeletionStore::cancel(const std::string& itemID) const {
    {
        const FileLock lock(lockFile());
        auto items = loadItemsKeepingDamagedAside();
        std::erase_if(items, [&](const ScheduledDeletionItem& item) { return item.id == itemID; });
        saveItems(items);
    }
    announceChange();
}

void ScheduledDeletionStore::processDueItemsNow(Trash& trash) const {
    {
        const FileLock lock(lockFile());
        const auto now = options_.now();
        std::vector<ScheduledDeletionItem> kept;
        for (auto& item : loadItemsKeepingDamagedAside()) {
            if (item.deleteAt > now) {
                kept.push_back(std::move(item));
            } else if (!itemExists(item.path)) {
                log("scheduled deletion skipped missing path=" + item.path);
            } else if (std::string error; trash.trashItem(item.path, &error)) {
                log("scheduled deletion moved to trash path=" + item.path);
            } else {
                log("scheduled deletion trash failed path=" + item.path + " error=" + error);
                kept.push_back(std::move(item));
            }
        }
        saveItems(kept);
    }
    announceChange();
}

std::future<void> ScheduledDeletionStore::processDueItems(Trash& trash) {
    std::call_once(workerOnce_, [this] { worker_ = std::make_unique<SerialWorker>("scheduled-deletions"); });
    return worker_->submit([this, &trash] {
        try {
            processDueItemsNow(trash);
        } catch (const std::exception& error) {
            log(std::string("scheduled deletion failed: ") + error.what());
        }
    });
}

void ScheduledDeletionStore::log(std::string_view message) const {
    if (options_.log) {
        options_.log(message);
    }
}

ScheduledDeletionStore::ObserverToken ScheduledDeletionStore::observeChanges(std::function<void()> callback) {
    auto& all = observers();
    std::lock_guard lock(all.mutex);
    all.callbacks[++all.last] = std::make_shared<std::function<void()>>(std::move(callback));
    return all.last;
}

void ScheduledDeletionStore::stopObserving(ObserverToken token) {
    auto& all = observers();
    std::lock_guard lock(all.mutex);
    all.callbacks.erase(token);
}

void ScheduledDeletionStore::announceChange() {
    std::vector<std::shared_ptr<std::function<void()>>> callbacks;
    {
        auto& all = observers();
        std::lock_guard lock(all.mutex);
        for (const auto& entry : all.callbacks) {
            callbacks.push_back(entry.second);
        }
    }
    // Outside the lock, so a callback may observe or stop observing.
    for (const auto& callback : callbacks) {
        (*callback)();
    }
}

} // namespace quilla
