#include "shared/PropertyList.h"

#include "shared/BinaryPropertyList.h"
#include "shared/FileIO.h"
#include "shared/XmlText.h"

#include <plist/plist.h>

#include <cmath>
#include <memory>

namespace quilla::plist {
namespace {

// Seconds between 1970-01-01 and 2001-01-01, the property-list epoch.
constexpr std::int64_t kAppleEpochOffset = 978307200;
// Seconds either side of 1970 that the nanosecond system clock holds, with a margin.
constexpr double kMaxDateSeconds = 9.0e9;

struct NodeDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

std::optional<Value> fromNode(plist_t node, int depth);

std::optional<Value> arrayFromNode(plist_t node, int depth) {
    Array result;
    const auto count = plist_array_get_size(node);
    result.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        auto item = fromNode(plist_array_get_item(node, i), depth + 1);
        if (!item) {
            return std::nullopt;
        }
        result.push_back(std::move(*item));
    }
    return Value(std::move(result));
}

std::optional<Value> dictFromNode(plist_t node, int depth) {
    Dict result;
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(node, &iter);
    if (!iter) {
        return std::nullopt;
    }
    bool ok = true;
    for (;;) {
        char* key = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(node, iter, &key, &item);
        if (!key) {
            break;
        }
        std::string name = xmlSafeText(key);
        free(key);
        auto value = item ? fromNode(item, depth + 1) : std::nullopt;
        if (!value) {
            ok = false;
            break;
        }
        result.insert_or_assign(std::move(name), std::move(*value));
    }
    free(iter);
    if (!ok) {
        return std::nullopt;
    }
    return Value(std::move(result));
}

// Reads the string with its length: the library's copying accessor aborts on an embedded NUL.
// A NUL cannot be written back to XML, so such a string makes the whole file damaged.
std::optional<Value> stringFromNode(plist_t node) {
    std::uint64_t length = 0;
    const char* text = plist_get_string_ptr(node, &length);
    if (!text) {
        return std::nullopt;
    }
    const std::string_view view(text, length);
    if (view.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    return Value(xmlSafeText(view));
}

std::optional<Value> dataFromNode(plist_t node) {
    char* bytes = nullptr;
    std::uint64_t length = 0;
    plist_get_data_val(node, &bytes, &length);
    std::string result(bytes ? bytes : "", bytes ? length : 0);
    free(bytes);
    return Value(Data{std::move(result)});
}

// The library's date accessor narrows to 32-bit seconds (wrapping after 2068), so the date is
// read from the node's own binary form, which keeps the stored double.
std::optional<Value> dateFromNode(plist_t node) {
    char* bytes = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(node, &bytes, &length);
    const auto seconds = bytes ? BinaryPropertyList::rootDate(std::string_view(bytes, length)) : std::nullopt;
    plist_to_bin_free(bytes);
    const auto since1970 = seconds ? *seconds + static_cast<double>(kAppleEpochOffset) : 0.0;
    // Beyond what the clock can represent is damage, not a date to wrap or clamp.
    if (!seconds || !std::isfinite(since1970) || std::fabs(since1970) > kMaxDateSeconds) {
        return std::nullopt;
    }
    const auto micros = std::llround(since1970 * 1e6);
    return Value(Date{std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(std::chrono::microseconds(micros)))});
}

std::optional<Value> fromNode(plist_t node, int depth) {
    if (depth > kMaxDepth) {
        return std::nullopt;
    }
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        std::uint8_t b = 0;
        plist_get_bool_val(node, &b);
        return Value(b != 0);
    }
    case PLIST_UINT: {
        std::uint64_t u = 0;
        plist_get_uint_val(node, &u);
        return Value(static_cast<std::int64_t>(u));
    }
    case PLIST_REAL: {
        double d = 0;
        plist_get_real_val(node, &d);
        return Value(d);
    }
    case PLIST_STRING:
        return stringFromNode(node);
    case PLIST_DATA:
        return dataFromNode(node);
    case PLIST_DATE:
        return dateFromNode(node);
    case PLIST_ARRAY:
        return arrayFromNode(node, depth);
    case PLIST_DICT:
        return dictFromNode(node, depth);
    default:
        return std::nullopt;
    }
}

// libplist recurses while parsing and freeing, so hopelessly deep XML is refused before it
// reaches the library; real settings files nest three levels at most. A NUL byte is never XML
// and would end up inside a string.
bool xmlWithinLimits(std::string_view bytes) {
    if (bytes.find('\0') != std::string_view::npos) {
        return false;
    }
    int depth = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (bytes[i] != '<') {
            continue;
        }
        const auto rest = bytes.substr(i + 1);
        if (rest.starts_with("array>") || rest.starts_with("dict>")) {
            if (++depth > kMaxDepth) {
                return false;
            }
        } else if (rest.starts_with("/array>") || rest.starts_with("/dict>")) {
            --depth;
        }
    }
    return true;
}

