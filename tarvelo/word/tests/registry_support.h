// Registration helpers of the tests: regsvr32 on a DLL, and the mirror of the per-user class
// registration under HKLM that Wine's COM needs (it does not read HKCU\Software\Classes).
#pragma once

#include <windows.h>

#include <string>

namespace tarvelo_word::test_support {

// Runs regsvr32 /s (and /u) on `dll`; its exit code, or -1 if it could not be started.
inline DWORD Regsvr32(const std::wstring& dll, bool unregister = false) {
    std::wstring command = std::wstring(L"regsvr32.exe /s ") + (unregister ? L"/u " : L"") + L"\"" + dll + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return static_cast<DWORD>(-1);
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = static_cast<DWORD>(-1);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// The class and ProgId keys below Software\Classes, copied from HKCU to HKLM (or removed there).
inline void MirrorClassesToMachine(bool remove = false) {
    for (const wchar_t* key :
         {L"Software\\Classes\\CLSID\\{47176963-FBEE-4AAF-84A0-D9EE835262AF}", L"Software\\Classes\\Tarvelo.Connect"}) {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
        if (remove) continue;
        HKEY source = nullptr, target = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &source) != ERROR_SUCCESS) continue;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) ==
            ERROR_SUCCESS) {
            RegCopyTreeW(source, nullptr, target);
            RegCloseKey(target);
        }
        RegCloseKey(source);
    }
}

inline std::wstring RegistryString(HKEY root, const std::wstring& key, const wchar_t* name, REGSAM view = 0) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return L"<no key>";
    wchar_t value[1024] = {};
    DWORD bytes = sizeof value - sizeof(wchar_t);
    DWORD type = 0;
    const LSTATUS status = RegQueryValueExW(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes);
    RegCloseKey(opened);
    if (status != ERROR_SUCCESS) return L"<no value>";
    return type == REG_SZ ? std::wstring(value) : L"<not a string>";
}

inline bool RegistryKeyExists(HKEY root, const std::wstring& key, REGSAM view = 0) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

// The folder of the running test program, where Tarvelo.dll and WordStandin.exe are built.
inline std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

}  // namespace tarvelo_word::test_support
