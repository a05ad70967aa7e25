// frmChoose as a Win32 dialog, driven the way a user drives it: selections, clicks and keys
// arrive as window messages. Word is the recording backend, whose pastes read the real
// clipboard; the data is made up; message boxes are answered by a watcher.
#include <gtest/gtest.h>

#include "tarvelo/addin_state.h"
#include "tarvelo/tests/fakes.h"
#include "tarvelo/word/resource.h"
#include "tarvelo/word/tests/message_boxes.h"
#include "tarvelo/word/word_host.h"
#include "word/recording/recording.h"

namespace {

using namespace tarvelo_word;

// Made-up Arabic in the Unicode file's form: UTF-16LE bytes of "<verse index>" in Arabic letters.
class UnicodeData : public fakes::FakeData {
public:
    std::string AmbilUnicode(std::int32_t verseIndex, std::int16_t ayah) override {
        const std::u16string text = u"\u0622\u064A\u0629 " + mTarvelo::AsciiToUtf16(std::to_string(verseIndex)) +
                                    u" (" + mTarvelo::AsciiToUtf16(std::to_string(ayah)) + u") ";
        std::string bytes;
        for (char16_t c : text) {
            bytes.push_back(static_cast<char>(c & 0xFF));
            bytes.push_back(static_cast<char>(c >> 8));
        }
        return bytes;
    }
};

// What the clipboard holds, as the recording document's pastes insert it: Unicode text as it
// is, Rich Text as its bytes.
std::u16string ClipboardContent(int type) {
    std::u16string content;
    if (!OpenClipboard(nullptr)) throw word::Error("clipboard busy");
    const UINT rtf = RegisterClipboardFormatA("Rich Text Format");
    if (type == -1 && IsClipboardFormatAvailable(rtf)) {
        HANDLE data = GetClipboardData(rtf);
        const auto* bytes = static_cast<const unsigned char*>(GlobalLock(data));
        for (SIZE_T i = 0; i < GlobalSize(data) && bytes[i] != 0; ++i) content += char16_t(bytes[i]);
        GlobalUnlock(data);
    } else if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        content = reinterpret_cast<const char16_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return content;
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        using namespace mTarvelo;
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\tarvelocfg");
        UnloadFrmChoose();
        StopRequested = false;
        InsertMode = 0;
        LastSurahIndex = LastFromIndex = LastToIndex = 0;
        TranslationChosen.fill(false);
        word = std::make_shared<word::recording::Recorder>();
        word->setPasteSource(&ClipboardContent);
        WordApp = word;
        data = std::make_shared<UnicodeData>();
        data->files = {u"English.dabrel", u"Arabic.dabrel", u"Indonesia.dabrel"};
        SetServices({data, MakeWordHost()});
    }
    void TearDown() override {
        if (auto dialog = mTarvelo::LoadedFrmChoose()) dialog->Controls().Close();
        mTarvelo::UnloadFrmChoose();
        mTarvelo::WordApp.reset();
        mTarvelo::SetServices({});
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\tarvelocfg");
    }

