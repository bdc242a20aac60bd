#include "app/core/operations/imagepdf/VipsRuntime.h"

#include "app/core/executor/FinderActionExecutionError.h"

#include <vips/vips8>

#include <mutex>
#include <string>

namespace quilla {

void VipsRuntime::ensureStarted() {
    static std::once_flag once;
    static std::string failure;
    std::call_once(once, [] {
        if (VIPS_INIT("quilla") != 0) {
            failure = vips_error_buffer();
            vips_error_clear();
            if (failure.empty()) failure = "libvips";
            return;
        }
        vips_cache_set_max(0);
        vips_block_untrusted_set(TRUE);
        vips_operation_block_set("VipsForeignLoadMagick", FALSE);
    });
    if (!failure.empty()) {
        throw FinderActionExecutionError::commandFailed(failure);
    }
}

} // namespace quilla
