#pragma once

#include "shared/L10n.h"

#include <stdexcept>
#include <string>

namespace quilla {

/// A question that could not be put to anybody (no display, a windowless start, the application
/// quitting, input that has ended). The action fails with this and changes nothing: going on as if
/// the user had cancelled would let an action such as numbered renaming run on default answers.
class PromptUnavailable final : public std::runtime_error {
public:
    /// `title` names the prompt that could not be shown.
    explicit PromptUnavailable(const std::string& title)
        : std::runtime_error(L10n::format<"无法显示“%@”对话框，操作没有执行，文件未做任何更改。">(title)) {}
};

} // namespace quilla
