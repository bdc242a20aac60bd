#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quilla {

/// Writes minimal Office Open XML packages (ECMA-376) that office applications open as an empty
/// document, workbook or presentation.
class QuillaOfficeDocumentWriter final {
public:
    enum class Kind { word, excel, powerPoint };

    /// One part of a package: its path inside the ZIP and its UTF-8 XML.
    struct Entry {
        std::string path;
        std::string text;
    };

    /// The parts of a package, in the order they are stored.
    static std::vector<Entry> entries(Kind kind);

    /// Writes the parts into a private work folder, zips them in order and puts the package at
    /// `destination` atomically. The work folder is removed whatever happens; on failure nothing
    /// appears at `destination`.
    static void write(Kind kind, const std::filesystem::path& destination);

    /// Zips the files `entryPaths` (relative to `workFolder`, in that order) into `destination`.
    static void runZip(const std::filesystem::path& workFolder, const std::vector<std::string>& entryPaths,
                       const std::filesystem::path& destination);
};

} // namespace quilla
