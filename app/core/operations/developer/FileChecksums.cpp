#include "app/core/operations/developer/FileChecksums.h"

#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/operations/developer/ClipboardLines.h"

#include <openssl/evp.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace quilla {
namespace fs = std::filesystem;
namespace {

// Large enough that system calls cost nothing next to hashing, small enough for the cache.
constexpr std::size_t kBlockBytes = 256 * 1024;

[[noreturn]] void throwFileError(const char* operation, const fs::path& file, int error) {
    throw fs::filesystem_error(operation, file, std::error_code(error, std::generic_category()));
}

class OpenFile final {
public:
    explicit OpenFile(const fs::path& file) : fd_(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)) {
        if (fd_ < 0) {
            throwFileError("open", file, errno);
        }
    }
    ~OpenFile() { ::close(fd_); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

struct DigestContextDeleter {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

const EVP_MD* messageDigest(ChecksumAlgorithm algorithm) {
    return algorithm == ChecksumAlgorithm::sha256 ? EVP_sha256() : EVP_md5();
}

std::string hexText(const unsigned char* bytes, unsigned length) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string text;
    for (unsigned i = 0; i < length; ++i) {
        text.push_back(hex[bytes[i] >> 4]);
        text.push_back(hex[bytes[i] & 0x0F]);
    }
    return text;
}

} // namespace

std::string FileChecksums::digest(const fs::path& file, ChecksumAlgorithm algorithm) {
    const OpenFile input(file);
    struct stat info {};
    if (::fstat(input.fd(), &info) != 0) {
        throwFileError("stat", file, errno);
    }
    // Only a regular file has an end: a pipe or a device could be read forever.
    if (!S_ISREG(info.st_mode)) {
        throwFileError("read", file, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    }
    ::posix_fadvise(input.fd(), 0, 0, POSIX_FADV_SEQUENTIAL);

    std::unique_ptr<EVP_MD_CTX, DigestContextDeleter> context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex2(context.get(), messageDigest(algorithm), nullptr) != 1) {
        throw FinderActionExecutionError::commandFailed({});
    }
    const auto block = std::make_unique<unsigned char[]>(kBlockBytes);
    for (;;) {
        const ssize_t n = ::read(input.fd(), block.get(), kBlockBytes);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throwFileError("read", file, errno);
        }
        if (n == 0) {
            break;
        }
        EVP_DigestUpdate(context.get(), block.get(), static_cast<std::size_t>(n));
    }
    unsigned char value[EVP_MAX_MD_SIZE];
    unsigned length = 0;
    EVP_DigestFinal_ex(context.get(), value, &length);
    return hexText(value, length);
}

std::vector<std::string> FileChecksums::lines(const std::vector<fs::path>& files, ChecksumAlgorithm algorithm) {
    std::vector<std::string> digests(files.size());
    std::vector<std::exception_ptr> errors(files.size());
    std::atomic<std::size_t> next = 0;
    // Past the first failure nothing more is started: the action stops at that item.
    std::atomic<std::size_t> firstFailure = files.size();
    auto work = [&] {
        for (std::size_t i; (i = next++) < files.size() && i < firstFailure;) {
            try {
                digests[i] = digest(files[i], algorithm);
            } catch (...) {
                errors[i] = std::current_exception();
                for (auto seen = firstFailure.load(); i < seen && !firstFailure.compare_exchange_weak(seen, i);) {
                }
            }
        }
    };
    const auto threads = std::min<std::size_t>(files.size(), std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::thread> helpers;
    for (std::size_t t = 1; t < threads; ++t) {
        helpers.emplace_back(work);
    }
    work();
    for (auto& helper : helpers) {
        helper.join();
    }

    std::vector<std::string> result;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (errors[i]) {
            std::rethrow_exception(errors[i]);
        }
        result.push_back(digests[i] + "  " + files[i].filename().string());
    }
    return result;
}

void FileChecksums::copy(const ExecutorContext& context, const std::vector<fs::path>& files,
                         ChecksumAlgorithm algorithm) {
    if (files.empty()) {
        throw FinderActionExecutionError::noSelection();
    }
    copyLinesToPasteboard(context, lines(files, algorithm));
}

} // namespace quilla
