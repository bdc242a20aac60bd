#pragma once

#include "finder-extension/core/FinderMenuModel.h"
#include "finder-extension/nautilus/NautilusApi.h"
#include "finder-extension/nautilus/NautilusFileSelection.h"
#include "finder-extension/nautilus/NautilusMenuRegistry.h"

#include <cstddef>
#include <functional>

namespace quilla {

/// The menu provider's work, behind the GObject shell: builds the menu for each request of
/// GNOME Files, renders it, remembers it, and performs clicked items. Every public call is safe
/// to make from a GObject callback: nothing throws.
///
/// Clicks arrive through one emission hook on the "activate" signal of all Nautilus menu items,
/// not through a handler per item: Files leaks every submenu item of every menu, so whatever an
/// item holds is lost on each selection change.
class NautilusExtension final {
public:
    /// Which of Files' two requests a menu answers.
    enum class Request { items, background };

    /// Builds the menu for a selection.
    using MenuBuilder = std::function<FinderMenu(const NautilusFileSelection&, Request)>;
    /// Performs a clicked item for the selection its menu was built for.
    using ClickHandler = std::function<void(const FinderMenuItem&, const NautilusFileSelection&)>;

    NautilusExtension(MenuBuilder buildMenu, ClickHandler performItem);
    /// Stops listening for clicks: items still in Files do nothing afterwards.
    ~NautilusExtension();
    NautilusExtension(const NautilusExtension&) = delete;
    NautilusExtension& operator=(const NautilusExtension&) = delete;

    /// Items for a right-click on `files`; nothing for non-local or no files.
    GList* fileItems(GList* files) noexcept;
    /// Items for a right-click on the background of `folder`; nothing for a non-local folder.
    GList* backgroundItems(NautilusFileInfo* folder) noexcept;
    /// Performs the clicked `item` if it is one of ours; an item of a forgotten menu is only logged.
    void activate(NautilusMenuItem* item) noexcept;

    /// Menus currently remembered for clicks.
    std::size_t rememberedMenuCount() const { return registry_.size(); }

private:
    GList* render(const std::optional<NautilusFileSelection>& selection, Request request);
    static gboolean onActivateEmission(GSignalInvocationHint* hint, guint count, const GValue* values,
                                       gpointer self);

    MenuBuilder buildMenu_;
    ClickHandler performItem_;
    NautilusMenuRegistry registry_;
    GQuark idKey_; // unique to this extension, so it never takes another one's items
    guint activateSignal_;
    gulong activateHook_;
};

} // namespace quilla
