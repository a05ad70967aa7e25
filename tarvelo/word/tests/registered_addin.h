// What the tests of Tarvelo.dll inside the Word stand-in share: the two programs beside the test,
// the add-in's settings key, and a suite fixture that registers the add-in as the installer does
// (with the classes mirrored to HKLM for Wine's COM) and starts from no stored settings.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "tarvelo/word/tests/registry_support.h"
#include "word/com/standin/control_surface.h"

namespace tarvelo_word::test_support {

// Word's VBA settings of the add-in (the chooser's translation below "language").
inline constexpr wchar_t AddinSettingsKey[] = L"Software\\VB and VBA Program Settings\\tarvelocfg";

inline std::filesystem::path Standin() { return word::com::standin::programFolder() / "WordStandin.exe"; }
inline std::wstring Dll() { return ProgramFolder() + L"\\Tarvelo.dll"; }

template <typename Done>
bool WaitFor(Done done, std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    return word::com::standin::pumpMessagesUntil(done, timeout);
}

class RegisteredAddinTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegDeleteTreeW(HKEY_CURRENT_USER, AddinSettingsKey);
        ASSERT_EQ(Regsvr32(Dll()), 0u);
        MirrorClassesToMachine();
    }
    static void TearDownTestSuite() {
        MirrorClassesToMachine(true);
        Regsvr32(Dll(), true);
        RegDeleteTreeW(HKEY_CURRENT_USER, AddinSettingsKey);
    }
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }
};

}  // namespace tarvelo_word::test_support
