// The Windows clipboard through user32, kernel32 and shell32 (built only for Windows).
#pragma once

#ifdef _WIN32
#include "tarvelo/clipboard/clipboard_backend.h"

class Win32ClipboardBackend : public ClipboardBackend {
public:
    bool Open(WindowHandle owner) override;
    bool Close() override;
    bool Empty() override;
    std::uint32_t RegisterFormat(std::string_view name) override;
    std::string RegisteredFormatName(std::uint32_t format, std::size_t maxChars) override;
    std::int32_t CountFormats() override;
    std::uint32_t EnumFormats(std::uint32_t previous) override;
    bool IsFormatAvailable(std::uint32_t format) override;
    MemoryHandle GetData(std::uint32_t format) override;
    MemoryHandle SetData(std::uint32_t format, MemoryHandle block) override;
    MemoryHandle AllocBlock(std::span<const std::uint8_t> bytes) override;
    std::vector<std::uint8_t> BlockBytes(MemoryHandle block) override;
    std::uint32_t DragQueryFileCount(MemoryHandle block) override;
    std::string DragQueryFileName(MemoryHandle block, std::uint32_t index, std::size_t bufferChars) override;
    std::u16string ReadText() override;
};
#endif
