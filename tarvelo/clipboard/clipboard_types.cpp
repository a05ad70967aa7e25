#include "tarvelo/clipboard/clipboard_types.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <mutex>

#include "tarvelo/clipboard/clipboard_backend.h"

namespace tarvelo::clipboard {

namespace {

// Format names registered in this process, as the system's table of registered names.
class FormatRegistry {
public:
    static FormatRegistry& Instance() {
        static FormatRegistry registry;
        return registry;
    }
    std::uint32_t Register(std::string_view name) {
        if (name.empty()) return 0;
        const std::lock_guard lock(mutex_);
        const auto [at, added] = numbers_.try_emplace(Folded(name), 0);
        if (!added) return at->second;
        if (names_.size() >= 0x4000) {
            numbers_.erase(at);
            return 0;
        }
        names_.emplace_back(name);
        at->second = static_cast<std::uint32_t>(0xC000 + names_.size() - 1);
        return at->second;
    }
    std::string Name(std::uint32_t id) {
        const std::lock_guard lock(mutex_);
        if (id < 0xC000 || id - 0xC000 >= names_.size()) return {};
        return names_[id - 0xC000];
    }

private:
    static std::string Folded(std::string_view name) {
        std::string key(name);
        std::transform(key.begin(), key.end(), key.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return key;
    }
    std::mutex mutex_;
    std::vector<std::string> names_;                // by number - C000 hexadecimal
    std::map<std::string, std::uint32_t> numbers_;  // by name without case
};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::uint32_t RegisterFormatName(std::string_view name) { return FormatRegistry::Instance().Register(name); }

std::string RegisteredFormatName(std::uint32_t format) { return FormatRegistry::Instance().Name(format); }

std::uint32_t FormatOfMimeType(std::string_view type) {
    const std::string_view base = type.substr(0, type.find(';'));
    if (base == "text/plain" && type.find("charset=utf-16") != std::string_view::npos) return cfUnicodeText;
    if (base == "text/richtext" || base == "text/rtf") return RegisterFormatName(rtfName);
    if (base == "text/uri-list") return cfFileList;
    if (const auto at = type.find("windows_formatname=\""); at != std::string_view::npos) {
        const auto start = at + 20;
        const auto end = type.find('"', start);
        if (end != std::string_view::npos) return RegisterFormatName(type.substr(start, end - start));
    }
    if (base.starts_with(unnamedFormatPrefix)) {
        // Decimal digits only, all of them, within 32 bits.
        const std::string_view digits = base.substr(unnamedFormatPrefix.size());
        std::uint32_t number = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (error != std::errc{} || end != digits.data() + digits.size()) return 0;
        return number;
    }
    return 0;
}

std::string FileUrl(std::string_view path) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path) {
        if (std::isalnum(c) || std::string_view("/-._~").find(static_cast<char>(c)) != std::string_view::npos) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    return url;
}

std::string PathOfUrl(std::string_view url) {
    if (url.starts_with("file://")) url.remove_prefix(7);
    std::string path;
    for (std::size_t i = 0; i < url.size(); ++i) {
        const int high = url[i] == '%' && i + 2 < url.size() ? HexValue(url[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(url[i + 2]) : -1;
        if (low >= 0) {
            path += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            path += url[i];
        }
    }
    return path;
}

std::vector<std::uint8_t> UriListFromFileBlock(const std::vector<std::uint8_t>& block) {
    std::string list;
    for (const std::string& name : ParseFileListBlock(block)) list += FileUrl(name) + "\r\n";
    return std::vector<std::uint8_t>(list.begin(), list.end());
}

std::vector<std::uint8_t> FileBlockFromUriList(const std::vector<std::uint8_t>& uris) {
    std::vector<std::uint8_t> block(20, 0);
    block[0] = 20;
    std::string_view text(reinterpret_cast<const char*>(uris.data()), uris.size());
    while (!text.empty()) {
        const auto end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#') continue;
        const std::string path = PathOfUrl(line);
        block.insert(block.end(), path.begin(), path.end());
        block.push_back(0);
    }
    block.push_back(0);
    return block;
}

}  // namespace tarvelo::clipboard
