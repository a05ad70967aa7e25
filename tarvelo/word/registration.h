// Per-user registration of the add-in, needing no administrator: the COM class under
// HKCU\Software\Classes (apartment threading, ProgId Tarvelo.Connect) in one registry view, and
// Word's add-in entry HKCU\Software\Microsoft\Office\Word\Addins\Tarvelo.Connect, which both
// views share.
#pragma once

#include <windows.h>

#include <string>

namespace tarvelo_word {

inline constexpr wchar_t AddinKey[] = L"Software\\Microsoft\\Office\\Word\\Addins\\Tarvelo.Connect";
inline constexpr wchar_t ClassesKey[] = L"Software\\Classes";
inline constexpr wchar_t FriendlyName[] = L"Tarvelo";
inline constexpr wchar_t Description[] =
    L"Verses of the Quran in Arabic and in translation, inserted at the insertion point or in "
    L"place of typed tags such as [QS2:1-2A]";
inline constexpr DWORD LoadBehavior = 3;  // loaded now, and loaded at every start of Word

// The registry view of this build's bitness: 32-bit Word reads the class from the 32-bit view,
// 64-bit Word from the 64-bit one.
inline constexpr REGSAM OwnView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
inline constexpr REGSAM OtherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;

// Writes the class for the library at `dllPath` in `view`, the ProgId and Word's add-in entry.
// S_OK, or the failing call's error (what was written before stays; unregistering removes it).
HRESULT RegisterAddin(const std::wstring& dllPath, REGSAM view = OwnView);

// Removes the class from `view`. The ProgId and Word's add-in entry are shared by both views:
// they go only when the class is registered in neither view any more, so that removing one
// bitness leaves the other one loadable. Keys of others (sibling add-ins, the Addins key
// itself) are left alone. Absent keys are not an error.
HRESULT UnregisterAddin(REGSAM view = OwnView, REGSAM otherView = OtherView);

// The full path of the module (DLL or program) that contains this code.
std::wstring OwnModulePath();

}  // namespace tarvelo_word
