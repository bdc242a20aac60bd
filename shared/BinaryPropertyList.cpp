#include "shared/BinaryPropertyList.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace quilla::plist {
namespace {

constexpr std::string_view kMagic = "bplist00";
constexpr std::size_t kTrailerBytes = 32;
constexpr unsigned char kDateMarker = 0x33;

std::uint64_t bigEndian(std::string_view bytes, std::size_t at, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

struct Trailer {
    std::size_t offsetWidth;
    std::size_t referenceWidth;
    std::uint64_t objectCount;
    std::uint64_t rootObject;
    std::uint64_t offsetTable;
};

std::optional<Trailer> trailerOf(std::string_view bytes) {
    if (bytes.size() < kMagic.size() + kTrailerBytes || !bytes.starts_with(kMagic)) {
        return std::nullopt;
    }
    const std::size_t at = bytes.size() - kTrailerBytes;
    Trailer trailer{static_cast<unsigned char>(bytes[at + 6]), static_cast<unsigned char>(bytes[at + 7]),
                    bigEndian(bytes, at + 8, 8), bigEndian(bytes, at + 16, 8), bigEndian(bytes, at + 24, 8)};
    const bool widthsValid = trailer.offsetWidth >= 1 && trailer.offsetWidth <= 8 &&
                             trailer.referenceWidth >= 1 && trailer.referenceWidth <= 8;
    if (!widthsValid) {
        return std::nullopt; // before the division below, which a width of 0 would crash
    }
    // Division instead of multiplication, so a huge count cannot overflow the bound.
    const bool tableFits = trailer.offsetTable >= kMagic.size() && trailer.offsetTable <= at &&
                           trailer.objectCount > 0 &&
                           trailer.objectCount <= (at - trailer.offsetTable) / trailer.offsetWidth;
    if (!tableFits || trailer.rootObject >= trailer.objectCount) {
        return std::nullopt;
    }
    return trailer;
}

enum class Kind { leaf, string, container, dictionary };

/// One object's header: what it holds and, for containers, where its references start.
struct Object {
    Kind kind = Kind::leaf;
    std::uint64_t count = 0;    // references (a dictionary holds twice `count`)
    std::size_t references = 0; // offset of the first reference
};

class Scanner final {
public:
    Scanner(std::string_view bytes, const Trailer& trailer) : bytes_(bytes), trailer_(trailer) {}

    std::optional<Object> object(std::uint64_t index) const {
        const std::uint64_t offset =
            bigEndian(bytes_, trailer_.offsetTable + index * trailer_.offsetWidth, trailer_.offsetWidth);
        if (offset < kMagic.size() || offset >= end()) {
            return std::nullopt;
        }
        return objectAt(offset);
    }

    std::uint64_t reference(const Object& object, std::uint64_t i) const {
        return bigEndian(bytes_, object.references + i * trailer_.referenceWidth, trailer_.referenceWidth);
    }

    std::uint64_t referenceCount(const Object& object) const {
        return object.kind == Kind::dictionary ? object.count * 2 : object.count;
    }

private:
    std::size_t end() const { return bytes_.size() - kTrailerBytes; }

    bool fits(std::size_t at, std::uint64_t length) const { return at <= end() && length <= end() - at; }

    // The length in the marker's low nibble, or (nibble 0xF) in the integer object that follows.
    std::optional<std::pair<std::uint64_t, std::size_t>> lengthAt(std::size_t offset) const {
        const unsigned nibble = static_cast<unsigned char>(bytes_[offset]) & 0x0F;
        if (nibble != 0x0F) {
            return std::pair{std::uint64_t{nibble}, offset + 1};
        }
        if (!fits(offset + 1, 1)) {
            return std::nullopt;
        }
        const auto marker = static_cast<unsigned char>(bytes_[offset + 1]);
        const std::size_t width = std::size_t{1} << (marker & 0x0F);
        if ((marker & 0xF0) != 0x10 || width > 8 || !fits(offset + 2, width)) {
            return std::nullopt;
        }
        return std::pair{bigEndian(bytes_, offset + 2, width), offset + 2 + width};
    }

    std::optional<Object> leaf(std::size_t payload, std::uint64_t length) const {
        return fits(payload, length) ? std::optional(Object{}) : std::nullopt;
    }

    bool hasNoNul(std::size_t at, std::uint64_t length, std::size_t unit) const {
        for (std::uint64_t i = 0; i < length; i += unit) {
            if (bigEndian(bytes_, at + i, unit) == 0) {
                return false;
            }
        }
        return true;
    }

    std::optional<Object> objectAt(std::size_t offset) const {
        const auto marker = static_cast<unsigned char>(bytes_[offset]);
        const unsigned low = marker & 0x0F;
        switch (marker >> 4) {
        case 0x0:
            return (low == 0x0 || low == 0x8 || low == 0x9 || low == 0xF) ? std::optional(Object{})
                                                                          : std::nullopt;
        case 0x1:
            return low <= 4 ? leaf(offset + 1, std::uint64_t{1} << low) : std::nullopt;
        case 0x2:
            return (low == 2 || low == 3) ? leaf(offset + 1, std::uint64_t{1} << low) : std::nullopt;
        case 0x3:
            return marker == kDateMarker ? leaf(offset + 1, 8) : std::nullopt;
        case 0x8:
            return leaf(offset + 1, std::uint64_t{low} + 1);
        default:
            return sizedObjectAt(offset, marker >> 4);
        }
    }

    std::optional<Object> sizedObjectAt(std::size_t offset, unsigned type) const {
        const auto length = lengthAt(offset);
        if (!length) {
            return std::nullopt;
        }
        const auto [count, payload] = *length;
        const auto width = static_cast<std::uint64_t>(trailer_.referenceWidth);
        switch (type) {
        case 0x4:
            return leaf(payload, count);
        case 0x5:
            return fits(payload, count) && hasNoNul(payload, count, 1) ? std::optional(Object{Kind::string})
                                                                       : std::nullopt;
        case 0x6:
            return count <= end() / 2 && fits(payload, count * 2) && hasNoNul(payload, count * 2, 2)
                       ? std::optional(Object{Kind::string})
                       : std::nullopt;
        case 0xA:
        case 0xC:
            return count <= end() / width && fits(payload, count * width)
                       ? std::optional(Object{Kind::container, count, payload})
                       : std::nullopt;
        case 0xD:
            return count <= end() / (2 * width) && fits(payload, count * 2 * width)
                       ? std::optional(Object{Kind::dictionary, count, payload})
                       : std::nullopt;
        default:
            return std::nullopt;
        }
    }

    std::string_view bytes_;
    Trailer trailer_;
};

/// Per object: its height (levels of containers from it down) and the nodes its tree expands to.
struct Measure {
    int height = 0;
    std::size_t nodes = 0;
};

/// A depth-first walk with an explicit stack; an object on the current path met again is a cycle.
class TreeWalk final {
public:
    TreeWalk(const Scanner& scanner, std::uint64_t objectCount, BinaryPropertyList::Limits limits)
        : scanner_(scanner), limits_(limits), state_(objectCount, State::unseen), measures_(objectCount),
          kinds_(objectCount, Kind::leaf) {}

    bool measure(std::uint64_t root) {
        if (!enter(root)) {
            return false;
        }
        while (!stack_.empty()) {
            Frame& frame = stack_.back();
            if (frame.next == scanner_.referenceCount(frame.object)) {
                if (!leave()) {
                    return false;
                }
                continue;
            }
            const std::uint64_t child = scanner_.reference(frame.object, frame.next);
            const bool isKey = frame.object.kind == Kind::dictionary && frame.next < frame.object.count;
            ++frame.next;
            if (!visit(child, isKey)) {
                return false;
            }
        }
        return measures_[root].nodes <= limits_.maxNodes;
    }

private:
    enum class State : unsigned char { unseen, open, done };
    struct Frame {
        std::uint64_t index;
        Object object;
        std::size_t next = 0;
        Measure measure{};
    };

    bool visit(std::uint64_t child, bool isKey) {
        if (child >= state_.size() || state_[child] == State::open) {
            return false;
        }
        if (state_[child] == State::unseen && !enter(child)) {
            return false;
        }
        if (state_[child] == State::done) {
            absorb(measures_[child]);
        }
        return !isKey || kinds_[child] == Kind::string;
    }

    bool enter(std::uint64_t index) {
        const auto object = scanner_.object(index);
        if (!object || static_cast<int>(stack_.size()) > limits_.maxDepth) {
            return false;
        }
        kinds_[index] = object->kind;
        state_[index] = State::open;
        stack_.push_back(Frame{index, *object});
        return true;
    }

    bool leave() {
        Frame frame = stack_.back();
        stack_.pop_back();
        const bool container = frame.object.kind == Kind::container || frame.object.kind == Kind::dictionary;
        Measure& measure = measures_[frame.index];
        measure.height = frame.measure.height + (container ? 1 : 0);
        measure.nodes = std::min(frame.measure.nodes + 1, limits_.maxNodes + 1);
        state_[frame.index] = State::done;
        if (!stack_.empty()) {
            absorb(measure);
        }
        return measure.height <= limits_.maxDepth && measure.nodes <= limits_.maxNodes;
    }

    // Adds a finished child's measure to the frame on top of the stack.
    void absorb(const Measure& child) {
        Measure& parent = stack_.back().measure;
        parent.height = std::max(parent.height, child.height);
        parent.nodes = std::min(parent.nodes + child.nodes, limits_.maxNodes + 1);
    }

    const Scanner& scanner_;
    BinaryPropertyList::Limits limits_;
    std::vector<State> state_;
    std::vector<Measure> measures_;
    std::vector<Kind> kinds_;
    std::vector<Frame> stack_;
};

} // namespace

bool BinaryPropertyList::isWithinLimits(std::string_view bytes, Limits limits) {
    const auto trailer = trailerOf(bytes);
    if (!trailer || trailer->objectCount > limits.maxNodes) {
        return false;
    }
    const Scanner scanner(bytes, *trailer);
    return TreeWalk(scanner, trailer->objectCount, limits).measure(trailer->rootObject);
}

std::string BinaryPropertyList::dateDocument(double secondsSince2001) {
    std::string bytes(kMagic);
    bytes.push_back(static_cast<char>(kDateMarker));
    const auto bits = std::bit_cast<std::uint64_t>(secondsSince2001);
    for (int shift = 56; shift >= 0; shift -= 8) {
        bytes.push_back(static_cast<char>((bits >> shift) & 0xFF));
    }
    const auto objectOffset = static_cast<char>(kMagic.size());
    const auto tableOffset = static_cast<char>(bytes.size());
    bytes.push_back(objectOffset);
    // Trailer: six unused bytes, one-byte offsets and references, one object, root 0, table offset.
    bytes.append(6, '\0');
    bytes.push_back(1);
    bytes.push_back(1);
    bytes.append(7, '\0');
    bytes.push_back(1);
    bytes.append(8, '\0');
    bytes.append(7, '\0');
    bytes.push_back(tableOffset);
    return bytes;
}

std::optional<double> BinaryPropertyList::rootDate(std::string_view bytes) {
    const auto trailer = trailerOf(bytes);
    if (!trailer) {
        return std::nullopt;
    }
    const std::uint64_t offset = bigEndian(
        bytes, trailer->offsetTable + trailer->rootObject * trailer->offsetWidth, trailer->offsetWidth);
    const std::size_t end = bytes.size() - kTrailerBytes;
    if (offset < kMagic.size() || offset >= end || end - offset < 9 ||
        static_cast<unsigned char>(bytes[offset]) != kDateMarker) {
        return std::nullopt;
    }
    return std::bit_cast<double>(bigEndian(bytes, offset + 1, 8));
}

} // namespace quilla::plist
