#include "app/core/preferences/AppVersion.h"

// Both come from the build (project version and the QUILLA_BUILD_NUMBER cache variable).
#ifndef QUILLA_APP_VERSION
#define QUILLA_APP_VERSION ""
#endif
#ifndef QUILLA_APP_BUILD
#define QUILLA_APP_BUILD ""
#endif

namespace quilla {
namespace {

std::string orUnknown(const char* value) { return *value ? std::string(value) : std::string("Unknown"); }

} // namespace

std::string AppVersion::shortVersion() { return orUnknown(QUILLA_APP_VERSION); }
std::string AppVersion::build() { return orUnknown(QUILLA_APP_BUILD); }

} // namespace quilla