    HWND Open(std::int16_t mode) {
        mTarvelo::InsertMode = mode;
        mTarvelo::ShowFrmChoose();
        return Dialog();
    }
    static HWND Dialog() {
        auto dialog = mTarvelo::LoadedFrmChoose();
        return dialog ? reinterpret_cast<HWND>(dialog->WindowHandle()) : nullptr;
    }
    static HWND Item(int id) { return GetDlgItem(Dialog(), id); }
    static std::wstring Text(int id) {
        wchar_t text[256] = {};
        GetWindowTextW(Item(id), text, 256);
        return text;
    }
    static bool Shown(int id) { return (GetWindowLongW(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    static int TwipsY(int pixels) {
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return MulDiv(pixels, 1440, dpi);
    }
    static int HeightTwips() {
        RECT rect;
        GetWindowRect(Dialog(), &rect);
        return TwipsY(rect.bottom - rect.top);
    }
    static int TopTwips(int id) {
        RECT rect;
        GetWindowRect(Item(id), &rect);
        MapWindowPoints(nullptr, Dialog(), reinterpret_cast<POINT*>(&rect), 2);
        return TwipsY(rect.top);
    }
    // The user picks an item of a combo box's list.
    static void Pick(int id, int index) {
        SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(id)));
    }
    // The user clicks an item of the translation list (selecting it, or clearing it).
    static void ClickTranslation(int index) {
        HWND list = Item(IDC_cbTran);
        const bool selected = SendMessageW(list, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
        SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
        SendMessageW(list, LB_SETSEL, selected ? FALSE : TRUE, index);
        SendMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(IDC_cbTran, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }
    static void Tick(int id) { SendMessageW(Item(id), BM_SETCHECK, BST_CHECKED, 0); }
    // A key pressed in a control, through the thread's message queue.
    static void Key(HWND control, WPARAM key) {
        PostMessageW(control, WM_KEYDOWN, key, 1);
        PostMessageW(control, WM_KEYUP, key, 0xC0000001);
        DoEvents();
    }
    static HWND ComboEdit(int id) { return GetWindow(Item(id), GW_CHILD); }

    std::shared_ptr<word::recording::Recorder> word;
    std::shared_ptr<UnicodeData> data;
};

TEST_F(DialogTest, LaysOutByModeWithTheCaptionsAndFontOfTheForm) {
    HWND dialog = Open(1);
    ASSERT_NE(dialog, nullptr);
    wchar_t caption[64] = {};
    GetWindowTextW(dialog, caption, 64);
    EXPECT_STREQ(caption, L"Choose Surah  & Ayah");
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_NE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(Text(IDC_Label1_0), L"Surat");
    EXPECT_EQ(Text(IDC_Label2), L"Ayat");
    EXPECT_EQ(Text(IDC_Label1_1), L"s/d");
    EXPECT_EQ(Text(IDC_Label1_2), L"Font Size");
    EXPECT_EQ(Text(IDC_Label1_3), L"Translation");
    EXPECT_EQ(Text(IDC_chUnicod), L"Unicode");
    EXPECT_EQ(Text(IDC_Check1), L"New Line");
    EXPECT_EQ(Text(IDC_Check2), L"Switch");
    EXPECT_EQ(Text(IDC_Command1), L"OK");
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Item(IDC_cbSurat), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"Arial");
    for (int id : {IDC_chUnicod, IDC_Check1, IDC_Check2, IDC_cbTran, IDC_Label1_3}) EXPECT_TRUE(Shown(id)) << id;
    EXPECT_NEAR(HeightTwips(), 4285, 15);
    EXPECT_NEAR(TopTwips(IDC_Command1), 3375, 15);
    EXPECT_EQ(Text(IDC_cbSurat), L"001. Surah1");
    EXPECT_EQ(Text(IDC_cbSize), L"14");
    EXPECT_EQ(SendMessageW(Item(IDC_cbTran), LB_GETCOUNT, 0, 0), 2);

    Key(dialog, VK_ESCAPE);
    mTarvelo::UnloadFrmChoose();
    dialog = Open(2);
    for (int id : {IDC_Check2, IDC_cbTran, IDC_Label1_3}) EXPECT_FALSE(Shown(id)) << id;
    for (int id : {IDC_chUnicod, IDC_Check1}) EXPECT_TRUE(Shown(id)) << id;
    EXPECT_NEAR(HeightTwips(), 3085, 15);
    EXPECT_NEAR(TopTwips(IDC_Command1), 2160, 15);

    SendMessageW(dialog, WM_CLOSE, 0, 0);  // the close box
    EXPECT_EQ(mTarvelo::LoadedFrmChoose(), nullptr);
    dialog = Open(3);
    for (int id : {IDC_chUnicod, IDC_Check1, IDC_Check2}) EXPECT_FALSE(Shown(id)) << id;
    for (int id : {IDC_cbTran, IDC_Label1_3}) EXPECT_TRUE(Shown(id)) << id;
    EXPECT_NEAR(HeightTwips(), 4285, 15);
}

TEST_F(DialogTest, IsOwnedByWordsWindowAndLoadedHiddenWhenOnlyRead) {
    HWND word = CreateWindowExW(0, L"STATIC", L"Word", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
    // Word's main window has its own class: the add-in takes it over any other window.
    WNDCLASSW opus{};
    opus.lpfnWndProc = DefWindowProcW;
    opus.hInstance = GetModuleHandleW(nullptr);
    opus.lpszClassName = L"OpusApp";
    RegisterClassW(&opus);
    HWND opusApp = CreateWindowExW(0, L"OpusApp", L"Document1 - Word", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                   nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(HostWindow(), opusApp);
    mTarvelo::InsertMode = 2;
    auto loaded = mTarvelo::LoadFrmChoose();  // as the composer does during automatic replacement
    HWND dialog = Dialog();
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), opusApp);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(loaded->FontSizeText(), u"14");
    EXPECT_FALSE(loaded->UnicodeChecked());
    mTarvelo::ShowFrmChoose();  // a menu command only brings it up
    EXPECT_EQ(Dialog(), dialog);
    EXPECT_TRUE(IsWindowVisible(dialog));
    loaded.reset();
    DestroyWindow(opusApp);
    DestroyWindow(word);
}

TEST_F(DialogTest, ChoosingASurahAndAFirstVerseFillsTheVerseLists) {
    data->versesPerSurah = 7;
    Open(2);
    Pick(IDC_cbSurat, 1);
    EXPECT_EQ(Text(IDC_cbSurat), L"002. Surah2");
    EXPECT_EQ(SendMessageW(Item(IDC_cbFrom), CB_GETCOUNT, 0, 0), 7);
    EXPECT_EQ(Text(IDC_cbFrom), L"1");
    EXPECT_EQ(Text(IDC_cbTo), L"1");
    Pick(IDC_cbFrom, 4);
    EXPECT_EQ(Text(IDC_cbFrom), L"5");
    EXPECT_EQ(Text(IDC_cbTo), L"5");
    EXPECT_EQ(SendMessageW(Item(IDC_cbTo), CB_GETCOUNT, 0, 0), 3);  // 5, 6, 7
}

TEST_F(DialogTest, TabGoesThroughTheControlsInTheFormsOrder) {
    HWND dialog = Open(1);
    std::vector<int> order;
    HWND control = Item(IDC_cbSurat);
    for (int i = 0; i < 9; ++i) {
        order.push_back(GetDlgCtrlID(control));
        control = GetNextDlgTabItem(dialog, control, FALSE);
    }
    EXPECT_EQ(order, (std::vector<int>{IDC_cbSurat, IDC_cbFrom, IDC_cbTo, IDC_cbSize, IDC_chUnicod, IDC_Check1,
                                       IDC_Check2, IDC_cbTran, IDC_Command1}));
    // The Tab key itself moves the focus on.
    SetFocus(Item(IDC_chUnicod));
    Key(Item(IDC_chUnicod), VK_TAB);
    EXPECT_EQ(GetFocus(), Item(IDC_Check1));
}

TEST_F(DialogTest, EnterInsertsTheUnicodeVersesAndTheChosenTranslationThenCloses) {
    test_support::MessageBoxes boxes;
    Open(1);
    Pick(IDC_cbSurat, 0);
    Pick(IDC_cbFrom, 0);
    Pick(IDC_cbTo, 2);
    Tick(IDC_chUnicod);
    // Whatever was chosen before is clicked off, then English on: it is the current one from now on.
    HWND list = Item(IDC_cbTran);
    for (int i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i)
        if (SendMessageW(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) ClickTranslation(i);
    const auto english =
        SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"English"));
    ASSERT_GE(english, 0);
    ClickTranslation(static_cast<int>(english));
    EXPECT_EQ(GetVbSetting("tarvelocfg", "language", "default"), u"English");
    EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 1);
    Key(ComboEdit(IDC_cbSurat), VK_RETURN);

