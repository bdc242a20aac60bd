#include "app/core/executor/ActionFamilies.h"
#include "app/core/operations/finderview/FinderViewControl.h"

namespace quilla {

void registerFinderViewActions(ActionTable& table, const ExecutorContext& context) {
    // First among the prefixes, so "finderViewPreset__" wins over every other rule.
    table.addPrefix("finderViewPreset__", [context](const ActionRequest&, const std::string& id) {
        FinderViewControl::applyPreset(context, id);
        return ActionResult{};
    });
    table.add("finderViewPreset", [context](const ActionRequest& request) {
        FinderViewControl::applyPreset(context, FinderViewControl::presetID(request));
        return ActionResult{};
    });

    for (const auto& [id, mode] : {std::pair{"finderViewIcon", FinderViewMode::icon},
                                   std::pair{"finderViewList", FinderViewMode::list},
                                   std::pair{"finderViewColumn", FinderViewMode::column},
                                   std::pair{"finderViewGallery", FinderViewMode::gallery}}) {
        table.add(id, [context, mode](const ActionRequest&) {
            FinderViewControl::setViewMode(context, mode);
            return ActionResult{};
        });
    }
    for (const auto& [id, mode] : {std::pair{"finderSortName", FinderSortMode::name},
                                   std::pair{"finderSortModificationDate", FinderSortMode::modificationDate},
                                   std::pair{"finderSortCreationDate", FinderSortMode::creationDate},
                                   std::pair{"finderSortSize", FinderSortMode::size},
                                   std::pair{"finderSortKind", FinderSortMode::kind},
                                   std::pair{"finderSortLabel", FinderSortMode::label}}) {
        table.add(id, [context, mode](const ActionRequest&) {
            FinderViewControl::setSortColumn(context, mode);
            return ActionResult{};
        });
    }
    table.add("toggleHiddenFiles", [context](const ActionRequest&) {
        FinderViewControl::toggleHiddenFiles(context);
        return ActionResult{};
    });
}

} // namespace quilla
