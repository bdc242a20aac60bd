#include "finder-extension/nautilus/tests/NautilusTestModule.h"

#include <gmodule.h>

namespace {

struct TestTypeModule {
    GTypeModule parent_instance;
    char* path;
    GModule* library;
    const char* error;
    void (*initialize)(GTypeModule*);
    void (*shutdown)(void);
    void (*list_types)(const GType**, int*);
};

struct TestTypeModuleClass {
    GTypeModuleClass parent_class;
};

G_DEFINE_TYPE(TestTypeModule, test_type_module, G_TYPE_TYPE_MODULE)

TestTypeModule* moduleOf(GTypeModule* module) {
    return reinterpret_cast<TestTypeModule*>(module);
}

template <class Function> bool lookUp(GModule* library, const char* name, Function* function) {
    gpointer symbol = nullptr;
    if (!g_module_symbol(library, name, &symbol)) {
        return false;
    }
    *function = reinterpret_cast<Function>(symbol);
    return true;
}

gboolean test_type_module_load(GTypeModule* gmodule) {
    TestTypeModule* module = moduleOf(gmodule);
    module->library = g_module_open(module->path, GModuleFlags(G_MODULE_BIND_LAZY | G_MODULE_BIND_LOCAL));
    if (!module->library) {
        module->error = "the library does not load";
        return FALSE;
    }
    if (!lookUp(module->library, "nautilus_module_initialize", &module->initialize) ||
        !lookUp(module->library, "nautilus_module_shutdown", &module->shutdown) ||
        !lookUp(module->library, "nautilus_module_list_types", &module->list_types)) {
        g_module_close(module->library);
        module->library = nullptr;
        module->error = "an entry point is missing";
        return FALSE;
    }
    module->initialize(gmodule);
    return TRUE;
}

void test_type_module_unload(GTypeModule* gmodule) {
    TestTypeModule* module = moduleOf(gmodule);
    module->shutdown();
    g_module_close(module->library);
    module->library = nullptr;
    module->error = nullptr;
}

void test_type_module_finalize(GObject* object) {
    g_free(moduleOf(G_TYPE_MODULE(object))->path);
    G_OBJECT_CLASS(test_type_module_parent_class)->finalize(object);
}

void test_type_module_class_init(TestTypeModuleClass* klass) {
    G_TYPE_MODULE_CLASS(klass)->load = test_type_module_load;
    G_TYPE_MODULE_CLASS(klass)->unload = test_type_module_unload;
    G_OBJECT_CLASS(klass)->finalize = test_type_module_finalize;
}

void test_type_module_init(TestTypeModule* module) {
    module->path = nullptr;
    module->library = nullptr;
}

} // namespace

namespace quilla::test {

NautilusTestModule::NautilusTestModule(std::string path) {
    module_ = G_TYPE_MODULE(g_object_new(test_type_module_get_type(), nullptr));
    moduleOf(module_)->path = g_strdup(path.c_str());
    g_type_module_set_name(module_, path.c_str());
    if (!g_type_module_use(module_)) {
        const char* error = moduleOf(module_)->error;
        error_ = error ? error : "unknown failure";
        return;
    }
    loaded_ = true;
    const GType* types = nullptr;
    int count = 0;
    moduleOf(module_)->list_types(&types, &count);
    types_.assign(types, types + count);
    // Like Files: the module stays in use while objects of its types exist.
    g_type_module_unuse(module_);
}

NautilusTestModule::~NautilusTestModule() {
    // A GTypeModule is never finalized once it registered types; Files keeps its modules too.
}

std::vector<GObject*> NautilusTestModule::createObjects() const {
    std::vector<GObject*> objects;
    for (const GType type : types_) {
        objects.push_back(G_OBJECT(g_object_new(type, nullptr)));
    }
    return objects;
}

} // namespace quilla::test
