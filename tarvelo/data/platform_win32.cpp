// The data files' platform side on Windows: the folder of the module (the add-in's DLL or the
// program) that holds this code, the platform version, and file names compared as the file
// systems compare them.
#include <windows.h>

#include "tarvelo/data/data_files.h"

namespace mTarvelo {

std::filesystem::path DataFolder() {
    if (DataFolderOverride) return *DataFolderOverride;
    HMODULE module = nullptr;
    wchar_t buffer[MAX_PATH];
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&DataFolder), &module) &&
        GetModuleFileNameW(module, buffer, MAX_PATH) > 0)
        return std::filesystem::path(buffer).parent_path();
    return std::filesystem::current_path();
}

bool IsWin9x() {
    // Platform 1 is the 9x family: ask with the extended structure first, then the basic one.
    // GetVersionExA is deprecated, but the platform id it reports is exactly the question.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    OSVERSIONINFOEXA extended{};
    extended.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);  // 156 bytes
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended)))
        return extended.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
    OSVERSIONINFOA basic{};
    basic.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);  // 148 bytes
    if (GetVersionExA(&basic)) return basic.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
#pragma GCC diagnostic pop
    return false;
}

bool SameFileName(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           CompareStringOrdinal(reinterpret_cast<const wchar_t*>(a.data()), static_cast<int>(a.size()),
                                reinterpret_cast<const wchar_t*>(b.data()), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

}  // namespace mTarvelo
