// The Word backend against the Word stand-in (another process, reached through Automation) under
// Wine: the word layer's behaviour suite, and what only this backend does.
#include <gtest/gtest.h>

#include <cstring>

#include "word/com/com_support.h"
#include "word/com/standin/control_surface.h"
#include "word/com/standin/host.h"
#include "word/com/tests/test_addin.h"
#include "word/com/word_com.h"
#include "word/recording/tests/behaviour_suite.h"

namespace {

using word::com::Apartment;
using word::com::ComPtr;
using word::com::standin::programFolder;
using word::com::standin::StandinProcess;

std::filesystem::path standinProgram() { return programFolder() / "WordStandin.exe"; }

// The clipboard, owned by a message-only window of this process while data is put on it.
class ClipboardWriter {
public:
    ClipboardWriter()
        : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
    ClipboardWriter(const ClipboardWriter&) = delete;
    ClipboardWriter& operator=(const ClipboardWriter&) = delete;
    ~ClipboardWriter() {
        if (window_) DestroyWindow(window_);
    }

    void put(UINT format, const void* data, std::size_t size) {
        ASSERT_TRUE(OpenClipboard(window_));
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(GlobalLock(memory), data, size);
        GlobalUnlock(memory);
        EXPECT_TRUE(SetClipboardData(format, memory));  // the clipboard owns the memory now
        CloseClipboard();
    }

private:
    HWND window_;
};

class ComHarness {
public:
    ComHarness()
        : standin_(std::make_unique<StandinProcess>(standinProgram())), word_(word::com::attachToRunningWord()) {}

    word::Application& word() { return *word_; }
    void setContent(std::u16string_view text) { standin_->setContent(text); }
    std::vector<word::recording::Run> runs() { return standin_->runs(); }
    std::vector<word::recording::ParagraphProps> paragraphs() { return standin_->paragraphs(); }
    void putRichText(const std::string& rtf) {
        clipboard_.put(RegisterClipboardFormatW(L"Rich Text Format"), rtf.c_str(), rtf.size() + 1);
    }
    void putUnicodeText(std::u16string_view text) {
        const std::u16string terminated(text);
        clipboard_.put(CF_UNICODETEXT, terminated.c_str(), (terminated.size() + 1) * sizeof(char16_t));
    }
    bool clickAndWait(std::u16string_view caption, const bool& clicked) {
        standin_->click(caption);
        return word::com::standin::pumpMessagesUntil([&] { return clicked; }, std::chrono::seconds(10));
    }
    void closeDocument() { standin_->closeDocument(); }
    void stopWord() { standin_.reset(); }
    void startWord() { standin_ = std::make_unique<StandinProcess>(standinProgram()); }
    StandinProcess& standin() { return *standin_; }

private:
    Apartment apartment_;
    ClipboardWriter clipboard_;
    std::unique_ptr<StandinProcess> standin_;
    std::unique_ptr<word::Application> word_;
};

}  // namespace

namespace word::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(WordOverAutomation, WordBehaviour, ComHarness);
}

namespace {

TEST(WordBackend, NoWordRunningIsAnErrorOfTheLayerAndWordStartedLaterIsFound) {
    Apartment apartment;
    auto word = word::com::attachToRunningWord();
    try {
        word->ActiveDocument();
        FAIL() << "no Word is running";
    } catch (const word::Error& e) {
        EXPECT_NE(std::string(e.what()).find("not running"), std::string::npos) << e.what();
    }
    EXPECT_THROW(word->Documents().Count(), word::Error);
    StandinProcess standin(standinProgram());
    word->Selection()->TypeText(u"found");
    EXPECT_EQ(standin.text(), u"found");
}

TEST(WordBackend, FailuresCarryTheHresultAndWordsDescription) {
    Apartment apartment;
    StandinProcess standin(standinProgram(), u"/nodocument");
    auto word = word::com::attachToRunningWord();
    try {
        word->ActiveDocument();
        FAIL() << "no document is open";
    } catch (const word::Error& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("0x80020009"), std::string::npos) << message;  // DISP_E_EXCEPTION
        EXPECT_NE(message.find("no document is open"), std::string::npos) << message;
    }
}

TEST(WordBackend, AnAddInWrapsTheApplicationItWasHanded) {
    Apartment apartment;
    StandinProcess standin(standinProgram());
    auto word = word::com::wrapApplication(standin.application());
    auto selection = word->Selection();
    selection->TypeText(u"ab");
    word->SetScreenUpdating(false);
    EXPECT_FALSE(standin.screenUpdating());
    EXPECT_EQ(standin.edits(), (std::vector<std::u16string>{u"TypeText ab", u"ScreenUpdating False"}));
}

