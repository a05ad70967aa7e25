#include "tarvelo/clipboard/clipboard_backend.h"

namespace {
std::uint32_t Read32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}
}  // namespace

std::vector<std::string> ParseFileListBlock(std::span<const std::uint8_t> block) {
    std::vector<std::string> names;
    if (block.size() < 20) return names;
    const std::size_t offset = Read32(block, 0);
    const bool wide = Read32(block, 16) != 0;
    const std::size_t unit = wide ? 2 : 1;
    std::string name;
    for (std::size_t at = offset; at + unit <= block.size(); at += unit) {
        const unsigned c = wide ? block[at] | (block[at + 1] << 8) : block[at];
        if (c != 0) {
            name += c <= 0xFF ? static_cast<char>(c) : '?';
            continue;
        }
        if (name.empty()) break;  // the empty name ends the list
        names.push_back(std::move(name));
        name.clear();
    }
    return names;
}

std::uint32_t ClipboardBackend::DragQueryFileCount(MemoryHandle block) {
    const std::vector<std::uint8_t> bytes = BlockBytes(block);
    return static_cast<std::uint32_t>(ParseFileListBlock(bytes).size());
}

std::string ClipboardBackend::DragQueryFileName(MemoryHandle block, std::uint32_t index, std::size_t bufferChars) {
    const std::vector<std::uint8_t> bytes = BlockBytes(block);
    const std::vector<std::string> names = ParseFileListBlock(bytes);
    if (index >= names.size() || bufferChars == 0) return {};
    std::string name = names[index];
    if (name.size() > bufferChars - 1)
        name.resize(bufferChars - 1);  // the system cuts it to the buffer, leaving room for the null
    return name;
}
