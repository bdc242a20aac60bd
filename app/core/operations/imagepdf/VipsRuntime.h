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

    /// Loads libvips' plug-ins (HEIF, JPEG XL, ImageMagick, …), which start deferred: only a file
    /// that libvips' own loaders do not recognise needs them. True when this call loaded them.
    static bool loadPlugins();

    /// For one pass in which every step is sequential (a decoder feeding the JPEG encoder, nothing
    /// resampled): one worker computes while libvips' writer thread encodes. A second worker only
    /// waits on the decoder and slows the pass down (a 24-megapixel JPEG at quality 70 on two
    /// cores: 0.15 s with one worker, 0.17 s with two). The setting is libvips' own, process-wide:
    /// it holds while any such pass runs, and the last one to end puts it back.
    class SingleWorkerPass final {
    public:
        SingleWorkerPass();
        ~SingleWorkerPass();
        SingleWorkerPass(const SingleWorkerPass&) = delete;
        SingleWorkerPass& operator=(const SingleWorkerPass&) = delete;
    };
};

} // namespace quilla
