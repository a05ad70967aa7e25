// The data files' platform side: opening and reading files, listing the data folder, code pages
// and text conversions.
#include <algorithm>
#include <system_error>

#include "tarvelo/data/data_files.h"

#include "codepage/code_page.h"

namespace mTarvelo {

// ---------------------------------------------------------------------------------------------
// DataFile

DataFile::DataFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) RaiseDataError(errFileNotFound);
    stream_.open(path, std::ios::binary);
    if (!stream_) RaiseDataError(errFileNotFound);
    stream_.seekg(0, std::ios::end);
    const auto end = stream_.tellg();
    if (end < 0) RaiseDataError(errFileNotFound);
    size_ = static_cast<std::uint64_t>(end);
    stream_.seekg(0);
}

void DataFile::Seek(std::uint64_t offset) {
    if (offset > size_) RaiseDataError(errPastEndOfFile);
    position_ = offset;
}

std::string DataFile::Read(std::uint64_t count) {
    if (count > size_ - position_) RaiseDataError(errPastEndOfFile);
    std::string bytes;
    if (count > 4 * pageSize) {  // a long block: read it at once
        bytes.resize(static_cast<std::size_t>(count));
        stream_.clear();
        stream_.seekg(static_cast<std::streamoff>(position_));
        if (!stream_.read(bytes.data(), static_cast<std::streamsize>(count))) RaiseDataError(errPastEndOfFile);
        position_ += count;
        return bytes;
    }
    bytes.reserve(static_cast<std::size_t>(count));
    while (count > 0) {
        const std::uint64_t start = position_ / pageSize * pageSize;
        const std::string& page = PageAt(start);
        const std::uint64_t from = position_ - start;
        if (from >= page.size()) RaiseDataError(errPastEndOfFile);
        const std::uint64_t take = std::min(count, page.size() - from);
        bytes.append(page, static_cast<std::size_t>(from), static_cast<std::size_t>(take));
        position_ += take;
        count -= take;
    }
    return bytes;
}

const std::string& DataFile::PageAt(std::uint64_t start) {
    Page* oldest = &pages_[0];
    for (Page& page : pages_) {
        if (!page.Bytes.empty() && page.Start == start) {
            page.LastUse = ++uses_;
            return page.Bytes;
        }
        if (page.LastUse < oldest->LastUse) oldest = &page;
    }
    std::string bytes(static_cast<std::size_t>(std::min(pageSize, size_ - start)), '\0');
    stream_.clear();
    stream_.seekg(static_cast<std::streamoff>(start));
    if (!stream_.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) RaiseDataError(errPastEndOfFile);
    oldest->Start = start;
    oldest->Bytes = std::move(bytes);
    oldest->LastUse = ++uses_;
    return oldest->Bytes;
}

// ---------------------------------------------------------------------------------------------
// Data folder (the folder of the data files and the platform version are platform_<system>.cpp's)

std::filesystem::path ChooseDataFolder(const std::filesystem::path& besideFolder,
                                       const std::filesystem::path& sharedFolder) {
    std::error_code error;
    if (std::filesystem::is_regular_file(besideFolder / "Arabic.dabrel", error) || sharedFolder.empty())
        return besideFolder;
    if (std::filesystem::is_regular_file(sharedFolder / "Arabic.dabrel", error)) return sharedFolder;
    return besideFolder;
}

std::vector<std::filesystem::path> TranslationFiles() {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(DataFolder(), error)) {
        std::string name = entry.path().filename().string();
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (name.size() >= 7 && name.ends_with(".dabrel")) files.push_back(entry.path());
    }
    // Name order, as the Windows file systems list a folder (not case-sensitive).
    auto folded = [](const std::filesystem::path& p) {
        std::string name = p.filename().string();
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        return name;
    };
    std::sort(files.begin(), files.end(), [&](const auto& a, const auto& b) { return folded(a) < folded(b); });
    return files;
}

// ---------------------------------------------------------------------------------------------
// Code pages

int CodePageForLcid(std::int32_t lcid) {
    const int primary = lcid & 0x3FF;
    switch (lcid) {  // locales whose script depends on the sublanguage
        case 0x0804:
        case 0x1004: return 936;  // Chinese (PRC, Singapore)
        case 0x0404:
        case 0x0C04:
        case 0x1404: return 950;   // Chinese (Taiwan, Hong Kong, Macao)
        case 0x082C: return 1251;  // Azerbaijani (Cyrillic)
        case 0x0843: return 1251;  // Uzbek (Cyrillic)
        case 0x0C1A:
        case 0x1C1A:
        case 0x201A: return 1251;  // Serbian, Bosnian (Cyrillic)
        default: break;
    }
    switch (primary) {
        case 0x01:
        case 0x20:
        case 0x29:
        case 0x80:
        case 0x8C: return 1256;  // ar, ur, fa, ug, prs
        case 0x02:
        case 0x19:
        case 0x22:
        case 0x23:
        case 0x2F:
        case 0x3F:
        case 0x40:
        case 0x44:
        case 0x50:
        case 0x6D:
        case 0x85: return 1251;  // bg, ru, uk, be, mk, kk, ky, tt, mn, ba, sah
        case 0x05:
        case 0x0E:
        case 0x15:
        case 0x18:
        case 0x1A:
        case 0x1B:
        case 0x1C:
        case 0x24: return 1250;  // cs, hu, pl, ro, hr/sr (Latin), sk, sq, sl
        case 0x08: return 1253;  // el
        case 0x0D: return 1255;  // he
        case 0x1F:
        case 0x2C:
        case 0x43: return 1254;  // tr, az (Latin), uz (Latin)
        case 0x25:
        case 0x26:
        case 0x27: return 1257;  // et, lv, lt
        case 0x2A: return 1258;  // vi
        case 0x1E: return 874;   // th
        case 0x11: return 932;   // ja
        case 0x12: return 949;   // ko
        case 0x04: return 936;   // zh, other sublanguages
        default: return 1252;    // Western European languages, and locales without an ANSI code page
    }
}

std::u16string DecodeCodePage(std::string_view bytes, int codePage) {
    auto text = codepage::decode(bytes, codePage);
    if (!text) RaiseDataError(errInvalidCall);
    return *std::move(text);
}

std::u16string DecodeLowBytes(std::u16string_view text, std::int32_t lcid) {
    std::string bytes;
    bytes.reserve(text.size());
    for (char16_t c : text) bytes += static_cast<char>(c & 0xFF);
    return DecodeCodePage(bytes, CodePageForLcid(lcid));
}

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string FromUtf8(std::string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        char32_t c = 0xFFFD;
        std::size_t length = 1;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            length = 2;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4;
        }
        if (length > 1) {
            if (i + length > text.size()) {
                length = 1;
            } else {
                c = b & (0x7F >> length);
                for (std::size_t k = 1; k < length; ++k) {
                    const auto next = static_cast<unsigned char>(text[i + k]);
                    if ((next & 0xC0) != 0x80) {
                        c = 0xFFFD;
                        length = 1;
                        break;
                    }
                    c = (c << 6) | (next & 0x3F);
                }
            }
        }
        if (c >= 0x10000 && c <= 0x10FFFF) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c > 0x10FFFF ? 0xFFFD : c);
        }
        i += length;
    }
    return out;
}

}  // namespace mTarvelo
