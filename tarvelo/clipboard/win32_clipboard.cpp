// The Windows clipboard: user32 for the clipboard, kernel32 for its movable memory blocks,
// shell32 for file lists.
#ifdef _WIN32
#include "tarvelo/clipboard/win32_clipboard.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

namespace {
HANDLE AsHandle(MemoryHandle h) { return reinterpret_cast<HANDLE>(h); }

// A window that exists only to own the clipboard: no class of its own is needed.
HWND NewMessageOnlyWindow() {
    return CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}
}  // namespace

Win32ClipboardBackend::~Win32ClipboardBackend() {
    if (messageOwner_ != 0) DestroyWindow(reinterpret_cast<HWND>(messageOwner_));
}

bool Win32ClipboardBackend::Open(WindowHandle owner) {
    if (owner == 0) {
        if (messageOwner_ == 0) messageOwner_ = reinterpret_cast<WindowHandle>(NewMessageOnlyWindow());
        owner = messageOwner_;
    }
    return OpenClipboard(reinterpret_cast<HWND>(owner)) != 0;
}

bool Win32ClipboardBackend::Close() { return CloseClipboard() != 0; }

bool Win32ClipboardBackend::Empty() { return EmptyClipboard() != 0; }

std::uint32_t Win32ClipboardBackend::RegisterFormat(std::string_view name) {
    const std::string terminated(name);  // passed as a null-terminated ANSI string
    return RegisterClipboardFormatA(terminated.c_str());
}

std::string Win32ClipboardBackend::RegisteredFormatName(std::uint32_t format, std::size_t maxChars) {
    std::string buffer(maxChars, '\0');
    const int length = GetClipboardFormatNameA(format, buffer.data(), static_cast<int>(maxChars));
    buffer.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return buffer;
}

std::int32_t Win32ClipboardBackend::CountFormats() { return CountClipboardFormats(); }

std::uint32_t Win32ClipboardBackend::EnumFormats(std::uint32_t previous) { return EnumClipboardFormats(previous); }

bool Win32ClipboardBackend::IsFormatAvailable(std::uint32_t format) { return IsClipboardFormatAvailable(format) != 0; }

MemoryHandle Win32ClipboardBackend::GetData(std::uint32_t format) {
    return reinterpret_cast<MemoryHandle>(GetClipboardData(format));
}

MemoryHandle Win32ClipboardBackend::SetData(std::uint32_t format, MemoryHandle block) {
    HANDLE placed = SetClipboardData(format, AsHandle(block));
    // Refused, the block is still ours: without this it would be lost.
    if (placed == nullptr && block != 0) GlobalFree(AsHandle(block));
    return reinterpret_cast<MemoryHandle>(placed);
}

MemoryHandle Win32ClipboardBackend::AllocBlock(std::span<const std::uint8_t> bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes.size());  // 2000 hex: shareable
    if (block == nullptr) return 0;
    void* data = GlobalLock(block);
    if (data == nullptr) {
        GlobalFree(block);
        return 0;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    GlobalUnlock(block);
    return reinterpret_cast<MemoryHandle>(block);
}

std::vector<std::uint8_t> Win32ClipboardBackend::BlockBytes(MemoryHandle block) {
    const SIZE_T size = GlobalSize(AsHandle(block));
    std::vector<std::uint8_t> bytes;
    if (size == 0) return bytes;
    const void* data = GlobalLock(AsHandle(block));
    if (data == nullptr) return bytes;
    bytes.assign(static_cast<const std::uint8_t*>(data), static_cast<const std::uint8_t*>(data) + size);
    GlobalUnlock(AsHandle(block));
    return bytes;
}

std::uint32_t Win32ClipboardBackend::DragQueryFileCount(MemoryHandle block) {
    return DragQueryFileA(static_cast<HDROP>(AsHandle(block)), 0xFFFFFFFF, nullptr, 0);
}

std::string Win32ClipboardBackend::DragQueryFileName(MemoryHandle block, std::uint32_t index, std::size_t bufferChars) {
    std::string buffer(bufferChars, '\0');
    DragQueryFileA(static_cast<HDROP>(AsHandle(block)), index, buffer.data(), static_cast<UINT>(bufferChars));
    return buffer;  // the caller cuts it at its first null character
}

std::u16string Win32ClipboardBackend::ReadText() {
    std::u16string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            const SIZE_T max = GlobalSize(data) / sizeof(wchar_t);
            for (SIZE_T i = 0; i < max && chars[i] != 0; ++i) text += static_cast<char16_t>(chars[i]);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}
#endif
