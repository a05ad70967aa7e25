#include "tarvelo/clipboard/custom_clipboard.h"

#include <array>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "codepage/code_page.h"

namespace {

constexpr std::array<std::u16string_view, 18> standardNames = {
    u"",
    u"Text",
    u"Bitmap Picture",
    u"Meta-File Picture",
    u"Microsoft Symbolic Link (SYLK) data.",
    u"Software Arts' Data Interchange information.",
    u"Tagged Image File Format (TIFF) Picture",
    u"Text (OEM)",
    u"DIB Bitmap Picture",
    u"Colour Palette",
    u"Pen Data",
    u"RIFF Audio data",
    u"Wave File",
    u"Text (Unicode)",
    u"Enhanced Meta-File Picture",
    u"File List",
    u"",
    u"",
};

}  // namespace

cCustomClipboard::Error::Error(std::int32_t number, std::string source, std::string description)
    : std::runtime_error(description),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)) {}

std::string cCustomClipboard::ErrorSource() {
    std::string library = "Tarvelo";
#ifdef _WIN32
    HMODULE module = nullptr;
    char buffer[MAX_PATH];
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(&cCustomClipboard::ErrorSource), &module) &&
        GetModuleFileNameA(module, buffer, MAX_PATH) > 0)
        library = std::filesystem::path(buffer).stem().string();
#else
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&cCustomClipboard::ErrorSource), &info) != 0 && info.dli_fname != nullptr &&
        *info.dli_fname != '\0')
        library = std::filesystem::path(info.dli_fname).stem().string();
#endif
    return library + ".cCustomClipboard";
}

cCustomClipboard::cCustomClipboard(std::unique_ptr<ClipboardBackend> backend) : backend_(std::move(backend)) {}

cCustomClipboard::~cCustomClipboard() { ClipboardClose(); }

void cCustomClipboard::CheckOpen() const {
    if (!IsOpen()) throw Error(errNotOpen, ErrorSource(), std::string(descNotOpen));
}

std::uint32_t cCustomClipboard::AddFormat(std::u16string_view sName) {
    const std::uint32_t id = backend_->RegisterFormat(codepage::textToBytes(sName));
    return id >= firstRegisteredFormat ? id : 0;
}

std::int16_t cCustomClipboard::FormatCount() { return static_cast<std::int16_t>(backend_->CountFormats()); }

std::int32_t cCustomClipboard::GetCurrentFormats(WindowHandle hWndOwner) {
    formatIds_.clear();
    formatNames_.clear();
    ClipboardOpen(hWndOwner);
    // Closed on every way out, also when the instance held the clipboard before the call.
    struct Closer {
        cCustomClipboard& clipboard;
        ~Closer() { clipboard.ClipboardClose(); }
    } closer{*this};
    // A system that keeps repeating a number would never end the walk: stop at a repeat.
    for (std::uint32_t id = backend_->EnumFormats(0); id != 0; id = backend_->EnumFormats(id)) {
        if (HasCurrentFormat(id)) break;
        formatIds_.push_back(id);
        formatNames_.push_back(FormatName(id));
    }
    return static_cast<std::int32_t>(formatIds_.size());
}

std::optional<std::uint32_t> cCustomClipboard::GetCurrentFormatID(std::int32_t lIndex) const {
    if (lIndex < 1 || static_cast<std::size_t>(lIndex) > formatIds_.size()) return std::nullopt;
    return formatIds_[static_cast<std::size_t>(lIndex) - 1];
}

std::optional<std::u16string> cCustomClipboard::GetCurrentFormatName(std::int32_t lIndex) const {
    if (lIndex < 1 || static_cast<std::size_t>(lIndex) > formatNames_.size()) return std::nullopt;
    return formatNames_[static_cast<std::size_t>(lIndex) - 1];
}

bool cCustomClipboard::HasCurrentFormat(std::uint32_t lFormatId) const {
    for (std::uint32_t id : formatIds_)
        if (id == lFormatId) return true;
    return false;
}

std::u16string cCustomClipboard::FormatName(std::uint32_t lFormatId) {
    if (lFormatId >= 1 && lFormatId <= 17) return std::u16string(standardNames[lFormatId]);
    return codepage::bytesToText(backend_->RegisteredFormatName(lFormatId, 255));
}

std::uint32_t cCustomClipboard::FormatIDForName(WindowHandle hWndOwner, std::u16string_view sName) {
    GetCurrentFormats(hWndOwner);
    for (std::size_t i = 0; i < formatNames_.size(); ++i)
        if (formatNames_[i] == sName) return formatIds_[i];
    return 0;
}

