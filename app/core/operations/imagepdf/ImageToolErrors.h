#pragma once

#include "app/core/executor/FinderActionExecutionError.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace quilla {

// The commandFailed errors of the image tools. Each names the file concerned; `detail` is
// libvips' own sentence (the tool's message), kept to its first line.

/// "无法读取图片：PATH（detail）": not an image, or an image libvips cannot open.
FinderActionExecutionError imageReadFailed(const std::filesystem::path& path, const std::string& detail);

/// "图片处理失败：PATH（detail）": decoding, resampling or encoding stopped half-way
/// (a truncated or damaged image, a full disk).
FinderActionExecutionError imageProcessingFailed(const std::filesystem::path& path, const std::string& detail);

/// "图片尺寸过大：WHAT（W × H）": refused before any pixel is decoded or made.
FinderActionExecutionError imageTooLarge(const std::string& what, std::uint64_t width, std::uint64_t height);

/// Throws imageProcessingFailed when libvips recorded an error during a pass that reported
/// success: a failure in one worker thread can be lost on the way back, and an image must never
/// be taken for whole when part of it failed to decode. Call vips_error_clear() before the pass.
void failOnRecordedVipsError(const std::filesystem::path& source);

/// libvips' pending error sentence (first line, trimmed), then clears it.
std::string takeVipsError();

/// The first line of `message`, trimmed.
std::string firstLine(const std::string& message);

} // namespace quilla
