// The office's system clipboard service (com.sun.star.datatransfer.clipboard.SystemClipboard)
// behind the Windows clipboard primitives, for the add-in running inside LibreOffice.
//
// Formats and flavours: "Rich Text Format" is the Rich Text flavour Writer pastes (text/richtext,
// also offered as text/rtf); 13 (Unicode text) is text/plain;charset=utf-16; 1 (text) is plain
// text, single-byte; 15 (file list) is text/uri-list; any other registered name NAME is the
// flavour application/x-openoffice-clipboard;windows_formatname="NAME". Registered numbers are
// shared by every instance in the process, as the system's registry of names is.
//
// Between Open and Close the placed formats are collected; Close hands them to the office's
// clipboard as one transferable (when something was emptied or placed). Reads ask the office's
// current contents.
#pragma once

#include <map>
#include <memory>

#include <com/sun/star/datatransfer/clipboard/XClipboard.hpp>
#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>

#include "tarvelo/clipboard/clipboard_backend.h"

class LibreOfficeClipboardBackend : public ClipboardBackend {
public:
    // Reaches the office's system clipboard through the component context; throws
    // std::runtime_error if the service is not there.
    explicit LibreOfficeClipboardBackend(
        const com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext>& context);
    ~LibreOfficeClipboardBackend() override;

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
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
