#pragma once

#include <qpdf/InputSource.hh>

#include <filesystem>
#include <string>
#include <vector>

namespace quilla {

/// A PDF file read for qpdf through positioned reads and one block cache. qpdf's own file
/// source seeks a stdio stream for every object it reads, which costs two system calls each time
/// and made merging many short PDFs slower than poppler's tools.
class PDFFileSource final : public InputSource {
public:
    /// Opens `path` for reading; throws std::filesystem::filesystem_error when it cannot or when
    /// it is not a regular file.
    explicit PDFFileSource(const std::filesystem::path& path);
    ~PDFFileSource() override;
    PDFFileSource(const PDFFileSource&) = delete;
    PDFFileSource& operator=(const PDFFileSource&) = delete;

    qpdf_offset_t findAndSkipNextEOL() override;
    std::string const& getName() const override { return name_; }
    qpdf_offset_t tell() override { return position_; }
    void seek(qpdf_offset_t offset, int whence) override;
    void rewind() override { position_ = 0; }
    size_t read(char* buffer, size_t length) override;
    void unreadCh(char) override;

private:
    std::size_t readAt(qpdf_offset_t offset, char* buffer, std::size_t length) const;

    std::string name_;
    int fd_ = -1;
    qpdf_offset_t size_ = 0;
    qpdf_offset_t position_ = 0;
    std::vector<char> block_;
    qpdf_offset_t blockStart_ = 0;
    std::size_t blockLength_ = 0;
};

} // namespace quilla
