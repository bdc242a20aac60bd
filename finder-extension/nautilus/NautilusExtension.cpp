#include "finder-extension/nautilus/NautilusExtension.h"

#include "finder-extension/nautilus/NautilusBoundary.h"
#include "finder-extension/nautilus/NautilusMenuRenderer.h"
#include "finder-extension/nautilus/NautilusSystemLog.h"

#include <memory>
#include <string>

namespace quilla {
namespace {

GQuark extensionQuark() {
    static const GQuark quark = g_quark_from_string("quilla-nautilus-extension");
    return quark;
}

} // namespace

NautilusExtension::NautilusExtension(GObject* owner, MenuBuilder buildMenu, ClickHandler performItem)
    : owner_(owner), buildMenu_(std::move(buildMenu)), performItem_(std::move(performItem)) {
    g_object_set_qdata(owner_, extensionQuark(), this);
}

NautilusExtension::~NautilusExtension() { g_object_set_qdata(owner_, extensionQuark(), nullptr); }

GList* NautilusExtension::fileItems(GList* files) noexcept {
    return callAtBoundary("get_file_items", static_cast<GList*>(nullptr),
                          [&] { return render(NautilusFileSelection::forFiles(files), Request::items); });
}

GList* NautilusExtension::backgroundItems(NautilusFileInfo* folder) noexcept {
    return callAtBoundary("get_background_items", static_cast<GList*>(nullptr),
                          [&] { return render(NautilusFileSelection::forFolder(folder), Request::background); });
}

GList* NautilusExtension::render(const std::optional<NautilusFileSelection>& selection, Request request) {
    if (!selection) {
        return nullptr;
    }
    auto model = std::make_shared<const FinderMenu>(buildMenu_(*selection, request));
    const auto generation = registry_.nextGeneration();
    NautilusMenuRenderer renderer(request == Request::items ? "QuillaFile" : "QuillaBackground", generation,
                                  {G_CALLBACK(onItemActivated), owner_});
    auto items = renderer.render(*model);
    registry_.add(generation, {std::move(model), renderer.takeActionableItems(), *selection});
    return NautilusMenuRenderer::toList(std::move(items));
}

void NautilusExtension::activate(NautilusMenuItem* item) noexcept {
    callAtBoundary("activate", [&] {
        const auto id = NautilusMenuRenderer::itemID(item);
        const auto found = id ? registry_.find(*id) : std::nullopt;
        if (!found) {
            NautilusSystemLog::write(FinderSystemLog::Level::notice, "FinderSync",
                                     "clicked item of a menu no longer remembered");
            return;
        }
        performItem_(found->item, found->menu.selection);
    });
}

void NautilusExtension::onItemActivated(NautilusMenuItem* item, gpointer owner) {
    auto* extension = static_cast<NautilusExtension*>(g_object_get_qdata(G_OBJECT(owner), extensionQuark()));
    if (extension) {
        extension->activate(item);
    }
}

} // namespace quilla