bool cCustomClipboard::IsDataAvailableForFormatName(WindowHandle hWndOwner, std::u16string_view sFormatName) {
    const std::uint32_t id = FormatIDForName(hWndOwner, sFormatName);
    return id > 0 && backend_->IsFormatAvailable(id);
}

bool cCustomClipboard::IsDataAvailableForFormat(std::uint32_t lFormatId) {
    return backend_->IsFormatAvailable(lFormatId);
}

bool cCustomClipboard::GetBinaryData(std::uint32_t lFormatId, std::vector<std::uint8_t>& bData) {
    bData.clear();
    const MemoryHandle handle = GetClipboardMemoryHandle(lFormatId);
    if (handle == 0) return false;
    bData = backend_->BlockBytes(handle);
    return !bData.empty();
}

MemoryHandle cCustomClipboard::GetClipboardMemoryHandle(std::uint32_t lFormatId) {
    CheckOpen();
    if (!backend_->IsFormatAvailable(lFormatId)) return 0;
    return backend_->GetData(lFormatId);
}

bool cCustomClipboard::SetBinaryData(std::uint32_t lFormatId, const std::vector<std::uint8_t>& bData) {
    CheckOpen();
    std::vector<std::uint8_t> block(bData);
    // Unicode text ends with a null character.
    if (lFormatId == CF_UNICODETEXT) block.insert(block.end(), {0, 0});
    // An empty block would place nothing readable.
    if (block.empty()) return false;
    const MemoryHandle handle = backend_->AllocBlock(block);
    if (handle == 0) return false;
    return backend_->SetData(lFormatId, handle) != 0;
}

bool cCustomClipboard::SetClipboardMemoryHandle(std::uint32_t lFormatId, MemoryHandle hMem) {
    return backend_->SetData(lFormatId, hMem) != 0;
}

bool cCustomClipboard::GetTextData(std::uint32_t lFormatId, std::u16string& sTextOut) {
    if (lFormatId == CF_TEXT || lFormatId == CF_UNICODETEXT) {
        // The system's text access opens the clipboard itself: let go of it meanwhile.
        const bool wasOpen = IsOpen();
        const WindowHandle owner = owner_;
        if (wasOpen) ClipboardClose();
        sTextOut = backend_->ReadText();
        if (wasOpen) ClipboardOpen(owner);
        return true;
    }
    std::vector<std::uint8_t> bytes;
    if (!GetBinaryData(lFormatId, bytes)) return false;
    sTextOut = codepage::bytesToText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return true;
}

bool cCustomClipboard::SetTextData(std::uint32_t lFormatId, std::u16string_view sText) {
    if (sText.empty()) return false;
    const std::string bytes = codepage::textToBytes(sText);
    return SetBinaryData(lFormatId, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

bool cCustomClipboard::GetFileList(std::vector<std::u16string>& sFiles, std::int32_t& iFileCount) {
    const MemoryHandle handle = GetClipboardMemoryHandle(CF_HDROP);
    if (handle == 0) return false;
    iFileCount = static_cast<std::int32_t>(backend_->DragQueryFileCount(handle));
    if (iFileCount < 1) return false;
    sFiles.clear();
    for (std::int32_t i = 0; i < iFileCount; ++i) {
        std::string name = backend_->DragQueryFileName(handle, static_cast<std::uint32_t>(i), 260);
        if (const auto end = name.find('\0'); end != std::string::npos) name.resize(end);
        sFiles.push_back(codepage::bytesToText(name));
    }
    return true;
}

bool cCustomClipboard::SetFileList(const std::vector<std::u16string>& sFiles) {
    CheckOpen();
    std::string names;
    for (const auto& file : sFiles) {
        names += codepage::textToBytes(file);
        names += '\0';
    }
    names += '\0';
    // Header: offset of the names (20), drop point x and y, non-client flag, wide flag (0: ANSI).
    std::string header(20, '\0');
    header[0] = 20;
    const std::string bytes = header + names;
    const std::vector<std::uint8_t> block(bytes.begin(), bytes.end());
    return SetBinaryData(CF_HDROP, block);
}

void cCustomClipboard::ClearClipboard() {
    CheckOpen();
    backend_->Empty();
}

void cCustomClipboard::ClipboardClose() {
    if (open_) {
        backend_->Close();
        open_ = false;
        owner_ = 0;
    }
}

bool cCustomClipboard::ClipboardOpen(WindowHandle hWndOwner) {
    if (backend_->Open(hWndOwner)) {
        owner_ = hWndOwner;
        open_ = true;
        return true;
    }
    // A hold this instance had is given back rather than forgotten while the system keeps it.
    if (open_) backend_->Close();
    owner_ = 0;
    open_ = false;
    throw Error(errUnableToOpen, ErrorSource(), std::string(descUnableToOpen));
}
