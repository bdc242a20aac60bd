#pragma once

#include <glib-object.h>

#include <memory>

namespace quilla {

/// Drops one GObject reference.
struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};

/// Owns one reference to a GObject of type T.
template <class T> using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

/// Frees a string GLib allocated.
struct GStringFree {
    void operator()(char* text) const { g_free(text); }
};

/// Owns a string GLib allocated.
using GCharPtr = std::unique_ptr<char, GStringFree>;

} // namespace quilla
