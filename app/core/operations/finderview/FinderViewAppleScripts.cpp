#include "app/core/operations/finderview/FinderViewAppleScripts.h"

#include "app/core/executor/CommandRunner.h"

#include <algorithm>
#include <map>

namespace quilla {
namespace {

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += (i == 0 ? "" : "\n") + lines[i];
    }
    return text;
}

// Opening lines of the view scripts: bring Finder forward with a window to work on.
const std::vector<std::string> kFrontWindowLines{
    "tell application \"Finder\"",
    "    activate",
    "    if (count of Finder windows) is 0 then",
    "        make new Finder window to desktop",
    "    end if",
};

const std::vector<std::string> kParentMenuTitles{
    "排序方式", "Sort By", "整理方式", "Arrange By", "並べ替え", "表示順序", "정렬 방식", "정렬 기준", "Trier par",
    "Organiser par", "Sortieren nach", "Anordnen nach", "Ordenar por", "Organizar por", "Ordina per", "Disponi per",
    "Ordenar Por", "Organizar Por", "Сортировать по", "Упорядочить по"};

} // namespace

std::string_view FinderViewAppleScripts::viewName(FinderViewMode mode) {
    switch (mode) {
    case FinderViewMode::icon: return "icon view";
    case FinderViewMode::list: return "list view";
    case FinderViewMode::column: return "column view";
    case FinderViewMode::gallery: return "flow view";
    }
    return "list view";
}

std::string FinderViewAppleScripts::setViewMode(std::string_view scriptViewName) {
    auto lines = kFrontWindowLines;
    lines.push_back("    set current view of front Finder window to " + std::string(scriptViewName));
    lines.push_back("end tell");
    return joined(lines);
}

std::string FinderViewAppleScripts::setSortColumn(std::string_view scriptColumnName) {
    auto lines = kFrontWindowLines;
    lines.push_back("    set current view of front Finder window to list view");
    lines.push_back("    set sort column of list view options of front Finder window to " + std::string(scriptColumnName));
    lines.push_back("end tell");
    return joined(lines);
}

std::string FinderViewAppleScripts::applyView(FinderViewMode viewMode, FinderSortMode sortMode) {
    std::vector<std::string> lines{
        "tell application \"Finder\"", "activate", "if (count of Finder windows) is 0 then",
        "make new Finder window to desktop", "end if",
        "set current view of front Finder window to " + std::string(viewName(viewMode)), "delay 0.15"};
    const auto arrangement = iconArrangementValue(sortMode);
    const auto column = listColumnValue(sortMode);
    if (viewMode == FinderViewMode::icon && arrangement) {
        lines.push_back("set arrangement of icon view options of front Finder window to " + std::string(*arrangement));
    } else if (viewMode == FinderViewMode::list && column) {
        lines.insert(lines.end(), {"delay 0.15", "tell list view options of front Finder window",
                                   "set visible of column " + std::string(*column) + " to true",
                                   "set sort column to column " + std::string(*column)});
        if (const auto direction = sortDirectionValue(sortMode)) {
            lines.push_back("set sort direction of sort column to " + std::string(*direction));
        }
        lines.push_back("end tell");
    }
    lines.push_back("end tell");
    return joined(lines);
}

std::optional<std::string> FinderViewAppleScripts::sortUsingViewOptions(FinderSortMode mode) {
    const auto& titles = sortNames(mode);
    if (titles.empty()) {
        return std::nullopt;
    }
    return joined({
        "tell application \"Finder\" to activate",
        "delay 0.1",
        "tell application \"System Events\"",
        "    tell process \"Finder\"",
        "        set sortNames to " + list(titles),
        "        set viewMenu to menu 1 of menu bar item 5 of menu bar 1",
        "        repeat with parentTitle in " + list(kParentMenuTitles),
        "            try",
        "                set parentItem to first menu item of viewMenu whose name is parentTitle",
        "                set sortMenu to menu 1 of parentItem",
        "                repeat with sortName in sortNames",
        "                    try",
        "                        click (first menu item of sortMenu whose name is sortName)",
        "                        return",
        "                    end try",
        "                end repeat",
        "            end try",
        "        end repeat",
        "        error \"Sort menu item not found\"",
        "    end tell",
        "end tell",
    });
}

std::string FinderViewAppleScripts::viewSortState() {
    return joined({
        "tell application \"Finder\"",
        "    if (count of Finder windows) is 0 then return \"no-window\"",
        "    set viewText to (current view of front Finder window) as text",
        "    set columnName to \"\"",
        "    set directionText to \"\"",
        "    set arrangementText to \"\"",
        "    try",
        "        set columnName to (name of sort column of list view options of front Finder window) as text",
        "    end try",
        "    try",
        "        set directionText to (sort direction of sort column of list view options of front Finder window) as text",
        "    end try",
        "    try",
        "        set arrangementText to (arrangement of icon view options of front Finder window) as text",
        "    end try",
        "    return viewText & \" | list=\" & columnName & \"/\" & directionText & \" | icon=\" & arrangementText",
        "end tell",
    });
}

const std::vector<std::string>& FinderViewAppleScripts::sortNames(FinderSortMode mode) {
    static const std::map<FinderSortMode, std::vector<std::string>> titles{
        {FinderSortMode::none, {}},
        {FinderSortMode::name, {"名称", "Name", "名", "名前", "이름", "Nom", "Nombre", "Nome", "Название", "名稱"}},
        {FinderSortMode::modificationDate,
         {"修改日期", "Date Modified", "変更日", "修正日", "수정일", "Date de modification", "Änderungsdatum",
          "Fecha de modificación", "Data di modifica", "Data de modificação", "Дата изменения"}},
        {FinderSortMode::creationDate,
         {"创建日期", "Date Created", "作成日", "생성일", "Date de création", "Erstellungsdatum", "Fecha de creación",
          "Data di creazione", "Data de criação", "Дата создания", "建立日期"}},
        {FinderSortMode::size, {"大小", "Size", "サイズ", "크기", "Taille", "Größe", "Tamaño", "Dimensioni", "Tamanho", "Размер"}},
        {FinderSortMode::kind, {"种类", "Kind", "種類", "종류", "Type", "Art", "Clase", "Tipo", "Тип"}},
        {FinderSortMode::label,
         {"标签", "Tags", "Tag", "Label", "タグ", "태그", "Étiquettes", "Etiquetas", "Etichette", "Теги", "標籤"}},
    };
    return titles.at(mode);
}

std::string FinderViewAppleScripts::list(const std::vector<std::string>& items) {
    std::string text = "{";
    for (std::size_t i = 0; i < items.size(); ++i) {
        text += i == 0 ? "\"" : ", \"";
        for (const char c : items[i]) {
            text += c == '"' ? std::string("\\\"") : std::string(1, c);
        }
        text += "\"";
    }
    return text + "}";
}

bool FinderViewAppleScripts::showsHiddenFiles(std::string_view defaultsOutput) {
    auto value = trimmedWhitespace(std::string(defaultsOutput));
    std::transform(value.begin(), value.end(), value.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return value == "1" || value == "true" || value == "yes";
}

} // namespace quilla
