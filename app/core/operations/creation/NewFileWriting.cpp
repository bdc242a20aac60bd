#include "app/core/operations/creation/NewFileWriting.h"

#include "shared/FileIO.h"
#include "shared/QuillaPaths.h"
#include "shared/Uuid.h"

#include <cerrno>
#include <string>
#include <system_error>

namespace quilla::creation {

void writeNewFile(const std::filesystem::path& path, std::string_view bytes) {
    errno = 0;
    if (!writeFileAtomically(path, bytes, false)) {
        const int error = errno != 0 ? errno : EIO;
        throw std::filesystem::filesystem_error("cannot write file", path, std::error_code(error, std::generic_category()));
    }
}

ScopedWorkFolder::ScopedWorkFolder(std::string_view prefix)
    : path_(paths::tempDir() / (std::string(prefix) + newUUIDString())) {
    std::filesystem::create_directories(path_);
}

ScopedWorkFolder::~ScopedWorkFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace quilla::creation
