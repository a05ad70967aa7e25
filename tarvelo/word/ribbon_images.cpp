#include "tarvelo/word/ribbon_images.h"

#include <cctype>
#include <cstring>
#include <string>

namespace tarvelo_word {

namespace {

// "auto_replace", 32 -> "AUTO_REPLACE_32": resource names are kept in upper case.
std::wstring ResourceName(std::string_view icon, int pixels) {
    std::wstring name;
    for (char c : icon) name += static_cast<wchar_t>(std::toupper(static_cast<unsigned char>(c)));
    for (char c : "_" + std::to_string(pixels)) name += static_cast<wchar_t>(c);
    return name;
}

// A bottom-up 32-bit DIB section holding `pixels` (DibPixels' rows); null on failure.
HBITMAP MakeBitmap(const std::vector<std::uint8_t>& dib, int pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels;
    info.bmiHeader.biHeight = pixels;  // positive: the first row in memory is the bottom one
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) return nullptr;
    std::memcpy(bits, dib.data(), dib.size());
    GdiFlush();
    return bitmap;
}

}  // namespace

std::vector<std::uint8_t> DibPixels(const std::uint8_t* rgba, std::size_t bytes, int pixels) {
    const auto side = static_cast<std::size_t>(pixels);
    if (pixels <= 0 || rgba == nullptr || bytes != side * side * 4) return {};
    std::vector<std::uint8_t> dib(bytes);
    for (std::size_t row = 0; row < side; ++row) {
        const std::uint8_t* from = rgba + row * side * 4;
        std::uint8_t* to = dib.data() + (side - 1 - row) * side * 4;
        for (std::size_t column = 0; column < side; ++column, from += 4, to += 4) {
            const unsigned alpha = from[3];
            auto premultiply = [alpha](std::uint8_t value) {
                return static_cast<std::uint8_t>((value * alpha + 127) / 255);
            };
            to[0] = premultiply(from[2]);
            to[1] = premultiply(from[1]);
            to[2] = premultiply(from[0]);
            to[3] = static_cast<std::uint8_t>(alpha);
        }
    }
    return dib;
}

HRESULT IconPicture(HINSTANCE module, std::string_view icon, int pixels, IPictureDisp** picture) {
    if (picture == nullptr) return E_POINTER;
    *picture = nullptr;
    const std::wstring name = ResourceName(icon, pixels);
    HRSRC resource = FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const auto* rgba = loaded != nullptr ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
    if (rgba == nullptr) return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
    const auto dib = DibPixels(rgba, SizeofResource(module, resource), pixels);
    if (dib.empty()) return E_UNEXPECTED;  // a resource of another size
    HBITMAP bitmap = MakeBitmap(dib, pixels);
    if (bitmap == nullptr) return E_OUTOFMEMORY;
    PICTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = bitmap;
    // The picture owns the bitmap from here and deletes it with itself.
    const HRESULT result =
        OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE, reinterpret_cast<void**>(picture));
    if (FAILED(result)) DeleteObject(bitmap);
    return result;
}

}  // namespace tarvelo_word
