#include "app/core/operations/imagepdf/VipsRuntime.h"

#include "app/core/executor/FinderActionExecutionError.h"

#include <vips/vips8>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <gmodule.h>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace quilla {
namespace {

namespace fs = std::filesystem;

// libvips loads every plug-in of its modules folder when it starts, and with their libraries they
// are most of the start of an image action (the HEIF decoder alone builds its tables at load). Two
// read formats this program never opens as images (PDF through poppler, slides through openslide:
// their loaders are blocked as untrusted). So libvips starts without its modules folder, and the
// other plug-ins are loaded from it only for a file that none of libvips' own loaders (JPEG, PNG,
// TIFF, WebP, GIF) recognises.
constexpr std::array<std::string_view, 2> kUnusedPlugins = {"vips-poppler.so", "vips-openslide.so"};

/// libvips' own modules folder, beside the library (…/vips-modules-8.14).
std::optional<fs::path> pluginFolder() {
    Dl_info library{};
    if (::dladdr(reinterpret_cast<void*>(&vips_init), &library) == 0 || library.dli_fname == nullptr) {
        return std::nullopt;
    }
    const auto folder =
        fs::path(library.dli_fname).parent_path() /
        ("vips-modules-" + std::to_string(VIPS_MAJOR_VERSION) + "." + std::to_string(VIPS_MINOR_VERSION));
    std::error_code ec;
    return fs::is_directory(folder, ec) ? std::optional(folder) : std::nullopt;
}

/// The folder whose plug-ins are still to be loaded; empty once they are.
std::optional<fs::path>& deferredPlugins() {
    static std::optional<fs::path> folder;
    return folder;
}

std::mutex& pluginMutex() {
    static std::mutex mutex;
    return mutex;
}

void openPlugins(const fs::path& folder) {
    std::vector<fs::path> plugins;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const auto name = it->path().filename().string();
        if (it->path().extension() == ".so" &&
            std::find(kUnusedPlugins.begin(), kUnusedPlugins.end(), name) == kUnusedPlugins.end()) {
            plugins.push_back(it->path());
        }
    }
    std::sort(plugins.begin(), plugins.end()); // the order libvips would load them in
    for (const auto& plugin : plugins) {
        // Registers the plug-in's loaders and savers; it stays loaded. One that fails to load only
        // takes its formats away, as with libvips' own loading.
        (void)g_module_open(plugin.c_str(), G_MODULE_BIND_LAZY);
    }
}

// Loaders libvips marks unsafe for untrusted files stay blocked, except the ImageMagick one. Done
// again after plug-ins are loaded, for the operations they bring.
void blockUntrustedLoaders() {
    vips_block_untrusted_set(TRUE);
    vips_operation_block_set("VipsForeignLoadMagick", FALSE);
}

/// The installation prefix libvips finds for itself (/usr for /usr/lib/x86_64-linux-gnu/…): the
/// folder above the "lib" its plug-in folder lies in.
std::string vipsPrefix(const fs::path& pluginFolder) {
    for (auto folder = pluginFolder; folder.has_relative_path(); folder = folder.parent_path()) {
        if (folder.filename() == "lib") {
            return folder.parent_path().string();
        }
    }
    return "/usr";
}

/// VIPS_INIT with libvips looking for its plug-ins in a folder that does not exist. libvips
/// itself puts VIPSHOME into the environment when it starts (it always has); afterwards it is
/// given the value libvips would have chosen, so that programs started later, a user's scripts
/// using libvips among them, load their plug-ins. Both changes replace the value in place, which
/// threads reading the environment meanwhile tolerate.
bool startWithoutPlugins(const char* program, const fs::path& pluginFolder) {
    ::setenv("VIPSHOME", "/nonexistent/quilla-without-vips-plugins", 1);
    const bool started = VIPS_INIT(program) == 0;
    ::setenv("VIPSHOME", vipsPrefix(pluginFolder).c_str(), 1);
    return started;
}

} // namespace

void VipsRuntime::ensureStarted() {
    static std::once_flag once;
    static std::string failure;
    std::call_once(once, [] {
        const auto plugins = std::getenv("VIPSHOME") ? std::nullopt : pluginFolder();
        const bool started = plugins ? startWithoutPlugins("quilla", *plugins) : VIPS_INIT("quilla") == 0;
        if (!started) {
            failure = vips_error_buffer();
            vips_error_clear();
            if (failure.empty())
                failure = "libvips";
            return;
        }
        deferredPlugins() = plugins;
        vips_cache_set_max(0);
        blockUntrustedLoaders();
    });
    if (!failure.empty()) {
        throw FinderActionExecutionError::commandFailed(failure);
    }
}

bool VipsRuntime::loadPlugins() {
    ensureStarted();
    const std::lock_guard lock(pluginMutex());
    auto& folder = deferredPlugins();
    if (!folder) {
        return false;
    }
    openPlugins(*folder);
    folder.reset();
    blockUntrustedLoaders();
    return true;
}

namespace {

// Passes may overlap (the queue's worker and the main thread both run actions): the first one in
// keeps libvips' setting, the last one out puts it back.
struct SingleWorkerPasses {
    std::mutex mutex;
    int running = 0;
    int previousWorkers = 0;
};

SingleWorkerPasses& singleWorkerPasses() {
    static SingleWorkerPasses passes;
    return passes;
}

} // namespace

VipsRuntime::SingleWorkerPass::SingleWorkerPass() {
    auto& passes = singleWorkerPasses();
    const std::lock_guard lock(passes.mutex);
    if (passes.running++ == 0) {
        passes.previousWorkers = vips_concurrency_get();
        vips_concurrency_set(1);
    }
}

VipsRuntime::SingleWorkerPass::~SingleWorkerPass() {
    auto& passes = singleWorkerPasses();
    const std::lock_guard lock(passes.mutex);
    if (--passes.running == 0) {
        vips_concurrency_set(passes.previousWorkers);
    }
}

} // namespace quilla