Node toNode(const Value& value);

Node arrayNode(const Array& array) {
    Node node(plist_new_array());
    for (const auto& item : array) {
        plist_array_append_item(node.get(), toNode(item).release());
    }
    return node;
}

Node dictNode(const Dict& dict) {
    Node node(plist_new_dict());
    for (const auto& [key, item] : dict) {
        plist_dict_set_item(node.get(), xmlSafeText(key).c_str(), toNode(item).release());
    }
    return node;
}

// Built from a one-date binary document: the library's date constructor takes 32-bit seconds.
Node dateNode(const Date& date) {
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(date.time.time_since_epoch()).count();
    const double seconds = static_cast<double>(micros) / 1e6 - static_cast<double>(kAppleEpochOffset);
    const std::string document = BinaryPropertyList::dateDocument(seconds);
    plist_t node = nullptr;
    plist_from_bin(document.data(), static_cast<std::uint32_t>(document.size()), &node);
    return Node(node);
}

Node toNode(const Value& value) {
    return std::visit(
        [](const auto& v) -> Node {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>) {
                return Node(plist_new_bool(v ? 1 : 0));
            } else if constexpr (std::is_same_v<T, std::int64_t>) {
                return Node(plist_new_uint(static_cast<std::uint64_t>(v)));
            } else if constexpr (std::is_same_v<T, double>) {
                return Node(plist_new_real(v));
            } else if constexpr (std::is_same_v<T, std::string>) {
                return Node(plist_new_string(xmlSafeText(v).c_str()));
            } else if constexpr (std::is_same_v<T, Date>) {
                return dateNode(v);
            } else if constexpr (std::is_same_v<T, Data>) {
                return Node(plist_new_data(v.bytes.data(), v.bytes.size()));
            } else if constexpr (std::is_same_v<T, Array>) {
                return arrayNode(v);
            } else {
                return dictNode(v);
            }
        },
        value.storage);
}

} // namespace

std::optional<Value> parse(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > kMaxFileBytes) {
        return std::nullopt;
    }
    const bool binary = plist_is_binary(bytes.data(), static_cast<std::uint32_t>(bytes.size())) != 0;
    const bool acceptable =
        binary ? BinaryPropertyList::isWithinLimits(bytes, {kMaxDepth, kMaxNodes}) : xmlWithinLimits(bytes);
    if (!acceptable) {
        return std::nullopt;
    }
    plist_t raw = nullptr;
    plist_from_memory(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &raw);
    if (!raw) {
        return std::nullopt;
    }
    Node root(raw);
    return fromNode(root.get(), 0);
}

std::optional<Value> readFile(const std::filesystem::path& path) {
    auto bytes = readFileCapped(path, kMaxFileBytes);
    if (!bytes) {
        return std::nullopt;
    }
    return parse(*bytes);
}

std::string toXML(const Value& value) {
    Node node = toNode(value);
    char* xml = nullptr;
    std::uint32_t length = 0;
    plist_to_xml(node.get(), &xml, &length);
    std::string result(xml ? xml : "", xml ? length : 0);
    plist_to_xml_free(xml);
    return result;
}

const Value* find(const Dict& dict, std::string_view key) {
    auto it = dict.find(std::string(key));
    return it == dict.end() ? nullptr : &it->second;
}

std::optional<bool> boolean(const Dict& dict, std::string_view key) {
    const Value* value = find(dict, key);
    if (value && value->asBool()) {
        return *value->asBool();
    }
    return std::nullopt;
}

const std::string* string(const Dict& dict, std::string_view key) {
    const Value* value = find(dict, key);
    return value ? value->asString() : nullptr;
}

const Array* array(const Dict& dict, std::string_view key) {
    const Value* value = find(dict, key);
    return value ? value->asArray() : nullptr;
}

const Dict* dictionary(const Dict& dict, std::string_view key) {
    const Value* value = find(dict, key);
    return value ? value->asDict() : nullptr;
}

std::optional<Date> date(const Dict& dict, std::string_view key) {
    const Value* value = find(dict, key);
    if (value && value->asDate()) {
        return *value->asDate();
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> stringArray(const Value& value) {
    const Array* items = value.asArray();
    if (!items) {
        return std::nullopt;
    }
    std::vector<std::string> result;
    result.reserve(items->size());
    for (const auto& item : *items) {
        const std::string* text = item.asString();
        if (!text) {
            return std::nullopt;
        }
        result.push_back(*text);
    }
    return result;
}

std::optional<std::vector<std::string>> stringArray(const Dict& dict, std::string_view key) {
    const Value* value = find(dict, key);
    return value ? stringArray(*value) : std::nullopt;
}

Value makeStringArray(const std::vector<std::string>& strings) {
    Array array;
    array.reserve(strings.size());
    for (const auto& s : strings) {
        array.emplace_back(s);
    }
    return Value(std::move(array));
}

} // namespace quilla::plist
