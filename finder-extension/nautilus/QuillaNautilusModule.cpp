// The GObject shell of the module GNOME Files loads: one dynamic type implementing
// NautilusMenuProvider, and the three entry points Files looks up. Everything else lives in
// NautilusExtension; GObject runs no C++ constructors, so the C++ part is created in _init and
// destroyed in _finalize.
#include "finder-extension/nautilus/NautilusApi.h"

#include "finder-extension/nautilus/NautilusBoundary.h"
#include "finder-extension/nautilus/NautilusExtension.h"
#include "finder-extension/nautilus/NautilusFinderSync.h"

namespace {

struct QuillaMenuProvider {
    GObject parent_instance;
    quilla::NautilusExtension* extension;
};

struct QuillaMenuProviderClass {
    GObjectClass parent_class;
};

GType providerTypes[1];

} // namespace

static void quilla_menu_provider_iface_init(NautilusMenuProviderInterface* iface);

G_DEFINE_DYNAMIC_TYPE_EXTENDED(QuillaMenuProvider, quilla_menu_provider, G_TYPE_OBJECT, 0,
                               G_IMPLEMENT_INTERFACE_DYNAMIC(NAUTILUS_TYPE_MENU_PROVIDER,
                                                             quilla_menu_provider_iface_init))

#define QUILLA_MENU_PROVIDER(object)                                                                         \
    (G_TYPE_CHECK_INSTANCE_CAST((object), quilla_menu_provider_get_type(), QuillaMenuProvider))

static GList* quilla_menu_provider_get_file_items(NautilusMenuProvider* provider, GList* files) {
    quilla::NautilusExtension* extension = QUILLA_MENU_PROVIDER(provider)->extension;
    return extension ? extension->fileItems(files) : nullptr;
}

static GList* quilla_menu_provider_get_background_items(NautilusMenuProvider* provider,
                                                        NautilusFileInfo* folder) {
    quilla::NautilusExtension* extension = QUILLA_MENU_PROVIDER(provider)->extension;
    return extension ? extension->backgroundItems(folder) : nullptr;
}

static void quilla_menu_provider_iface_init(NautilusMenuProviderInterface* iface) {
    iface->get_file_items = quilla_menu_provider_get_file_items;
    iface->get_background_items = quilla_menu_provider_get_background_items;
}

static void quilla_menu_provider_init(QuillaMenuProvider* self) {
    self->extension =
        quilla::callAtBoundary("create provider", static_cast<quilla::NautilusExtension*>(nullptr),
                               [&] { return quilla::NautilusFinderSync::makeExtension().release(); });
}

static void quilla_menu_provider_finalize(GObject* object) {
    QuillaMenuProvider* self = QUILLA_MENU_PROVIDER(object);
    quilla::callAtBoundary("finalize provider", [&] { delete self->extension; });
    self->extension = nullptr;
    G_OBJECT_CLASS(quilla_menu_provider_parent_class)->finalize(object);
}

static void quilla_menu_provider_class_init(QuillaMenuProviderClass* klass) {
    G_OBJECT_CLASS(klass)->finalize = quilla_menu_provider_finalize;
}

static void quilla_menu_provider_class_finalize(QuillaMenuProviderClass*) {}

// The module is built with hidden visibility; these three are what Files looks up.
#define QUILLA_NAUTILUS_ENTRY_POINT __attribute__((visibility("default")))

QUILLA_NAUTILUS_ENTRY_POINT void nautilus_module_initialize(GTypeModule* module) {
    quilla::callAtBoundary("nautilus_module_initialize", [&] {
        quilla_menu_provider_register_type(module);
        providerTypes[0] = quilla_menu_provider_get_type();
    });
}

QUILLA_NAUTILUS_ENTRY_POINT void nautilus_module_shutdown(void) {}

QUILLA_NAUTILUS_ENTRY_POINT void nautilus_module_list_types(const GType** types, int* num_types) {
    *types = providerTypes;
    *num_types = providerTypes[0] != G_TYPE_INVALID ? G_N_ELEMENTS(providerTypes) : 0;
}
