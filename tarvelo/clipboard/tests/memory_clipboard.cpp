#include "tarvelo/clipboard/tests/memory_clipboard.h"

#include <algorithm>

std::optional<std::vector<std::uint8_t>> MemoryClipboard::DataOf(std::uint32_t format) const {
    for (const auto& [id, block] : formats)
        if (id == format) {
            const auto it = blocks.find(block);
            if (it != blocks.end()) return it->second;
        }
    return std::nullopt;
}

MemoryClipboardBackend::MemoryClipboardBackend(std::shared_ptr<MemoryClipboard> system) : system_(std::move(system)) {}

bool MemoryClipboardBackend::Open(WindowHandle owner) {
    // Another owner holds it: refused, as the system refuses a second program.
    if (system_->refuseOpen || (system_->opened && system_->openedBy != owner)) return false;
    system_->opened = true;
    system_->openedBy = owner;
    system_->ownerless = false;
    return true;
}

bool MemoryClipboardBackend::Close() {
    if (!system_->opened) return false;
    system_->opened = false;
    system_->openedBy = 0;
    return true;
}

bool MemoryClipboardBackend::Empty() {
    if (!system_->opened) return false;
    for (const auto& [id, block] : system_->formats) system_->blocks.erase(block);
    system_->formats.clear();
    // Emptied by a holder without a window: the clipboard has no owner, and placing data fails.
    system_->ownerless = system_->openedBy == 0;
    ++system_->emptyCount;
    return true;
}

std::uint32_t MemoryClipboardBackend::RegisterFormat(std::string_view name) {
    if (name.empty()) return 0;
    // Names are compared without regard to case, as the system's atoms are.
    std::string key(name);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const auto& [registered, id] : system_->registered) {
        std::string other = registered;
        std::transform(other.begin(), other.end(), other.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (other == key) return id;
    }
    const std::uint32_t id = system_->nextFormat++;
    system_->registered.emplace(std::string(name), id);
    return id;
}

std::string MemoryClipboardBackend::RegisteredFormatName(std::uint32_t format, std::size_t maxChars) {
    for (const auto& [name, id] : system_->registered)
        if (id == format) return name.substr(0, maxChars);
    return {};
}

std::int32_t MemoryClipboardBackend::CountFormats() { return static_cast<std::int32_t>(system_->formats.size()); }

std::uint32_t MemoryClipboardBackend::EnumFormats(std::uint32_t previous) {
    if (!system_->opened || system_->formats.empty()) return 0;
    if (previous == 0) return system_->formats.front().first;
    for (std::size_t i = 0; i + 1 < system_->formats.size(); ++i)
        if (system_->formats[i].first == previous) return system_->formats[i + 1].first;
    return 0;
}

bool MemoryClipboardBackend::IsFormatAvailable(std::uint32_t format) {
    if (format == 1 && system_->DataOf(13)) return true;  // Unicode text is offered as plain text too
    return system_->DataOf(format).has_value();
}

MemoryHandle MemoryClipboardBackend::GetData(std::uint32_t format) {
    if (!system_->opened) return 0;
    for (const auto& [id, block] : system_->formats)
        if (id == format) return block;
    return 0;
}

MemoryHandle MemoryClipboardBackend::SetData(std::uint32_t format, MemoryHandle block) {
    if (!system_->opened || system_->ownerless || !system_->blocks.contains(block)) return 0;
    auto& formats = system_->formats;
    const auto same =
        std::find_if(formats.begin(), formats.end(), [format](const auto& f) { return f.first == format; });
    if (same != formats.end()) {
        system_->blocks.erase(same->second);
        same->second = block;
    } else {
        formats.emplace_back(format, block);
    }
    return block;
}

MemoryHandle MemoryClipboardBackend::AllocBlock(std::span<const std::uint8_t> bytes) {
    if (system_->refuseAlloc) return 0;
    const MemoryHandle handle = system_->nextBlock++;
    system_->blocks.emplace(handle, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    return handle;
}

std::vector<std::uint8_t> MemoryClipboardBackend::BlockBytes(MemoryHandle block) {
    const auto it = system_->blocks.find(block);
    return it == system_->blocks.end() ? std::vector<std::uint8_t>{} : it->second;
}

std::u16string MemoryClipboardBackend::ReadText() {
    std::u16string text;
    if (const auto unicode = system_->DataOf(13)) {
        for (std::size_t i = 0; i + 1 < unicode->size(); i += 2) {
            const auto c = static_cast<char16_t>((*unicode)[i] | ((*unicode)[i + 1] << 8));
            if (c == 0) break;
            text += c;
        }
    } else if (const auto plain = system_->DataOf(1)) {
        for (std::uint8_t b : *plain) {
            if (b == 0) break;
            text += static_cast<char16_t>(b);
        }
    }
    return text;
}
