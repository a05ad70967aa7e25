// cCustomClipboard: puts and gets data of any clipboard format, including formats registered by
// name such as "Rich Text Format", reads the formats present and file lists.
//
// The class's behaviour (open flag and owner, its two errors, the two zero bytes after Unicode
// text, text written one byte per character) is here, once; the system clipboard is reached
// through a ClipboardBackend with the primitives of the Windows clipboard (clipboard_backend.h):
// Win32, the office's clipboard service (LibreOffice), or an in-memory clipboard for tests.
//
// Single-byte text: a character U+0000..U+00FF is the byte of the same value and back; any other
// character is written as "?". So a string whose characters are byte values (such as the result
// of AmbilUnicode) reaches the clipboard as exactly those bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tarvelo/clipboard/clipboard_backend.h"

class cCustomClipboard {
public:
    // The class's one error type: the raised error's number, source and description.
    class Error : public std::runtime_error {
    public:
        Error(std::int32_t number, std::string source, std::string description);
        std::int32_t Number() const noexcept { return number_; }
        const std::string& Source() const noexcept { return source_; }
        const std::string& Description() const noexcept { return description_; }

    private:
        std::int32_t number_;
        std::string source_;
        std::string description_;
    };

    // The object error base (vbObjectError) plus 1571 and 1570.
    static constexpr std::int32_t errUnableToOpen = -2147221504 + 1571;  // -2147219933
    static constexpr std::int32_t errNotOpen = -2147221504 + 1570;       // -2147219934
    static constexpr std::string_view descUnableToOpen = "Unable to Open Clipboard.";
    static constexpr std::string_view descNotOpen = "Attempt to access the clipboard when clipboard not Open.";

    // Standard format numbers used by the class.
    static constexpr std::uint32_t CF_TEXT = 1;
    static constexpr std::uint32_t CF_UNICODETEXT = 13;
    static constexpr std::uint32_t CF_HDROP = 15;
    // First number of formats registered by name.
    static constexpr std::uint32_t firstRegisteredFormat = 0xC000;

    explicit cCustomClipboard(std::unique_ptr<ClipboardBackend> backend);
    ~cCustomClipboard();  // closes the clipboard if this instance still holds it
    cCustomClipboard(const cCustomClipboard&) = delete;
    cCustomClipboard& operator=(const cCustomClipboard&) = delete;

    // Registers a format by name; its number, or 0 if the system gives none in the range of
    // registered formats. The same name gives the same number every time.
    std::uint32_t AddFormat(std::u16string_view sName);

    // Number of formats on the clipboard.
    std::int16_t FormatCount();

    // Opens the clipboard, lists its formats with their names into the current format list,
    // closes it; the number of formats found.
    std::int32_t GetCurrentFormats(WindowHandle hWndOwner);

    // Entry lIndex (1-based) of the current format list; empty for an index outside the list.
    std::optional<std::uint32_t> GetCurrentFormatID(std::int32_t lIndex) const;
    std::optional<std::u16string> GetCurrentFormatName(std::int32_t lIndex) const;
    bool HasCurrentFormat(std::uint32_t lFormatId) const;

    // The name of a format: the standard names for 1 to 17, the registered name for others.
    std::u16string FormatName(std::uint32_t lFormatId);

    // The number of the first listed format whose name is sName exactly, else 0 (lists the
    // formats first, opening and closing the clipboard).
    std::uint32_t FormatIDForName(WindowHandle hWndOwner, std::u16string_view sName);
    bool IsDataAvailableForFormatName(WindowHandle hWndOwner, std::u16string_view sFormatName);
    bool IsDataAvailableForFormat(std::uint32_t lFormatId);

    // The bytes of a format; false (and bData empty) when there are none. Needs the open clipboard.
    bool GetBinaryData(std::uint32_t lFormatId, std::vector<std::uint8_t>& bData);
    // The system's memory block of a format, 0 if none. Needs the open clipboard.
    MemoryHandle GetClipboardMemoryHandle(std::uint32_t lFormatId);
    // Places bytes for a format (Unicode text gets two zero bytes after them). Needs the open
    // clipboard; false when nothing was placed.
    bool SetBinaryData(std::uint32_t lFormatId, const std::vector<std::uint8_t>& bData);
    // Places a memory block the caller allocated; no open check.
    bool SetClipboardMemoryHandle(std::uint32_t lFormatId, MemoryHandle hMem);

    // The clipboard's text for formats 1 and 13 (read through the system's plain-text access,
    // closing and reopening this instance's hold around it); for other formats the format's
    // bytes as single-byte text (needs the open clipboard).
    bool GetTextData(std::uint32_t lFormatId, std::u16string& sTextOut);
    // Places sText, one byte per character; an empty sText places nothing and gives false.
    // Needs the open clipboard.
    bool SetTextData(std::uint32_t lFormatId, std::u16string_view sText);

    // The file list on the clipboard (format 15); false when there is none or it is empty, with
    // iFileCount untouched when there is none. Needs the open clipboard.
    bool GetFileList(std::vector<std::u16string>& sFiles, std::int32_t& iFileCount);
    // Places a file list (format 15, names in the single-byte code page). Needs the open clipboard.
    bool SetFileList(const std::vector<std::u16string>& sFiles);

    // Empties the clipboard. Needs the open clipboard.
    void ClearClipboard();
    // Lets go of the clipboard if this instance holds it.
    void ClipboardClose();
    // Takes the clipboard for hWndOwner; raises errUnableToOpen when the system refuses. With
    // owner 0 the system may agree, but the instance does not count as open.
    bool ClipboardOpen(WindowHandle hWndOwner);

    // Whether the instance counts as holding the clipboard (open flag and a non-zero owner).
    bool IsOpen() const noexcept { return open_ && owner_ != 0; }

    // The errors' source: the add-in library's file name without extension + ".cCustomClipboard".
    static std::string ErrorSource();

private:
    void CheckOpen() const;

    std::unique_ptr<ClipboardBackend> backend_;
    bool open_ = false;
    WindowHandle owner_ = 0;
    // The current format list, filled by GetCurrentFormats (0-based here; lIndex 1 is entry 0).
    std::vector<std::uint32_t> formatIds_;
    std::vector<std::u16string> formatNames_;
};
