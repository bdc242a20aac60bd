#include "app/core/operations/imagepdf/PDFFileSource.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace quilla {
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

[[noreturn]] void fail(const char* what, const std::filesystem::path& path) {
    throw std::filesystem::filesystem_error(what, path, std::error_code(errno, std::system_category()));
}

} // namespace

PDFFileSource::PDFFileSource(const std::filesystem::path& path) : name_(path.string()), block_(kBlockSize) {
    // Opened without blocking, so a pipe put in place of the file cannot stall the open.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) {
        fail("cannot open", path);
    }
    struct stat info {};
    const bool statted = ::fstat(fd_, &info) == 0;
    if (!statted || !S_ISREG(info.st_mode)) {
        const int error = statted ? EINVAL : errno;
        ::close(fd_);
        errno = error;
        fail("cannot read", path);
    }
    size_ = info.st_size;
}

PDFFileSource::~PDFFileSource() {
    ::close(fd_);
}

std::size_t PDFFileSource::readAt(qpdf_offset_t offset, char* buffer, std::size_t length) const {
    std::size_t done = 0;
    while (done < length) {
        const auto got = ::pread(fd_, buffer + done, length - done, static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw std::runtime_error(name_ + ": " + std::strerror(errno));
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

size_t PDFFileSource::read(char* buffer, size_t length) {
    last_offset = position_;
    if (length >= kBlockSize) { // large reads bypass the cache
        const auto got = readAt(position_, buffer, length);
        position_ += static_cast<qpdf_offset_t>(got);
        return got;
    }
    const bool cached = position_ >= blockStart_ && position_ + static_cast<qpdf_offset_t>(length) <=
                                                        blockStart_ + static_cast<qpdf_offset_t>(blockLength_);
    if (!cached) {
        blockStart_ = position_;
        blockLength_ = readAt(position_, block_.data(), block_.size());
    }
    const auto inBlock = static_cast<std::size_t>(position_ - blockStart_);
    const auto got = std::min(length, blockLength_ - std::min(inBlock, blockLength_));
    std::memcpy(buffer, block_.data() + inBlock, got);
    position_ += static_cast<qpdf_offset_t>(got);
    return got;
}

void PDFFileSource::seek(qpdf_offset_t offset, int whence) {
    qpdf_offset_t target = offset;
    if (whence == SEEK_CUR) target += position_;
    if (whence == SEEK_END) target += size_;
    if (target < 0) {
        throw std::runtime_error(name_ + ": seek before the start of the file");
    }
    position_ = target;
}

void PDFFileSource::unreadCh(char) {
    if (position_ > 0) --position_;
}

qpdf_offset_t PDFFileSource::findAndSkipNextEOL() {
    char buffer[4096];
    for (;;) {
        const qpdf_offset_t start = position_;
        const std::size_t length = read(buffer, sizeof buffer);
        if (length == 0) {
            return position_;
        }
        const auto end = buffer + length;
        const auto eol = std::find_if(buffer, end, [](char c) { return c == '\r' || c == '\n'; });
        if (eol == end) {
            continue;
        }
        const qpdf_offset_t result = start + (eol - buffer);
        position_ = result + 1;
        char c = 0;
        while (read(&c, 1) == 1) {
            if (c != '\r' && c != '\n') {
                unreadCh(c);
                break;
            }
        }
        return result;
    }
}

} // namespace quilla
