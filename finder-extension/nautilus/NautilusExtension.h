#pragma once

#include "finder-extension/core/FinderMenuModel.h"
#include "finder-extension/nautilus/NautilusFileSelection.h"
#include "finder-extension/nautilus/NautilusMenuRegistry.h"

#include <cstddef>
#include <functional>
#include <string_view>

#include "finder-extension/nautilus/NautilusApi.h"

namespace quilla {

/// The menu provider's work, behind the GObject shell: builds the menu for each request of
/// GNOME Files, renders it, remembers it, and performs clicked items. Every public call is safe
/// to make from a GObject callback: nothing throws.
class NautilusExtension final {
public:
    /// Which of Files' two requests a menu answers.
    enum class Request { items, background };

    /// Builds the menu for a selection.
    using MenuBuilder = std::function<FinderMenu(const NautilusFileSelection&, Request)>;
    /// Performs a clicked item for the selection its menu was built for.
    using ClickHandler = std::function<void(const FinderMenuItem&, const NautilusFileSelection&)>;

    /// `owner` is the provider object; clicks reach this extension only while it lives.
    NautilusExtension(GObject* owner, MenuBuilder buildMenu, ClickHandler performItem);
    ~NautilusExtension();
    NautilusExtension(const NautilusExtension&) = delete;
    NautilusExtension& operator=(const NautilusExtension&) = delete;

    /// Items for a right-click on `files`; nothing for non-local or no files.
    GList* fileItems(GList* files) noexcept;
    /// Items for a right-click on the background of `folder`; nothing for a non-local folder.
    GList* backgroundItems(NautilusFileInfo* folder) noexcept;
    /// Performs the clicked `item`; an item of a forgotten menu is only logged.
    void activate(NautilusMenuItem* item) noexcept;

    /// Menus currently remembered for clicks.
    std::size_t rememberedMenuCount() const { return registry_.size(); }

private:
    GList* render(const std::optional<NautilusFileSelection>& selection, Request request);
    static void onItemActivated(NautilusMenuItem* item, gpointer owner);

    GObject* owner_;
    MenuBuilder buildMenu_;
    ClickHandler performItem_;
    NautilusMenuRegistry registry_;
};

} // namespace quilla