    EXPECT_EQ(mTarvelo::LoadedFrmChoose(), nullptr);
    const std::u16string text = word->document().text();
    for (int v = 1; v <= 3; ++v) {
        const std::u16string verse = u"\u0622\u064A\u0629 " + mTarvelo::AsciiToUtf16(std::to_string(v)) + u" (";
        EXPECT_NE(text.find(verse), std::u16string::npos) << v;
        EXPECT_NE(text.find(u"English verse " + mTarvelo::AsciiToUtf16(std::to_string(v))), std::u16string::npos);
    }
    EXPECT_EQ(text.find(u"\u0622\u064A\u0629 4 ("), std::u16string::npos);
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{});
}

TEST_F(DialogTest, TheGlyphFormPastesRichTextWithOneSymbolFieldPerGlyph) {
    Open(2);
    Pick(IDC_cbSurat, 0);
    SendMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(IDC_Command1, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(IDC_Command1)));
    const std::u16string text = word->document().text();
    EXPECT_EQ(text.rfind(u"{\\rtf1 HEADER", 0), 0u) << mTarvelo::ToUtf8(text);
    EXPECT_NE(text.find(u"SYMBOL"), std::u16string::npos);
}

TEST_F(DialogTest, EscapeClosesWithoutInserting) {
    Open(2);
    Key(ComboEdit(IDC_cbSurat), VK_ESCAPE);
    EXPECT_EQ(mTarvelo::LoadedFrmChoose(), nullptr);
    EXPECT_EQ(word->document().text(), u"");
}