TEST(WordBackend, MenuPropertiesReachWordAndTemporaryIsPassedOnlyWhenGiven) {
    Apartment apartment;
    StandinProcess standin(standinProgram());
    auto word = word::com::attachToRunningWord();
    auto popup = word->CommandBars().ActiveMenuBar().Controls().Add(word::msoControlPopup, true);
    popup->SetCaption(u"Al-&Quran");
    auto button = popup->Controls().Add(word::msoControlButton);
    button->SetCaption(u"&About");
    button->SetTooltipText(u"About ");
    button->SetVisible(true);
    button->SetOnAction(u"!<Tarvelo.Connect>");
    button->SetTag(u"about");
    using word::com::standin::MenuEntry;
    EXPECT_EQ(standin.menu(),
              (std::vector<MenuEntry>{
                  {0, word::msoControlPopup, true, true, u"Al-&Quran", u"", u"", u""},
                  {1, word::msoControlButton, false, true, u"&About", u"About ", u"!<Tarvelo.Connect>", u"about"}}));
}

TEST(WordBackend, AClickHandlerIsReplacedAndEndsWithItsControl) {
    Apartment apartment;
    StandinProcess standin(standinProgram());
    auto word = word::com::attachToRunningWord();
    auto popup = word->CommandBars().ActiveMenuBar().Controls().Add(word::msoControlPopup, true);
    popup->SetCaption(u"Menu");
    int first = 0, second = 0;
    {
        auto button = popup->Controls().Add(word::msoControlButton);
        button->SetCaption(u"Go");
        button->OnClick([&] { ++first; });
        button->OnClick([&] { ++second; });
        standin.click(u"Go");
        EXPECT_TRUE(word::com::standin::pumpMessagesUntil([&] { return second == 1; }, std::chrono::seconds(10)));
        EXPECT_EQ(first, 0);
    }
    // The button variable is gone: its sink was unadvised, a click reaches nobody.
    standin.click(u"Go");
    word::com::standin::pumpMessagesWhileWaiting(nullptr, std::chrono::milliseconds(300));
    EXPECT_EQ(second, 1);
}

TEST(WordStandin, TypesKeysOneByOneAtTheInsertionPoint) {
    Apartment apartment;
    StandinProcess standin(standinProgram());
    standin.setContent(u"abc", 1);
    standin.typeKeys(u"XY\r");
    EXPECT_EQ(standin.text(), u"aXY\rbc");
    EXPECT_EQ(standin.edits(), (std::vector<std::u16string>{u"TypeText X", u"TypeText Y", u"TypeParagraph"}));
}

}  // namespace

namespace {

// The per-user registrations of add-ins for the stand-in (and the machine-wide class mirror that
// Wine's COM reads), removed again at the end.
class AddinRegistrations {
public:
    AddinRegistrations() { RegDeleteTreeW(HKEY_CURRENT_USER, word::com::standin::kTestAddinEventsKey); }
    AddinRegistrations(const AddinRegistrations&) = delete;
    AddinRegistrations& operator=(const AddinRegistrations&) = delete;
    ~AddinRegistrations() {
        for (const auto& [root, key] : written_) RegDeleteTreeW(root, key.c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, word::com::standin::kTestAddinEventsKey);
    }

    void addin(const std::wstring& progId, DWORD loadBehaviour) {
        const std::wstring key = L"Software\\Microsoft\\Office\\Word\\Addins\\" + progId;
        set(HKEY_CURRENT_USER, key, L"Description", L"a test add-in");
        RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"LoadBehavior", REG_DWORD, &loadBehaviour,
                        sizeof loadBehaviour);
        written_.emplace_back(HKEY_CURRENT_USER, key);
    }
    void testAddinClass() {
        wchar_t clsid[64];
        StringFromGUID2(word::com::standin::CLSID_TestAddin, clsid, 64);
        const std::wstring dll = (programFolder() / "WordStandinTestAddin.dll").wstring();
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            const std::wstring classKey = std::wstring(L"Software\\Classes\\CLSID\\") + clsid;
            const std::wstring progIdKey = std::wstring(L"Software\\Classes\\") + word::com::standin::kTestAddinProgId;
            set(root, classKey + L"\\InprocServer32", nullptr, dll);
            set(root, classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
            set(root, classKey + L"\\ProgID", nullptr, word::com::standin::kTestAddinProgId);
            set(root, progIdKey + L"\\CLSID", nullptr, clsid);
            written_.emplace_back(root, classKey);
            written_.emplace_back(root, progIdKey);
        }
    }
    static DWORD loadBehaviour(const std::wstring& progId) {
        const std::wstring key = L"Software\\Microsoft\\Office\\Word\\Addins\\" + progId;
        DWORD value = 0, size = sizeof value;
        RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"LoadBehavior", RRF_RT_REG_DWORD, nullptr, &value, &size);
        return value;
    }
    static std::wstring events() {
        std::wstring value(4096, L'\0');
        DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        if (RegGetValueW(HKEY_CURRENT_USER, word::com::standin::kTestAddinEventsKey, L"Events", RRF_RT_REG_SZ, nullptr,
                         value.data(), &bytes) != ERROR_SUCCESS)
            return {};
        value.resize(bytes / sizeof(wchar_t) - 1);
        return value;
    }

