// How clipboard formats are named between programs, apart from any clipboard service: the
// registry of format names of this process, the format a MIME type offered by another program
// stands for, and file lists as text/uri-list. Everything here reads text that other programs
// wrote, so nothing is trusted: a type or a list that cannot be read gives 0 or nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelo::clipboard {

inline constexpr std::uint32_t cfText = 1;
inline constexpr std::uint32_t cfUnicodeText = 13;
inline constexpr std::uint32_t cfFileList = 15;
inline constexpr std::string_view rtfName = "Rich Text Format";

// Registers a format name in the process (case-insensitively, like the system's table) and
// returns its number from C000 hexadecimal on; 0 for an empty name or a full table.
std::uint32_t RegisterFormatName(std::string_view name);
// The registered name of a number; empty for any other number.
std::string RegisteredFormatName(std::uint32_t format);

// The MIME type under which this process offers formats that have no name of their own.
inline constexpr std::string_view unnamedFormatPrefix = "application/x-tarvelo-format-";

// The format a MIME type stands for: UTF-16 text, Rich Text (registered), file lists, a named
// format (windows_formatname="NAME", registered) or an unnamed one of this process (its number,
// 1 to FFFFFFFF, in decimal); 0 for any other type, or when the number or name cannot be read.
std::uint32_t FormatOfMimeType(std::string_view mime);

// A file list (the names of a file-list block) as text/uri-list, and the names of such a list
// as a file-list block (a 20-byte header and null-terminated single-byte names).
std::string FileUrl(std::string_view path);
std::string PathOfUrl(std::string_view url);
std::vector<std::uint8_t> UriListFromFileBlock(const std::vector<std::uint8_t>& block);
std::vector<std::uint8_t> FileBlockFromUriList(const std::vector<std::uint8_t>& uris);

}  // namespace tarvelo::clipboard
