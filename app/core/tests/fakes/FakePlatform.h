#pragma once

#include "app/core/executor/ExecutorContext.h"
#include "app/core/platform/FinderScripting.h"
#include "app/core/platform/Pasteboard.h"
#include "app/core/platform/Prompts.h"
#include "app/core/platform/Trash.h"
#include "app/core/platform/Workspace.h"

#include <deque>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace quilla::test {

namespace fs = std::filesystem;

/// Clipboard in memory.
class FakePasteboard final : public Pasteboard {
public:
    bool writeText(const std::string& value) override {
        if (refuses) return false;
        text = value;
        ++writes;
        return true;
    }
    std::optional<std::string> readText() override { return text; }
    std::vector<std::string> readFilePaths() override { return filePaths; }

    std::optional<std::string> text;
    std::vector<std::string> filePaths;
    bool refuses = false;
    int writes = 0;
};

/// Records what would have been opened.
class FakeWorkspace final : public Workspace {
public:
    bool open(const fs::path& path, std::string* error) override { return record("open " + path.string(), error); }
    bool revealItems(const std::vector<fs::path>& items, std::string* error) override {
        std::string line = "reveal";
        for (const auto& i : items) line += " " + i.string();
        return record(line, error);
    }
    bool openWithApplication(const fs::path& app, const std::vector<fs::path>& items, std::string* error) override {
        std::string line = "launch " + app.string();
        for (const auto& i : items) line += " " + i.string();
        return record(line, error);
    }
    bool openURL(const std::string& url, std::string* error) override { return record("url " + url, error); }
    bool openTerminal(const fs::path& directory, std::string* error) override {
        return record("terminal " + directory.string(), error);
    }

    std::vector<std::string> calls;
    bool fails = false;
    std::string failure = "failed";

private:
    bool record(std::string line, std::string* error) {
        calls.push_back(std::move(line));
        if (fails && error) *error = failure;
        return !fails;
    }
};

/// Answers prompts from queues; an empty queue answers "cancel". Records every question.
class FakePrompts final : public Prompts {
public:
    std::optional<std::string> promptText(const std::string& title, const std::string& message) override {
        asked.push_back(title + " | " + message);
        return pop(texts);
    }
    std::optional<std::pair<std::string, std::string>> promptTwoTexts(const std::string& title,
                                                                      const std::string& first,
                                                                      const std::string& second,
                                                                      const std::string& message) override {
        asked.push_back(title + " | " + first + " | " + second + " | " + message);
        return pop(pairs);
    }
    std::optional<fs::path> chooseDirectory(const std::string& title, const std::string& confirm,
                                            const std::optional<fs::path>&) override {
        asked.push_back(title + " | " + confirm);
        return pop(directories);
    }

    std::deque<std::optional<std::string>> texts;
    std::deque<std::optional<std::pair<std::string, std::string>>> pairs;
    std::deque<std::optional<fs::path>> directories;
    std::vector<std::string> asked;

private:
    template <typename T>
    static std::optional<T> pop(std::deque<std::optional<T>>& queue) {
        if (queue.empty()) return std::nullopt;
        auto value = queue.front();
        queue.pop_front();
        return value;
    }
};

class FakeFinderScripting final : public FinderScripting {
public:
    std::vector<fs::path> selection() override { return selected; }
    std::optional<fs::path> frontFolder() override { return front; }

    // View control: every call is recorded as one line ("view list", "sort name", "apply icon name",
    // "menu sort size", "hidden true"); `failing` names calls that throw `failure` instead.
    void setViewMode(FinderViewMode mode) override { record("view " + std::string(rawValue(mode))); }
    void setSortColumn(FinderSortMode mode) override { record("sort " + std::string(rawValue(mode))); }
    void applyView(FinderViewMode viewMode, FinderSortMode sortMode) override {
        record("apply " + std::string(rawValue(viewMode)) + " " + std::string(rawValue(sortMode)));
    }
    void sortUsingViewOptions(FinderSortMode mode) override { record("menu sort " + std::string(rawValue(mode))); }
    std::string viewSortState() override { return state; }
    bool isShowingHiddenFiles() override { return showingHidden; }
    void setShowingHiddenFiles(bool show) override {
        record(show ? "hidden true" : "hidden false");
        showingHidden = show;
    }

    std::vector<fs::path> selected;
    std::optional<fs::path> front;
    std::vector<std::string> calls;
    std::vector<std::string> failing; ///< call prefixes that fail, e.g. "menu sort"
    std::string failure = "scripting failed";
    std::string state = "list-view | sort=name/normal";
    bool showingHidden = false;

private:
    void record(const std::string& call) {
        calls.push_back(call);
        for (const auto& prefix : failing) {
            if (call.starts_with(prefix)) {
                throw std::runtime_error(failure);
            }
        }
    }
};

/// Moves items into a folder of its own instead of the real Trash.
class FakeTrash final : public Trash {
public:
    explicit FakeTrash(fs::path folder = {}) : folder_(std::move(folder)) {}
    bool trashItem(const fs::path& item, std::string* error) override {
        trashed.push_back(item);
        if (fails) {
            if (error) *error = "trash unavailable";
            return false;
        }
        std::error_code ec;
        if (!folder_.empty()) {
            fs::create_directories(folder_, ec);
            fs::rename(item, folder_ / item.filename(), ec);
        } else {
            fs::remove_all(item, ec);
        }
        if (ec && error) *error = ec.message();
        return !ec;
    }

    std::vector<fs::path> trashed;
    bool fails = false;

private:
    fs::path folder_;
};

/// Every fake at hand plus the context built on them; preferences are set directly.
struct FakePlatform {
    FakePasteboard pasteboard;
    FakeWorkspace workspace;
    FakePrompts prompts;
    FakeFinderScripting finderScripting;
    FakeTrash trash;
    AppPreferences preferences;

    ExecutorContext context() {
        return ExecutorContext{pasteboard, workspace, prompts, finderScripting, trash, [this] { return preferences; }};
    }
};

} // namespace quilla::test
