#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quilla {

/// The 21 kinds of new file, in the order of their action IDs ("createTextFile" is 0,
/// "createGitignoreFile" is 20). Each knows its name, extension and exact initial bytes.
class QuillaFileTemplate final {
public:
    enum class Kind {
        text, rtf, markdown, word, excel, powerPoint, pdf, csv, json, xml, yaml, png, jpeg,
        swift, readme, html, css, javaScript, python, shell, gitignore,
    };
    static constexpr std::size_t count = 21;

    explicit constexpr QuillaFileTemplate(Kind kind) : kind_(kind) {}

    /// Every template, in action-ID order.
    static std::array<QuillaFileTemplate, count> all();
    /// The template an action ID stands for.
    static std::optional<QuillaFileTemplate> forActionID(std::string_view actionID);

    Kind kind() const { return kind_; }
    std::string_view actionID() const;
    /// "Untitled", "README" or ".gitignore".
    std::string_view baseName() const;
    /// The extension without its dot; empty for the gitignore.
    std::string_view pathExtension() const;
    /// The UTF-8 text of the text templates (empty for the generated kinds).
    std::string_view initialContents() const;

    /// Writes a new file of this kind to `path`: texts, blank PDF and images atomically, Office
    /// packages through QuillaOfficeDocumentWriter. Never replaces an item at `path` (EEXIST);
    /// raises the platform's error on failure.
    void write(const std::filesystem::path& path) const;

    /// One empty US Letter page (612 × 792 points).
    static std::string blankPDFData();
    enum class ImageType { png, jpeg };
    /// One opaque white pixel, 8-bit RGBA, in the given encoding with the encoder's defaults.
    static std::string blankImageData(ImageType type);

private:
    Kind kind_;
};

} // namespace quilla