private:
    static void set(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
        ASSERT_EQ(RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(),
                                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    std::vector<std::pair<HKEY, std::wstring>> written_;
};

TEST(WordStandinAddins, AreConnectedAtStartServedFromTheMessageLoopAndDisconnectedAtQuit) {
    Apartment apartment;
    AddinRegistrations registrations;
    registrations.testAddinClass();
    registrations.addin(word::com::standin::kTestAddinProgId, 3);
    registrations.addin(L"WordStandin.NotLoadedAtStart", 2);
    {
        StandinProcess standin(standinProgram());
        EXPECT_EQ(standin.addins(), (std::vector<std::u16string>{u"WordStandin.TestAddin"}));
        EXPECT_EQ(standin.addinLog(), (std::vector<std::u16string>{u"OnConnection WordStandin.TestAddin",
                                                                   u"OnAddInsUpdate WordStandin.TestAddin",
                                                                   u"OnStartupComplete WordStandin.TestAddin"}));
        const auto menu = standin.menu();
        ASSERT_EQ(menu.size(), 2u);
        EXPECT_EQ(menu[0].caption, u"Test Add-in");
        EXPECT_TRUE(menu[0].temporary);
        standin.click(u"Ping");
        EXPECT_TRUE(
            word::com::standin::pumpMessagesUntil([&] { return standin.text() == u"pong"; }, std::chrono::seconds(10)));
        EXPECT_EQ(AddinRegistrations::events(),
                  L"OnConnection 1 WordStandin.TestAddin;OnAddInsUpdate;OnStartupComplete;");
    }
    EXPECT_EQ(
        AddinRegistrations::events(),
        L"OnConnection 1 WordStandin.TestAddin;OnAddInsUpdate;OnStartupComplete;OnBeginShutdown;OnDisconnection 0;");
}

TEST(WordStandinAddins, AnAddInThatCannotBeCreatedIsMarkedNotLoaded) {
    Apartment apartment;
    AddinRegistrations registrations;
    registrations.addin(L"WordStandin.Missing", 3);
    StandinProcess standin(standinProgram());
    EXPECT_TRUE(standin.addins().empty());
    ASSERT_EQ(standin.addinLog().size(), 1u);
    EXPECT_EQ(standin.addinLog()[0].rfind(u"failed WordStandin.Missing", 0), 0u);
    EXPECT_EQ(AddinRegistrations::loadBehaviour(L"WordStandin.Missing"), 2u);
}

}  // namespace

namespace {

// Runs the stand-in with a command-line switch and waits for it to end.
DWORD runStandin(const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + standinProgram().wstring() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return 255;
    WaitForSingleObject(info.hProcess, 30000);
    DWORD code = 255;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code;
}

TEST(WordStandinRegistration, MakesItWordApplicationThatComStartsOnRequestAndIsRemovedAgain) {
    Apartment apartment;
    ASSERT_EQ(runStandin(L"/regserver"), 0u);
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(L"Word.Application", &clsid), S_OK);
    EXPECT_EQ(clsid, word::com::standin::CLSID_WordApplication);
    wchar_t server[MAX_PATH * 2];
    LONG size = sizeof server;
    EXPECT_EQ(RegQueryValueW(HKEY_CURRENT_USER,
                             L"Software\\Classes\\CLSID\\{000209FF-0000-0000-C000-000000000046}\\LocalServer32", server,
                             &size),
              ERROR_SUCCESS);
    EXPECT_NE(std::wstring(server).find(L"WordStandin.exe"), std::wstring::npos);
    {
        // COM starts it on request, and it serves as Word.
        ComPtr<IDispatch> app;
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(app.GetAddressOf())),
                  S_OK);
        EXPECT_EQ(word::com::wrapApplication(app.Get())->Documents().Count(), 1);
        DISPID quit;
        LPOLESTR name = const_cast<LPOLESTR>(L"Quit");
        ASSERT_EQ(app->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &quit), S_OK);
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        app->Invoke(quit, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
    }
    EXPECT_EQ(runStandin(L"/unregserver"), 0u);
    EXPECT_NE(CLSIDFromProgID(L"Word.Application", &clsid), S_OK);
}

}  // namespace
