#pragma once

#include "app/core/platform/Pasteboard.h"

namespace quilla {

class QtMainThreadDispatcher;

/// The display's clipboard through QClipboard: plain text, and file paths from the file URLs of
/// its text/uri-list data. Every access runs on the main thread (callers on other threads wait).
/// Needs a QGuiApplication; without one every call fails or answers nothing.
class QtPasteboard final : public Pasteboard {
public:
    explicit QtPasteboard(QtMainThreadDispatcher& dispatcher);

    bool writeText(const std::string& text) override;
    std::optional<std::string> readText() override;
    std::vector<std::string> readFilePaths() override;

private:
    QtMainThreadDispatcher& dispatcher_;
};

} // namespace quilla
