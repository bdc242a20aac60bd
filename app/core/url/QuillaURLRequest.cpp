#include "app/core/url/QuillaURLRequest.h"

#include "app/core/url/PercentDecoding.h"

#include <algorithm>

namespace quilla {
namespace {

constexpr std::string_view kScheme = "quilla";

struct QueryItem {
    std::string name;
    std::optional<std::string> value; ///< none when the item has no "="
};

// The host of "//[userinfo@]host[:port]…": userinfo and port are dropped.
std::optional<std::string> hostOf(std::string_view afterScheme) {
    if (!afterScheme.starts_with("//")) {
        return std::string();
    }
    std::string_view authority = afterScheme.substr(2);
    authority = authority.substr(0, authority.find_first_of("/?#"));
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
        authority.remove_prefix(at + 1);
    }
    if (const auto colon = authority.rfind(':'); colon != std::string_view::npos) {
        authority = authority.substr(0, colon);
    }
    return percentDecoded(authority);
}

std::optional<std::vector<QueryItem>> queryItems(std::string_view afterScheme) {
    std::vector<QueryItem> items;
    const auto question = afterScheme.find('?');
    if (question == std::string_view::npos) {
        return items;
    }
    std::string_view query = afterScheme.substr(question + 1);
    query = query.substr(0, query.find('#'));
    while (!query.empty()) {
        const auto amp = query.find('&');
        const std::string_view part = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        if (part.empty()) {
            continue;
        }
        const auto equals = part.find('=');
        auto name = percentDecoded(part.substr(0, equals));
        if (!name) {
            return std::nullopt;
        }
        QueryItem item{std::move(*name), std::nullopt};
        if (equals != std::string_view::npos) {
            item.value = percentDecoded(part.substr(equals + 1));
            if (!item.value) {
                return std::nullopt;
            }
        }
        items.push_back(std::move(item));
    }
    return items;
}

// The value of the first item named `name` (or `otherName`), when it has a non-empty one.
std::optional<std::string> firstValue(const std::vector<QueryItem>& items, std::string_view name,
                                      std::string_view otherName = {}) {
    for (const auto& item : items) {
        if (item.name == name || (!otherName.empty() && item.name == otherName)) {
            if (item.value && !item.value->empty()) {
                return item.value;
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

QuillaURLRequest::Host hostKind(const std::string& host) {
    if (host == "feature-request")
        return QuillaURLRequest::Host::featureRequest;
    if (host == "finder-action")
        return QuillaURLRequest::Host::finderAction;
    return QuillaURLRequest::Host::other;
}

// An empty or relative path would name something in the application's working folder, which
// no sender can know: such values are treated as missing.
bool isAbsolutePath(const std::string& value) {
    return value.starts_with('/');
}

std::optional<std::string> absolutePath(std::optional<std::string> value) {
    return value && isAbsolutePath(*value) ? value : std::nullopt;
}

// Raw control bytes never appear in a URL the desktop hands over (they arrive
// percent-encoded); a raw NUL would cut a path short where the system reads it.
bool hasRawControlByte(std::string_view url) {
    return std::any_of(url.begin(), url.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7f;
    });
}

} // namespace

std::optional<QuillaURLRequest> QuillaURLRequest::parse(std::string_view url) {
    if (url.size() > maximumLength || hasRawControlByte(url)) {
        return std::nullopt;
    }
    if (!url.starts_with(kScheme) || url.size() == kScheme.size() || url[kScheme.size()] != ':') {
        return std::nullopt;
    }
    const std::string_view rest = url.substr(kScheme.size() + 1);
    const auto host = hostOf(rest);
    const auto items = queryItems(rest);
    if (!host || !items) {
        return std::nullopt;
    }
    QuillaURLRequest request;
    request.host = hostKind(*host);
    for (const auto& item : *items) {
        if (item.name == "path" && item.value && isAbsolutePath(*item.value)) {
            request.paths.push_back(*item.value);
        }
    }
    request.target = absolutePath(firstValue(*items, "target"));
    request.actionID = firstValue(*items, "actionID").value_or("completed");
    request.destination = absolutePath(firstValue(*items, "destination", "destinationPath"));
    request.presetID = firstValue(*items, "presetID");
    request.actionTitle = firstValue(*items, "action");
    return request;
}

} // namespace quilla
