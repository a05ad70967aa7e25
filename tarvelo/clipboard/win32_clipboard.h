// The Windows clipboard through user32, kernel32 and shell32 (built only for Windows).
#pragma once

#ifdef _WIN32
#include "tarvelo/clipboard/clipboard_backend.h"

// Opening with no owner window takes the clipboard for a message-only window of the backend's
// own: Windows refuses SetClipboardData after EmptyClipboard when the clipboard was opened
// without an owner. SetData takes over the memory block: the system owns it once placed, and it
// is freed here when the system refuses it.
class Win32ClipboardBackend : public ClipboardBackend {
public:
    Win32ClipboardBackend() = default;
    Win32ClipboardBackend(const Win32ClipboardBackend&) = delete;
    Win32ClipboardBackend& operator=(const Win32ClipboardBackend&) = delete;
    ~Win32ClipboardBackend() override;

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

    // The message-only window that owns the clipboard when the caller names none; 0 until needed.
    WindowHandle MessageOwner() const { return messageOwner_; }

private:
    WindowHandle messageOwner_ = 0;
};
#endif
