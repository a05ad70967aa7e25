// The host services inside Word: the per-user setting, the Win32 clipboard, message boxes and
// letting pending messages through.
#include <gtest/gtest.h>

#include "tarvelo/clipboard/custom_clipboard.h"
#include "tarvelo/clipboard/win32_clipboard.h"
#include "tarvelo/word/registration.h"
#include "tarvelo/word/tests/message_boxes.h"
#include "tarvelo/word/tests/registry_support.h"
#include "tarvelo/word/word_host.h"

namespace {

using namespace tarvelo_word;

constexpr wchar_t SettingKey[] = L"Software\\VB and VBA Program Settings\\tarvelocfg\\language";

std::wstring ReadRegistryString(const wchar_t* key, const wchar_t* name) {
    wchar_t value[256] = {};
    DWORD bytes = sizeof value;
    DWORD type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, &type, value, &bytes) != ERROR_SUCCESS) return L"<none>";
    return type == REG_SZ ? std::wstring(value) : L"<not a string>";
}

class SettingTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\tarvelocfg"); }
    void TearDown() override { SetUp(); }
};

TEST_F(SettingTest, LivesWhereVisualBasicKeepsItAndReadsBackEmptyWhenMissing) {
    EXPECT_EQ(GetVbSetting("tarvelocfg", "language", "default"), u"");
    ASSERT_TRUE(SaveVbSetting("tarvelocfg", "language", "default", u"English"));
    EXPECT_EQ(ReadRegistryString(SettingKey, L"default"), L"English");
    EXPECT_EQ(GetVbSetting("tarvelocfg", "language", "default"), u"English");
    // Overwritten by a longer and a non-ASCII name; other keys of the section stay missing.
    ASSERT_TRUE(SaveVbSetting("tarvelocfg", "language", "default", u"Indon\u00e9sia \u0627"));
    EXPECT_EQ(GetVbSetting("tarvelocfg", "language", "default"), u"Indon\u00e9sia \u0627");
    EXPECT_EQ(GetVbSetting("tarvelocfg", "language", "other"), u"");
    EXPECT_EQ(GetVbSetting("tarvelocfg", "other", "default"), u"");
}

std::vector<std::uint8_t> Bytes(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

TEST(Win32ClipboardTest, WithoutAnOwnerTheBackendsOwnWindowHoldsTheClipboard) {
    Win32ClipboardBackend backend;
    ASSERT_TRUE(backend.Open(0));
    ASSERT_NE(backend.MessageOwner(), 0u);
    ASSERT_TRUE(backend.Empty());
    EXPECT_EQ(reinterpret_cast<WindowHandle>(GetClipboardOwner()), backend.MessageOwner());
    const std::u16string text = u"\u0628\u0650\u0633\u0652\u0645\u0650 (1)";
    const MemoryHandle block = backend.AllocBlock(Bytes(text));
    EXPECT_NE(backend.SetData(CF_UNICODETEXT, block), 0u);
    ASSERT_TRUE(backend.Close());
    EXPECT_EQ(backend.ReadText(), text);
}

TEST(Win32ClipboardTest, ABlockTheSystemRefusesIsFreed) {
    Win32ClipboardBackend backend;
    // The clipboard is not open: SetClipboardData refuses.
    const MemoryHandle block = backend.AllocBlock(Bytes(u"lost"));
    ASSERT_NE(block, 0u);
    EXPECT_EQ(backend.SetData(CF_UNICODETEXT, block), 0u);
    EXPECT_EQ(GlobalFlags(reinterpret_cast<HGLOBAL>(block)), static_cast<UINT>(GMEM_INVALID_HANDLE));
}

TEST(Win32ClipboardTest, TheComposersClipboardCarriesRichTextBytesUnchanged) {
    auto clipboard = MakeWin32Clipboard();
    const std::uint32_t rtf = clipboard->AddFormat("Rich Text Format");
    EXPECT_GE(rtf, 0xC000u);
    EXPECT_EQ(clipboard->AddFormat("Rich Text Format"), rtf);
    HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const std::string fragment = "{\\rtf1\\ansi {\\field{\\*\\fldinst SYMBOL 200 \\\\f \"HQPB1\"}}\xE9\xFF}";
    ASSERT_TRUE(clipboard->ClipboardOpen(reinterpret_cast<std::uintptr_t>(owner)));
    clipboard->ClearClipboard();
    EXPECT_TRUE(clipboard->SetTextData(rtf, fragment));
    clipboard->ClipboardClose();

    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(rtf);
    ASSERT_NE(data, nullptr);
    const auto* bytes = static_cast<const char*>(GlobalLock(data));
    EXPECT_EQ(std::string(bytes, fragment.size()), fragment);
    GlobalUnlock(data);
    CloseClipboard();
    DestroyWindow(owner);
}

TEST(HostTest, MessageBoxesCarryTheAddinsTitle) {
    test_support::MessageBoxes boxes;
    MakeWordHost()->MsgBox(u"Harus ada document yang aktif!", mTarvelo::MessageIcon::Information);
    MakeWordHost()->MsgBox(u"Error 440 (x) in procedure y of Designer Connect", mTarvelo::MessageIcon::None);
    const auto texts = boxes.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], L"Harus ada document yang aktif!");
    EXPECT_EQ(texts[1], L"Error 440 (x) in procedure y of Designer Connect");
}

