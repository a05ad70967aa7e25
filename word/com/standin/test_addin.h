// A COM add-in for the stand-in's hosting tests (WordStandinTestAddin.dll): at connection it adds
// the pop-up "Test Add-in" with the button "&Ping" (a click types "pong" at the insertion point)
// and appends every connection event to HKCU\Software\WordStandinTestAddin, value Events
// ("OnConnection 1 <ProgId>;OnAddInsUpdate;...").
#pragma once

#include <guiddef.h>

namespace word::com::standin {

// {6F1C2A53-8B0E-4C1D-9A57-3E2B9D0C7A11}
inline constexpr CLSID CLSID_TestAddin = {0x6F1C2A53, 0x8B0E, 0x4C1D, {0x9A, 0x57, 0x3E, 0x2B, 0x9D, 0x0C, 0x7A, 0x11}};
inline constexpr wchar_t kTestAddinProgId[] = L"WordStandin.TestAddin";
inline constexpr wchar_t kTestAddinEventsKey[] = L"Software\\WordStandinTestAddin";

}  // namespace word::com::standin
