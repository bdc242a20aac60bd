#include "app/platform/linux/GSettingsFinderScripting.h"

#include "app/core/executor/FinderActionExecutionError.h"
#include "app/platform/linux/NautilusWindows.h"
#include "shared/L10n.h"
#include "shared/QuillaPaths.h"

#include <gio/gio.h>

#include <cstdlib>
#include <memory>

namespace quilla {
namespace {

constexpr const char* kFolderViewerKey = "default-folder-viewer";
constexpr const char* kSortOrderKey = "default-sort-order";
constexpr const char* kReverseKey = "default-sort-in-reverse-order";
constexpr const char* kShowHiddenKey = "show-hidden";

struct Unref {
    void operator()(GSettings* settings) const { g_object_unref(settings); }
    void operator()(GSettingsSchema* schema) const { g_settings_schema_unref(schema); }
    void operator()(GSettingsSchemaKey* key) const { g_settings_schema_key_unref(key); }
    void operator()(GVariant* value) const { g_variant_unref(value); }
};

[[noreturn]] void fail(const std::string& message, const std::string& detail) {
    throw FinderActionExecutionError::commandFailed(message + detail);
}

// One schema of this machine, opened only after checking that it and the key exist: GSettings
// aborts the process for an unknown schema or key.
class SchemaSettings final {
public:
    SchemaSettings(std::string_view schemaID, const char* key) : id_(schemaID), key_(key) {
        GSettingsSchemaSource* source = g_settings_schema_source_get_default();
        schema_.reset(source ? g_settings_schema_source_lookup(source, id_.c_str(), TRUE) : nullptr);
        if (!schema_) {
            fail(L10n::text<"没有找到文件管理器的设置：">(), id_);
        }
        if (!g_settings_schema_has_key(schema_.get(), key)) {
            fail(L10n::text<"文件管理器不支持这项设置：">(), id_ + " " + key);
        }
        settings_.reset(g_settings_new_full(schema_.get(), nullptr, nullptr));
    }

    std::string text() const {
        gchar* value = g_settings_get_string(settings_.get(), key_);
        std::string result = value ? value : "";
        g_free(value);
        return result;
    }
    bool flag() const { return g_settings_get_boolean(settings_.get(), key_); }

    // Sets an enumerated key by its word after checking the schema allows it.
    void setText(std::string_view word) const {
        const std::string value(word);
        std::unique_ptr<GSettingsSchemaKey, Unref> key(g_settings_schema_get_key(schema_.get(), key_));
        std::unique_ptr<GVariant, Unref> variant(g_variant_ref_sink(g_variant_new_string(value.c_str())));
        if (!g_settings_schema_key_range_check(key.get(), variant.get())) {
            fail(L10n::text<"文件管理器不支持这项设置：">(), id_ + " " + key_ + "=" + value);
        }
        written(g_settings_set_string(settings_.get(), key_, value.c_str()));
    }
    void setFlag(bool value) const { written(g_settings_set_boolean(settings_.get(), key_, value)); }

private:
    void written(gboolean ok) const {
        if (!ok) {
            fail(L10n::text<"无法更改文件管理器的设置：">(), id_ + " " + key_);
        }
        g_settings_sync();
    }

