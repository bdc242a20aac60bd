#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quilla::fuzz {

/// The fuzz input as text (bytes, not necessarily UTF-8).
inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

/// Splits one input into `count` parts at the separator line "\n--8<--\n", so a target can read
/// several files from one input and a seed stays readable. Missing parts are empty.
std::vector<std::string_view> splitParts(std::string_view input, std::size_t count);
inline constexpr std::string_view kPartSeparator = "\n--8<--\n";

/// Points HOME and every XDG folder at a private scratch folder, made on the first call and
/// removed at exit, so a target reads and writes nothing of the user's and nothing of another run.
/// Gives that folder.
const std::filesystem::path& useScratchHome();

/// Ends the run as a crash (which libFuzzer and the corpus replay both report) when `holds` is
/// false: for properties that are faults without crashing, such as a written file that does not
/// read back.
void require(bool holds, std::string_view property);

} // namespace quilla::fuzz
