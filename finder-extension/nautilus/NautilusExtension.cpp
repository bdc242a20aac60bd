#include "finder-extension/nautilus/NautilusExtension.h"

#include "finder-extension/nautilus/NautilusBoundary.h"
#include "finder-extension/nautilus/NautilusMenuRenderer.h"
#include "finder-extension/nautilus/NautilusSystemLog.h"

#include <atomic>
#include <memory>
#include <string>

namespace quilla {
namespace {

GQuark newItemIDKey() {
    static std::atomic<unsigned> extensions{0};
    const std::string key = "quilla-menu-item-id-" + std::to_string(++extensions);
    return g_quark_from_string(key.c_str());
}

guint menuItemActivateSignal() {
    // Signals exist once their class does; the class of a static type is kept for the process.
    static const guint signal = [] {
        g_type_class_ref(NAUTILUS_TYPE_MENU_ITEM);
        return g_signal_lookup("activate", NAUTILUS_TYPE_MENU_ITEM);
    }();
    return signal;
}

} // namespace

NautilusExtension::NautilusExtension(MenuBuilder buildMenu, ClickHandler performItem)
    : buildMenu_(std::move(buildMenu)), performItem_(std::move(performItem)), idKey_(newItemIDKey()),
      activateSignal_(menuItemActivateSignal()),
      activateHook_(g_signal_add_emission_hook(activateSignal_, 0, onActivateEmission, this, nullptr)) {}

NautilusExtension::~NautilusExtension() {
    if (activateHook_ != 0) {
        g_signal_remove_emission_hook(activateSignal_, activateHook_);
    }
}

GList* NautilusExtension::fileItems(GList* files) noexcept {
    return callAtBoundary("get_file_items", static_cast<GList*>(nullptr),
                          [&] { return render(NautilusFileSelection::forFiles(files), Request::items); });
}

GList* NautilusExtension::backgroundItems(NautilusFileInfo* folder) noexcept {
    return callAtBoundary("get_background_items", static_cast<GList*>(nullptr), [&] {
        return render(NautilusFileSelection::forFolder(folder), Request::background);
    });
}

GList* NautilusExtension::render(const std::optional<NautilusFileSelection>& selection, Request request) {
    if (!selection) {
        return nullptr;
    }
    auto model = std::make_shared<FinderMenu>(buildMenu_(*selection, request));
    NautilusMenuRegistry::dropSelectionCopies(*model);
    const auto generation = registry_.nextGeneration();
    NautilusMenuRenderer renderer(request == Request::items ? "QuillaFile" : "QuillaBackground", generation,
                                  idKey_);
    auto items = renderer.render(*model);
    registry_.add(generation, {std::move(model), renderer.takeActionableItems(), *selection});
    return NautilusMenuRenderer::toList(std::move(items));
}

void NautilusExtension::activate(NautilusMenuItem* item) noexcept {
    callAtBoundary("activate", [&] {
        const auto id = NautilusMenuRenderer::itemID(item, idKey_);
        if (!id) {
            return; // another extension's item, or one that only opens a submenu
        }
        const auto found = registry_.find(*id);
        if (!found) {
            NautilusSystemLog::write(FinderSystemLog::Level::notice, "FinderSync",
                                     "clicked item of a menu no longer remembered");
            return;
        }
        performItem_(found->item, found->menu.selection);
    });
}

gboolean NautilusExtension::onActivateEmission(GSignalInvocationHint*, guint count, const GValue* values,
                                               gpointer self) {
    if (count > 0 && G_VALUE_HOLDS(&values[0], NAUTILUS_TYPE_MENU_ITEM)) {
        static_cast<NautilusExtension*>(self)->activate(NAUTILUS_MENU_ITEM(g_value_get_object(&values[0])));
    }
    return TRUE; // stay installed
}

} // namespace quilla
