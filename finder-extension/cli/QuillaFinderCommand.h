#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quilla {

/// The command-line host quilla-finder: prints the context menu for a selection, performs one of
/// its items exactly as a file manager would, or lists the watched folders.
class QuillaFinderCommand final {
public:
    /// Exit codes: 0 done, 1 the click queued nothing, 2 usage error.
    static int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

    static constexpr const char* usage =
        "usage: quilla-finder menu [--selected PATH]... [--target DIR] [--kind N] [--json]\n"
        "       quilla-finder click \"TITLE > TITLE > ...\" [--selected PATH]... [--target DIR] [--without-context]\n"
        "       quilla-finder directories\n"
        "click prints the queue file it wrote; it exits with 1 when nothing was queued, 2 on usage errors.\n";
};

} // namespace quilla
