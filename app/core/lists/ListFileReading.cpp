#include "app/core/lists/ListFileReading.h"

#include <algorithm>
#include <sys/stat.h>

namespace quilla::list_files {
namespace {

bool isStringDict(const plist::Value& value) {
    const plist::Dict* dict = value.asDict();
    return dict && std::all_of(dict->begin(), dict->end(), [](const auto& pair) { return pair.second.asString(); });
}

} // namespace

const plist::Array* stringDictArray(const plist::Value& value) {
    const plist::Array* items = value.asArray();
    return items && std::all_of(items->begin(), items->end(), isStringDict) ? items : nullptr;
}

bool isPresent(const std::filesystem::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

} // namespace quilla::list_files
