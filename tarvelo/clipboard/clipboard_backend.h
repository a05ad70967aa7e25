// The system clipboard as cCustomClipboard sees it: the primitives of the Windows clipboard and
// of its movable memory blocks. One implementation per platform (Win32, the office's clipboard
// service) plus an in-memory clipboard for tests.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Window handles of clipboard owners and handles of memory blocks. 0 is "none".
using WindowHandle = std::uintptr_t;
using MemoryHandle = std::uintptr_t;

class ClipboardBackend {
public:
    virtual ~ClipboardBackend() = default;

    // OpenClipboard / CloseClipboard / EmptyClipboard.
    virtual bool Open(WindowHandle owner) = 0;
    virtual bool Close() = 0;
    virtual bool Empty() = 0;

    // RegisterClipboardFormatA: the number of a format registered by name (single-byte name),
    // the same number for the same name; 0 on failure.
    virtual std::uint32_t RegisterFormat(std::string_view name) = 0;
    // GetClipboardFormatNameA: the registered name of a format, at most maxChars characters;
    // empty when the format has none.
    virtual std::string RegisteredFormatName(std::uint32_t format, std::size_t maxChars) = 0;

    // CountClipboardFormats / EnumClipboardFormats (0 starts, 0 ends) / IsClipboardFormatAvailable.
    virtual std::int32_t CountFormats() = 0;
    virtual std::uint32_t EnumFormats(std::uint32_t previous) = 0;
    virtual bool IsFormatAvailable(std::uint32_t format) = 0;

    // GetClipboardData / SetClipboardData: memory handles; 0 on failure.
    virtual MemoryHandle GetData(std::uint32_t format) = 0;
    virtual MemoryHandle SetData(std::uint32_t format, MemoryHandle block) = 0;

    // GlobalAlloc (shareable) and copy in; 0 if the allocation fails.
    virtual MemoryHandle AllocBlock(std::span<const std::uint8_t> bytes) = 0;
    // GlobalSize, GlobalLock, copy out, GlobalUnlock: the bytes of a block.
    virtual std::vector<std::uint8_t> BlockBytes(MemoryHandle block) = 0;

    // DragQueryFileA on a file-list block: the number of files, and file i (0-based) as the
    // system copies it into a buffer of bufferChars characters (including its null character).
    // The defaults read the block's own layout (a DROPFILES header and the names after it).
    virtual std::uint32_t DragQueryFileCount(MemoryHandle block);
    virtual std::string DragQueryFileName(MemoryHandle block, std::uint32_t index, std::size_t bufferChars);

    // The clipboard's text through the system's own plain-text access (no open/close by the
    // caller); empty when there is no text.
    virtual std::u16string ReadText() = 0;
};

// Parses the file names of a file-list block: a 20-byte header (offset of the names, drop point,
// non-client flag, wide-character flag) and null-terminated names ending in an empty one.
// Names in wide characters are converted to single-byte text ("?" above U+00FF). Bounded by the
// block: a corrupted block yields the names found before its end.
std::vector<std::string> ParseFileListBlock(std::span<const std::uint8_t> block);
