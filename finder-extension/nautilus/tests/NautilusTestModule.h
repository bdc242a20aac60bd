#pragma once

#include <string>
#include <vector>

#include <gio/gio.h>

namespace quilla::test {

/// Loads a Nautilus extension module the way GNOME Files does: a GTypeModule whose load opens the
/// library and calls nautilus_module_initialize, whose unload calls nautilus_module_shutdown.
class NautilusTestModule final {
public:
    explicit NautilusTestModule(std::string path);
    ~NautilusTestModule();
    NautilusTestModule(const NautilusTestModule&) = delete;
    NautilusTestModule& operator=(const NautilusTestModule&) = delete;

    /// Whether the library loaded and exported the three entry points.
    bool isLoaded() const { return loaded_; }
    /// What went wrong when it did not.
    const std::string& error() const { return error_; }
    /// The types nautilus_module_list_types reported.
    const std::vector<GType>& types() const { return types_; }
    /// One instance of each type, as Files creates them; one reference each for the caller.
    std::vector<GObject*> createObjects() const;

private:
    GTypeModule* module_ = nullptr;
    bool loaded_ = false;
    std::string error_;
    std::vector<GType> types_;
};

} // namespace quilla::test
