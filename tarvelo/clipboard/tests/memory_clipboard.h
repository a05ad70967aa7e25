// An in-memory system clipboard for tests: one MemoryClipboard is "the system", shared by any
// number of backends (several programs). It behaves like the Windows clipboard where the class
// depends on it: only one owner at a time, registered formats from C000 hexadecimal, emptying
// while opened without an owner window makes later SetClipboardData fail, Unicode text offered
// as plain text too.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tarvelo/clipboard/clipboard_backend.h"

class MemoryClipboard {
public:
    // State of "the system", readable by tests.
    bool opened = false;
    WindowHandle openedBy = 0;
    bool ownerless = false;                                       // emptied while opened with owner 0
    bool refuseOpen = false;                                      // tests: OpenClipboard fails
    bool refuseAlloc = false;                                     // tests: GlobalAlloc fails
    std::vector<std::pair<std::uint32_t, MemoryHandle>> formats;  // in the order placed
    std::map<std::string, std::uint32_t> registered;              // name -> number
    std::map<MemoryHandle, std::vector<std::uint8_t>> blocks;
    MemoryHandle nextBlock = 0x1000;
    std::uint32_t nextFormat = 0xC000;
    int emptyCount = 0;  // how often EmptyClipboard ran

    // The bytes placed for a format, if any.
    std::optional<std::vector<std::uint8_t>> DataOf(std::uint32_t format) const;
};

class MemoryClipboardBackend : public ClipboardBackend {
public:
    explicit MemoryClipboardBackend(std::shared_ptr<MemoryClipboard> system);

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
    std::u16string ReadText() override;

private:
    std::shared_ptr<MemoryClipboard> system_;
};
