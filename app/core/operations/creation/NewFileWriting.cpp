#include "app/core/operations/creation/NewFileWriting.h"

#include "app/core/operations/imagepdf/AtomicOutputFile.h"
#include "shared/QuillaPaths.h"
#include "shared/Uuid.h"

#include <string>
#include <system_error>

namespace quilla::creation {

void writeNewFile(const std::filesystem::path& path, std::string_view bytes) {
    AtomicOutputFile out(path.parent_path(), "");
    out.write(bytes);
    out.commitAsNew(path);
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
