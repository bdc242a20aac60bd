#include "shared/L10n.h"

#include <memory>
#include <mutex>

namespace quilla {
namespace {

std::mutex& tableMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<const L10n::Table>& currentTable() {
    static std::shared_ptr<const L10n::Table> table;
    return table;
}

std::shared_ptr<const L10n::Table> snapshot() {
    std::lock_guard lock(tableMutex());
    return currentTable();
}

} // namespace

std::string L10n::text(std::string_view key) {
    auto table = snapshot();
    if (table) {
        if (auto it = table->find(std::string(key)); it != table->end()) {
            return it->second;
        }
    }
    return std::string(key);
}

std::string L10n::format(std::string_view key, std::string_view argument) {
    std::string result = text(key);
    if (const auto at = result.find("%@"); at != std::string::npos) {
        result.replace(at, 2, argument);
    }
    return result;
}

void L10n::setTable(Table table) {
    auto shared = std::make_shared<const Table>(std::move(table));
    std::lock_guard lock(tableMutex());
    currentTable() = std::move(shared);
}

} // namespace quilla
