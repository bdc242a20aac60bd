// quilla:// URLs come from any web page or program. Any bytes must parse to a request or to
// nothing, never crash; and what is accepted must be what an honest sender could mean: no NUL in a
// value, only absolute paths, nothing from a URL longer than the limit.
#include "app/core/url/QuillaURLRequest.h"
#include "fuzz/FuzzSupport.h"

using namespace quilla;

namespace {

bool holdsNul(const std::optional<std::string>& value) {
    return value && value->find('\0') != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto url = fuzz::bytesOf(data, size);
    const auto request = QuillaURLRequest::parse(url);
    if (!request) {
        return 0;
    }
    fuzz::require(url.size() <= QuillaURLRequest::maximumLength, "no request from an over-long URL");
    for (const auto& path : request->paths) {
        fuzz::require(path.starts_with('/'), "selected paths are absolute");
        fuzz::require(path.find('\0') == std::string::npos, "no NUL in a path");
    }
    fuzz::require(!request->target || request->target->starts_with('/'), "the target is absolute");
    fuzz::require(!holdsNul(request->target) && !holdsNul(request->destination) && !holdsNul(request->presetID) &&
                      !holdsNul(request->actionTitle) && request->actionID.find('\0') == std::string::npos,
                  "no NUL in a value");
    return 0;
}