TEST(RegistrationViewTest, EachBitnessHasItsClassAndRemovingOneKeepsWhatTheOtherNeeds) {
    using test_support::RegistryKeyExists;
    using test_support::RegistryString;
    const std::wstring classKey = L"Software\\Classes\\CLSID\\{47176963-FBEE-4AAF-84A0-D9EE835262AF}";
    const std::wstring addinKey = AddinKey;
    ASSERT_EQ(RegisterAddin(L"C:\\x86\\Tarvelo.dll", KEY_WOW64_32KEY), S_OK);
    if (RegistryKeyExists(HKEY_CURRENT_USER, classKey, KEY_WOW64_64KEY)) {
        UnregisterAddin(KEY_WOW64_32KEY, KEY_WOW64_64KEY);
        GTEST_SKIP() << "this system keeps no separate 32-bit view of the classes";
    }
    ASSERT_EQ(RegisterAddin(L"C:\\x64\\Tarvelo.dll", KEY_WOW64_64KEY), S_OK);
    EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, classKey + L"\\InprocServer32", nullptr, KEY_WOW64_32KEY),
              L"C:\\x86\\Tarvelo.dll");
    EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, classKey + L"\\InprocServer32", nullptr, KEY_WOW64_64KEY),
              L"C:\\x64\\Tarvelo.dll");

    // The 64-bit one goes: the 32-bit Word still finds its class, the ProgId and its entry.
    ASSERT_EQ(UnregisterAddin(KEY_WOW64_64KEY, KEY_WOW64_32KEY), S_OK);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, classKey, KEY_WOW64_64KEY));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, classKey, KEY_WOW64_32KEY));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, L"Software\\Classes\\Tarvelo.Connect"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, addinKey));

    ASSERT_EQ(UnregisterAddin(KEY_WOW64_32KEY, KEY_WOW64_64KEY), S_OK);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, classKey, KEY_WOW64_32KEY));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, L"Software\\Classes\\Tarvelo.Connect"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, addinKey));
}

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) ++*reinterpret_cast<int*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(HostTest, DoEventsRunsWaitingMessagesAndLeavesAQuitToTheHostsLoop) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TarveloDoEventsTest";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"TarveloDoEventsTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    int count = 0;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&count));
    PostMessageW(window, WM_APP, 0, 0);
    PostMessageW(window, WM_APP, 0, 0);
    DoEvents();
    EXPECT_EQ(count, 2);

    PostQuitMessage(7);
    PostMessageW(window, WM_APP, 0, 0);
    DoEvents();
    MSG msg;
    // The quit message is waiting again for the host's loop.
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    DoEvents();
    DestroyWindow(window);
}

}  // namespace
