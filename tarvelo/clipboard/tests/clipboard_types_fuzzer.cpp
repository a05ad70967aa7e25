// libFuzzer target: clipboard types and data as other programs offer them. The input's first line
// is a MIME type, the rest the data offered under it. The type is read as a format; a file list
// (and any data) is read both as text/uri-list and as a file-list block, and the names found are
// written back. Nothing may crash, throw or read outside the input.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "tarvelo/clipboard/clipboard_backend.h"
#include "tarvelo/clipboard/clipboard_types.h"

using namespace tarvelo::clipboard;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto newline = input.find('\n');
    const std::string_view mime = input.substr(0, newline);
    const std::vector<std::uint8_t> payload(newline == std::string_view::npos ? data + size : data + newline + 1,
                                            data + size);

    const std::uint32_t format = FormatOfMimeType(mime);
    // A named format keeps its name; an unnamed one reads back its number.
    if (format >= 0xC000 && format < 0x10000 && !RegisteredFormatName(format).empty() &&
        RegisterFormatName(RegisteredFormatName(format)) != format)
        std::abort();
    if (mime.starts_with(unnamedFormatPrefix) && format != 0 &&
        FormatOfMimeType(std::string(unnamedFormatPrefix) + std::to_string(format)) != format)
        std::abort();

    const std::vector<std::uint8_t> block = FileBlockFromUriList(payload);
    const std::vector<std::string> names = ParseFileListBlock(block);
    // Names written as a list and read back are the same names.
    if (ParseFileListBlock(FileBlockFromUriList(UriListFromFileBlock(block))) != names) std::abort();
    UriListFromFileBlock(payload);
    return 0;
}
