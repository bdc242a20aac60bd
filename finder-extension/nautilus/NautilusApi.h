#pragma once

// libnautilus-extension-4 for C++. Its main header declares the three module entry points outside
// its C-linkage block, so in C++ they would get mangled names Files cannot find; including it in
// a C block fixes that. GLib's headers come first and outside the block: they hold C++ templates.
#include <gio/gio.h>

extern "C" {
#include <nautilus-extension.h>
}