    std::string id_;
    const char* key_;
    std::unique_ptr<GSettingsSchema, Unref> schema_;
    std::unique_ptr<GSettings, Unref> settings_;
};

// The file manager keeps one direction for every sort, so each sort writes its own direction;
// otherwise a reversed date sort would leave later name sorts reversed too.
void setSortOrder(FinderSortMode mode) {
    if (const auto order = GSettingsFinderScripting::sortOrder(mode)) {
        SchemaSettings(GSettingsFinderScripting::kFilesSchema, kSortOrderKey).setText(*order);
        SchemaSettings(GSettingsFinderScripting::kFilesSchema, kReverseKey)
            .setFlag(sortDirectionValue(mode).value_or("normal") == "reversed");
    }
}

void setFolderViewer(FinderViewMode mode) {
    SchemaSettings(GSettingsFinderScripting::kFilesSchema, kFolderViewerKey)
        .setText(GSettingsFinderScripting::folderViewer(mode));
}

} // namespace

std::vector<std::filesystem::path> GSettingsFinderScripting::selection() {
    return {};
}

bool GSettingsFinderScripting::hasSchema(std::string_view schemaID) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    const std::string id(schemaID);
    std::unique_ptr<GSettingsSchema, Unref> schema(
        source ? g_settings_schema_source_lookup(source, id.c_str(), TRUE) : nullptr);
    return schema != nullptr;
}

std::optional<std::filesystem::path> GSettingsFinderScripting::frontFolder() {
    return paths::userDir(paths::UserDir::desktop);
}

std::string_view GSettingsFinderScripting::folderViewer(FinderViewMode mode) {
    return mode == FinderViewMode::list || mode == FinderViewMode::column ? "list-view" : "icon-view";
}

std::optional<std::string_view> GSettingsFinderScripting::sortOrder(FinderSortMode mode) {
    switch (mode) {
    case FinderSortMode::none:
        return std::nullopt;
    case FinderSortMode::name:
        return "name";
    case FinderSortMode::modificationDate:
        return "mtime";
    case FinderSortMode::creationDate:
        return "btime";
    case FinderSortMode::size:
        return "size";
    case FinderSortMode::kind:
        return "type";
    case FinderSortMode::label:
        return "starred";
    }
    return std::nullopt;
}

void GSettingsFinderScripting::setViewMode(FinderViewMode mode) {
    setFolderViewer(mode);
    showInOpenWindows();
}

void GSettingsFinderScripting::setSortColumn(FinderSortMode mode) {
    setFolderViewer(FinderViewMode::list);
    setSortOrder(mode);
    showInOpenWindows();
}

void GSettingsFinderScripting::applyView(FinderViewMode viewMode, FinderSortMode sortMode) {
    setFolderViewer(viewMode);
    // As on the other platform, only icon and list views take the sort with the view change.
    if ((viewMode == FinderViewMode::icon && iconArrangementValue(sortMode)) ||
        (viewMode == FinderViewMode::list && listColumnValue(sortMode))) {
        setSortOrder(sortMode);
    }
    showInOpenWindows();
}

void GSettingsFinderScripting::sortUsingViewOptions(FinderSortMode mode) {
    setSortOrder(mode);
    showInOpenWindows();
}

void GSettingsFinderScripting::showInOpenWindows() {
    // Files learns of the new values through its own settings client; with dconf that is done once
    // the write is synced, with the key-file back end it takes a file-monitor event.
    if (const char* backend = std::getenv("GSETTINGS_BACKEND"); backend && std::string_view(backend) == "keyfile") {
        g_usleep(kKeyFileSettleMicroseconds);
    }
    lastWindowLines_ = NautilusWindows::reopenShownTabs();
}

std::string GSettingsFinderScripting::viewSortState() {
    try {
        const auto reversed = SchemaSettings(kFilesSchema, kReverseKey).flag();
        return SchemaSettings(kFilesSchema, kFolderViewerKey).text() +
               " | sort=" + SchemaSettings(kFilesSchema, kSortOrderKey).text() + "/" +
               (reversed ? "reversed" : "normal");
    } catch (const std::exception&) {
        return "unavailable";
    }
}

bool GSettingsFinderScripting::isShowingHiddenFiles() {
    try {
        return SchemaSettings(kFileChooserSchema, kShowHiddenKey).flag();
    } catch (const std::exception&) {
        return false;
    }
}

void GSettingsFinderScripting::setShowingHiddenFiles(bool show) {
    SchemaSettings(kFileChooserSchema, kShowHiddenKey).setFlag(show);
}

} // namespace quilla
