#pragma once

#include <filesystem>

namespace quilla::fileops {

namespace fs = std::filesystem;

/// Owns an open file descriptor and closes it when the scope ends.
class FileDescriptor final {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    /// Closes now and gives close's result, so that a late write error (full disk) is not lost.
    int release();

private:
    int fd_;
};

// The copy and move primitives of every file operation. None of them ever replaces an existing
// item: a destination that exists (even one created by someone else a moment ago) is an error.
// Failures are std::filesystem::filesystem_error carrying the system's own message and path.

/// Copies a file, symbolic link (as a link) or whole folder tree to `destination`, which must not
/// exist. File data moves in the kernel (copy_file_range, then sendfile, then read/write); modes,
/// modification times and extended attributes (tags, comments) are kept. On failure the partial copy is
/// removed before the error is raised.
void copyItem(const fs::path& source, const fs::path& destination);

/// Renames `source` to `destination` without replacing anything there. Across file systems it
/// copies and then removes the source (the copy is removed again when that fails half-way).
void moveItem(const fs::path& source, const fs::path& destination);

/// rename(2) that fails with EEXIST instead of replacing `destination`; EXDEV is reported as is.
void renameNoReplace(const fs::path& source, const fs::path& destination);

/// Copies every extended attribute of the open file `from` to the open file `to`. Attributes the
/// destination's file system or this user may not set are left out.
void copyExtendedAttributes(int from, int to);

/// Copies the rest of `in` (from its current offset) to `out` at its current offset, in the kernel
/// where the file systems allow; raises the system's error naming `source` or `destination`.
void copyFileData(int in, int out, const fs::path& source, const fs::path& destination);

/// Whether `inner` is `outer` itself or lies below it, judged on the real paths (symbolic links
/// and "." / ".." resolved as far as the paths exist).
bool isSameOrInside(const fs::path& inner, const fs::path& outer);

/// Whether `path` is a folder (not a symbolic link to one).
bool isRealDirectory(const fs::path& path);

/// Whether `path` is, or links to, a regular file: not a pipe or a device, whose reading could
/// block or never end.
bool isRegularFile(const fs::path& path);

} // namespace quilla::fileops
