#pragma once

namespace quilla {

/// The process-wide libvips set-up shared by every image operation. libvips must be started once
/// per process before any call; `ensureStarted` does that the first time it is called, from any
/// thread, and every later call returns at once.
class VipsRuntime final {
public:
    /// Starts libvips with this program's limits: no operation cache (a file rewritten in place is
    /// never answered from a stale decode, and no decoded image outlives its operation), and no
    /// loaders that libvips marks unsafe for untrusted files except the ImageMagick one, which
    /// reads the long tail of formats under the system's ImageMagick policy. Throws
    /// commandFailed when libvips cannot start.
    static void ensureStarted();
};

} // namespace quilla
