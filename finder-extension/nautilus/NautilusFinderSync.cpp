#include "finder-extension/nautilus/NautilusFinderSync.h"

namespace quilla {

NautilusFinderSync::NautilusFinderSync()
    : launcher_(std::make_unique<DBusQuillaAppLauncher>(DBusQuillaAppLauncher::Mode::asynchronous)),
      sync_(host_, {systemLog_, notifier_, *launcher_}),
      settingsObserver_([this](const auto& userInfo, const auto& object) {
          sync_.handleSettingsChanged(userInfo, object);
      }) {}

NautilusFinderSync::~NautilusFinderSync() {
    // A launcher must go before the FinderSync it serves; the FinderSync never uses it on the way out.
    launcher_.reset();
}

FinderMenu NautilusFinderSync::menu(const NautilusFileSelection& selection,
                                    NautilusExtension::Request request) {
    host_.setSelection(selection.selectedPaths, selection.targetedPath);
    return sync_.menu(request == NautilusExtension::Request::items
                          ? FinderMenuKind::contextualMenuForItems
                          : FinderMenuKind::contextualMenuForContainer);
}

void NautilusFinderSync::perform(const FinderMenuItem& item, const NautilusFileSelection& selection) {
    // The handler reads the host's live selection; in Files that is the one the menu was built for.
    host_.setSelection(selection.selectedPaths, selection.targetedPath);
    sync_.performFeatureChild(item);
}

std::unique_ptr<NautilusExtension> NautilusFinderSync::makeExtension() {
    auto finderSync = std::make_shared<NautilusFinderSync>();
    return std::make_unique<NautilusExtension>(
        [finderSync](const NautilusFileSelection& selection, NautilusExtension::Request request) {
            return finderSync->menu(selection, request);
        },
        [finderSync](const FinderMenuItem& item, const NautilusFileSelection& selection) {
            finderSync->perform(item, selection);
        });
}

} // namespace quilla
