#include "app/core/lists/CustomDestinationKind.h"

#include "shared/L10n.h"

namespace quilla {
std::string_view rawValue(CustomDestinationKind kind) {
    switch (kind) {
    case CustomDestinationKind::copy: return "copy";
    case CustomDestinationKind::move: return "move";
    case CustomDestinationKind::quickOpen: return "quickOpen";
    case CustomDestinationKind::openApplication: return "openApplication";
    }
    return "copy";
}

std::optional<CustomDestinationKind> customDestinationKindFromRaw(std::string_view raw) {
    for (auto kind : allCustomDestinationKinds) {
        if (rawValue(kind) == raw) {
            return kind;
        }
    }
    return std::nullopt;
}

bool holdsFolders(CustomDestinationKind kind) { return kind != CustomDestinationKind::openApplication; }

std::string title(CustomDestinationKind kind) {
    switch (kind) {
    case CustomDestinationKind::copy: return L10n::text<"复制到文件夹">();
    case CustomDestinationKind::move: return L10n::text<"移动到文件夹">();
    case CustomDestinationKind::quickOpen: return L10n::text<"打开">();
    case CustomDestinationKind::openApplication: return L10n::text<"用应用打开">();
    }
    return {};
}

std::string sectionTitle(CustomDestinationKind kind) {
    return holdsFolders(kind) ? L10n::format<"%@列表">(title(kind)) : L10n::text<"常用应用">();
}

std::string addButtonTitle(CustomDestinationKind kind) {
    return holdsFolders(kind) ? L10n::text<"添加常用路径">() : L10n::text<"添加应用">();
}

std::string addPanelTitle(CustomDestinationKind kind) {
    return holdsFolders(kind) ? L10n::format<"选择要添加到“%@”的文件夹">(title(kind))
                              : L10n::text<"选择常用应用">();
}

} // namespace quilla
