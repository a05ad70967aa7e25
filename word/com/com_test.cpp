// The Word backend against the Word stand-in (another process, reached through Automation) under
// Wine: the word layer's behaviour suite, and what only this backend does.
#include <gtest/gtest.h>

#include <cstring>

#include "word/com/com_support.h"
#include "word/com/standin/control_surface.h"
#include "word/com/word_com.h"
#include "word/recording/behaviour_suite.h"

namespace {

using word::com::Apartment;
using word::com::ComPtr;
using word::com::standin::programFolder;
using word::com::standin::StandinProcess;

std::filesystem::path standinProgram() { return programFolder() / "WordStandin.exe"; }

// The clipboard, owned by a message-only window of this process while data is put on it.
class ClipboardWriter {
public:
    ClipboardWriter() : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
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
    ComHarness() : standin_(std::make_unique<StandinProcess>(standinProgram())), word_(word::com::attachToRunningWord()) {}

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
    EXPECT_EQ(standin.menu(), (std::vector<MenuEntry>{{0, word::msoControlPopup, true, true, u"Al-&Quran", u"", u"", u""},
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
