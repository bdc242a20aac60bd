#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quilla {

/// The four lists of favourite places. The raw value is the list's key in CustomDestinations.plist.
enum class CustomDestinationKind { copy, move, quickOpen, openApplication };

/// All kinds, in the order lists are iterated and shown.
inline constexpr std::array<CustomDestinationKind, 4> allCustomDestinationKinds{
    CustomDestinationKind::copy, CustomDestinationKind::move, CustomDestinationKind::quickOpen,
    CustomDestinationKind::openApplication};

/// The stable key, e.g. "quickOpen".
std::string_view rawValue(CustomDestinationKind kind);

/// The kind stored under `raw`; nothing for any other key.
std::optional<CustomDestinationKind> customDestinationKindFromRaw(std::string_view raw);

/// Whether the list holds folders (every kind but openApplication).
bool holdsFolders(CustomDestinationKind kind);

/// The translated title, e.g. "复制到文件夹".
std::string title(CustomDestinationKind kind);
/// The list's heading in the settings window: "<title>列表", or "常用应用".
std::string sectionTitle(CustomDestinationKind kind);
/// The add button's text: "添加常用路径" or "添加应用".
std::string addButtonTitle(CustomDestinationKind kind);
/// The chooser's title: "选择要添加到“<title>”的文件夹", or "选择常用应用".
std::string addPanelTitle(CustomDestinationKind kind);

} // namespace quilla
