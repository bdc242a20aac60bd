#include "finder-extension/nautilus/tests/FakeNautilusFileInfo.h"

#include <stdexcept>

namespace {

struct FakeFileInfo {
    GObject parent_instance;
    GFile* location;
    gboolean throws;
};

struct FakeFileInfoClass {
    GObjectClass parent_class;
};

void fake_file_info_iface_init(NautilusFileInfoInterface* iface);

G_DEFINE_TYPE_WITH_CODE(FakeFileInfo, fake_file_info, G_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(NAUTILUS_TYPE_FILE_INFO, fake_file_info_iface_init))

FakeFileInfo* fakeOf(NautilusFileInfo* info) {
    return reinterpret_cast<FakeFileInfo*>(info);
}

GFile* fake_get_location(NautilusFileInfo* info) {
    if (fakeOf(info)->throws) {
        throw std::runtime_error("location look-up failed");
    }
    return G_FILE(g_object_ref(fakeOf(info)->location));
}

void fake_file_info_iface_init(NautilusFileInfoInterface* iface) {
    // The module asks for the location only; nothing else needs to work.
    iface->get_location = fake_get_location;
}

void fake_file_info_finalize(GObject* object) {
    g_clear_object(&reinterpret_cast<FakeFileInfo*>(object)->location);
    G_OBJECT_CLASS(fake_file_info_parent_class)->finalize(object);
}

void fake_file_info_class_init(FakeFileInfoClass* klass) {
    G_OBJECT_CLASS(klass)->finalize = fake_file_info_finalize;
}

void fake_file_info_init(FakeFileInfo* self) {
    self->location = nullptr;
    self->throws = FALSE;
}

NautilusFileInfo* makeInfo(GFile* location, gboolean throws) {
    auto* info = static_cast<FakeFileInfo*>(g_object_new(fake_file_info_get_type(), nullptr));
    info->location = location;
    info->throws = throws;
    return NAUTILUS_FILE_INFO(info);
}

} // namespace

namespace quilla::test {

NautilusFileInfo* makeFakeFileInfo(const std::string& uri) {
    return makeInfo(g_file_new_for_uri(uri.c_str()), FALSE);
}

NautilusFileInfo* makeFakeFileInfoForPath(const std::string& path) {
    return makeInfo(g_file_new_for_path(path.c_str()), FALSE);
}

NautilusFileInfo* makeThrowingFileInfo() {
    return makeInfo(g_file_new_for_path("/"), TRUE);
}

GList* makeFakeFileInfoList(const std::vector<std::string>& paths) {
    GList* files = nullptr;
    for (const auto& path : paths) {
        files = g_list_append(files, makeFakeFileInfoForPath(path));
    }
    return files;
}

void freeFileInfoList(GList* files) {
    g_list_free_full(files, g_object_unref);
}

} // namespace quilla::test
