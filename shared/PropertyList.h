#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quilla::plist {

struct Value;
using Array = std::vector<Value>;
using Dict = std::map<std::string, Value>;

/// A property-list date; files store seconds since 2001-01-01 UTC.
struct Date {
    std::chrono::system_clock::time_point time;
    bool operator==(const Date&) const = default;
};

/// Raw bytes (`<data>`).
struct Data {
    std::string bytes;
    bool operator==(const Data&) const = default;
};

/// One property-list value. Typed accessors give nullptr when the value has another type,
/// so a wrongly typed entry reads as absent.
struct Value {
    using Storage = std::variant<bool, std::int64_t, double, std::string, Date, Data, Array, Dict>;
    Storage storage;

    Value(bool b) : storage(b) {}
    Value(std::int64_t i) : storage(i) {}
    Value(int i) : storage(std::int64_t{i}) {}
    Value(double d) : storage(d) {}
    Value(std::string s) : storage(std::move(s)) {}
    Value(const char* s) : storage(std::string(s)) {}
    Value(Date d) : storage(d) {}
    Value(Data d) : storage(std::move(d)) {}
    Value(Array a) : storage(std::move(a)) {}
    Value(Dict d) : storage(std::move(d)) {}

    const bool* asBool() const { return std::get_if<bool>(&storage); }
    const std::int64_t* asInteger() const { return std::get_if<std::int64_t>(&storage); }
    const double* asReal() const { return std::get_if<double>(&storage); }
    const std::string* asString() const { return std::get_if<std::string>(&storage); }
    const Date* asDate() const { return std::get_if<Date>(&storage); }
    const Data* asData() const { return std::get_if<Data>(&storage); }
    const Array* asArray() const { return std::get_if<Array>(&storage); }
    const Dict* asDict() const { return std::get_if<Dict>(&storage); }

    bool operator==(const Value&) const = default;
};

/// Deepest nesting accepted from a file; anything deeper is treated as damaged.
inline constexpr int kMaxDepth = 128;
/// Largest settings file, for every reader and writer of both the application and the extension:
/// larger files are treated as damaged, and nothing larger is ever written.
inline constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024;
/// Most values (dictionary keys included) a binary file may expand to, shared references counted
/// each time they are used.
inline constexpr std::size_t kMaxNodes = 1 << 20;

/// Parses an XML or binary property list. Gives nothing for bytes that are not one, are nested or
/// expand beyond the limits above, hold a string with a NUL character or a date the clock cannot
/// hold. Strings come back valid for XML: invalid UTF-8 and forbidden characters become U+FFFD.
std::optional<Value> parse(std::string_view bytes);

/// Reads and parses a whole file. Gives nothing when it is missing, unreadable, too large or damaged.
std::optional<Value> readFile(const std::filesystem::path& path);

/// Serialises as an XML property list (version 1.0). Text that XML cannot hold is replaced by
/// U+FFFD, so the document is always well-formed UTF-8.
std::string toXML(const Value& value);

// Typed look-ups in a dictionary: a missing key or a value of another type gives nothing.
const Value* find(const Dict& dict, std::string_view key);
std::optional<bool> boolean(const Dict& dict, std::string_view key);
const std::string* string(const Dict& dict, std::string_view key);
const Array* array(const Dict& dict, std::string_view key);
const Dict* dictionary(const Dict& dict, std::string_view key);
std::optional<Date> date(const Dict& dict, std::string_view key);

/// The value as a list of strings; nothing unless it is an array whose every element is a string.
std::optional<std::vector<std::string>> stringArray(const Value& value);
std::optional<std::vector<std::string>> stringArray(const Dict& dict, std::string_view key);

/// Builds an array value from strings.
Value makeStringArray(const std::vector<std::string>& strings);

} // namespace quilla::plist