TEST_F(DialogTest, StopClickedDuringTheInsertionEndsItBetweenVerses) {
    Open(2);
    Pick(IDC_cbSurat, 1);
    Pick(IDC_cbTo, 9);
    Tick(IDC_chUnicod);
    // Two clicks wait in the queue: the first is OK, the second arrives while it inserts.
    for (int i = 0; i < 2; ++i)
        PostMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(IDC_Command1, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Item(IDC_Command1)));
    DoEvents();
    EXPECT_EQ(mTarvelo::LoadedFrmChoose(), nullptr);
    const std::u16string text = word->document().text();
    EXPECT_NE(text.find(u"\u0622\u064A\u0629 11 (1)"), std::u16string::npos);
    EXPECT_EQ(text.find(u"\u0622\u064A\u0629 12 (2)"), std::u16string::npos);
    EXPECT_TRUE(mTarvelo::StopRequested);
}

TEST_F(DialogTest, AMissingVerseIsReportedAndTheDialogStaysUsable) {
    test_support::MessageBoxes boxes;
    Open(2);
    SetWindowTextW(Item(IDC_cbFrom), L"");
    SendMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(IDC_Command1, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(IDC_Command1)));
    ASSERT_NE(mTarvelo::LoadedFrmChoose(), nullptr);
    EXPECT_EQ(Text(IDC_Command1), L"OK");
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{L"Pilih dulu surat dan ayatnya!"});
    EXPECT_EQ(word->document().text(), u"");
}

}  // namespace

namespace {

TEST(AboutTest, OneModelessAboutWindowOwnedByWordWhichEscapeCloses) {
    using namespace tarvelo_word;
    HWND word = CreateWindowExW(0, L"STATIC", L"Word", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
    ShowAboutWindow(word);
    HWND about = AboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(IsWindowVisible(about));
    EXPECT_EQ(GetWindow(about, GW_OWNER), word);
    wchar_t caption[64] = {};
    GetWindowTextW(about, caption, 64);
    EXPECT_STREQ(caption, L"About Tarvelo");
    ShowAboutWindow(word);
    EXPECT_EQ(AboutWindow(), about);
    // Modeless: Word's own loop (here DoEvents) hands it the key.
    PostMessageW(GetDlgItem(about, IDC_AboutOK), WM_KEYDOWN, VK_ESCAPE, 1);
    DoEvents();
    EXPECT_EQ(AboutWindow(), nullptr);
    EXPECT_FALSE(IsWindow(about));
    DestroyWindow(word);
}

}  // namespace
