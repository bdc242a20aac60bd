#pragma once

#include <string>
#include <vector>

#include "finder-extension/nautilus/NautilusApi.h"

namespace quilla::test {

/// A NautilusFileInfo for `uri` that works outside GNOME Files (its own file infos need Files'
/// internals); one reference for the caller.
NautilusFileInfo* makeFakeFileInfo(const std::string& uri);
/// The same for a local path (raw bytes kept).
NautilusFileInfo* makeFakeFileInfoForPath(const std::string& path);
/// A file info whose location look-up throws a C++ exception, as a fault deep in a call would.
NautilusFileInfo* makeThrowingFileInfo();
/// A list of file infos for local paths, as Files passes a selection; free with freeFileInfoList.
GList* makeFakeFileInfoList(const std::vector<std::string>& paths);
void freeFileInfoList(GList* files);

} // namespace quilla::test
