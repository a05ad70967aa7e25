// Stand-ins for the word processor, the data files, the clipboard, the host and the dialog's
// controls: each records what the add-in did with it, in one shared log.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tarvelo/addin_error.h"
#include "tarvelo/addin_services.h"
#include "tarvelo/frm_choose.h"
#include "tarvelo/text_util.h"
#include "word/word.h"

namespace fakes {

using Log = std::vector<std::string>;

inline std::string U8(std::u16string_view s) { return mTarvelo::ToUtf8(s); }

// The clipboard shared by the fake clipboard objects and the fake document's paste.
struct ClipboardState {
    bool open = false;
    std::uint32_t format = 0;
    std::string bytes;
    bool failOpen = false;
};

struct WordState {
    Log log;
    std::string document;  // what was typed and pasted, UTF-8; pasted parts as <paste fmt:..>
    int documents = 1;
    bool screenUpdating = true;
    int failAfterPastes = -1;  // Paste throws once this many pastes were made
    int pastes = 0;
    std::shared_ptr<ClipboardState> clipboard = std::make_shared<ClipboardState>();
    std::function<void()> onPaste;  // runs after every paste (a click during insertion)
};

class FakeFont : public word::Font {
public:
    explicit FakeFont(WordState& s) : s_(s) {}
    void SetSizeBi(float p) override { s_.log.push_back("SizeBi " + mTarvelo::FormatNumber(p)); }
    void SetSize(float p) override { s_.log.push_back("Size " + mTarvelo::FormatNumber(p)); }

private:
    WordState& s_;
};

class FakeParagraphFormat : public word::ParagraphFormat {
public:
    explicit FakeParagraphFormat(WordState& s) : s_(s) {}
    void SetAlignment(int a) override { s_.log.push_back("Alignment " + std::to_string(a)); }

private:
    WordState& s_;
};

class FakeSelection : public word::Selection {
public:
    explicit FakeSelection(WordState& s) : s_(s) {}
    std::unique_ptr<word::Font> Font() override { return std::make_unique<FakeFont>(s_); }
    std::unique_ptr<word::ParagraphFormat> ParagraphFormat() override {
        return std::make_unique<FakeParagraphFormat>(s_);
    }
    std::unique_ptr<word::Range> Range() override { throw word::Error("no range here"); }
    int Type() const override { return word::wdSelectionIP; }
    std::u16string Text() const override { return {}; }
    int MoveStart(int, int) override { return 0; }
    void TypeText(std::u16string_view t) override {
        s_.log.push_back("TypeText " + U8(t));
        s_.document += U8(t);
    }
    void TypeParagraph() override {
        s_.log.push_back("TypeParagraph");
        s_.document += "\n";
    }
    void BoldRun() override { s_.log.push_back("BoldRun"); }
    void RtlRun() override { s_.log.push_back("RtlRun"); }
    void LtrRun() override { s_.log.push_back("LtrRun"); }
    void RtlPara() override { s_.log.push_back("RtlPara"); }
    void LtrPara() override { s_.log.push_back("LtrPara"); }
    void Paste() override { DoPaste("Paste"); }
    void PasteAndFormat(int type) override { DoPaste("PasteAndFormat " + std::to_string(type)); }
    void EndKey(int unit) override { s_.log.push_back("EndKey " + std::to_string(unit)); }

private:
    void DoPaste(const std::string& what) {
        if (s_.failAfterPastes >= 0 && s_.pastes >= s_.failAfterPastes) throw word::Error("paste refused");
        ++s_.pastes;
        s_.log.push_back(what);
        s_.document += "<paste " + std::to_string(s_.clipboard->format) + ":" + s_.clipboard->bytes + ">";
        if (s_.onPaste) s_.onPaste();
    }
    WordState& s_;
};

class FakeWindow : public word::Window {
public:
    explicit FakeWindow(WordState& s) : s_(s) {}
    std::unique_ptr<word::Selection> Selection() override { return std::make_unique<FakeSelection>(s_); }

private:
    WordState& s_;
};

class FakeDocument : public word::Document {
public:
    explicit FakeDocument(WordState& s) : s_(s) {}
    std::unique_ptr<word::Window> ActiveWindow() override { return std::make_unique<FakeWindow>(s_); }

private:
    WordState& s_;
};

class FakeDocuments : public word::Documents {
public:
    explicit FakeDocuments(WordState& s) : s_(s) {}
    int Count() const override { return s_.documents; }

private:
    WordState& s_;
};

// A menu bar of controls that keeps their properties, as the office's command bars would.
class FakeControls;
class FakeControl : public word::CommandBarControl, public std::enable_shared_from_this<FakeControl> {
public:
    FakeControl(int type, FakeControls* parent, WordState& s);
    std::u16string Caption() const override { return caption; }
    void SetCaption(std::u16string_view c) override {
        caption = c;
        s_.log.push_back("Caption " + U8(c));
    }
    void SetTooltipText(std::u16string_view t) override {
        tooltip = t;
        s_.log.push_back("TooltipText " + U8(t));
    }
    void SetVisible(bool v) override {
        visible = v;
        s_.log.push_back(std::string("Visible ") + (v ? "1" : "0"));
    }
    void SetOnAction(std::u16string_view a) override {
        onAction = a;
        s_.log.push_back("OnAction " + U8(a));
    }
    void SetTag(std::u16string_view t) override {
        tag = t;
        s_.log.push_back("Tag " + U8(t));
    }
    void Delete() override;
    word::CommandBarControls& Controls() override;
    void OnClick(std::function<void()> h) override { click = std::move(h); }

    int type;
    std::u16string caption, tooltip, onAction, tag;
    bool visible = false;
    std::function<void()> click;
    std::unique_ptr<FakeControls> children;
    FakeControls* parent;

private:
    WordState& s_;
};

class FakeControls : public word::CommandBarControls {
public:
    explicit FakeControls(WordState& s) : s_(s) {}
    std::shared_ptr<word::CommandBarControl> Add(int type, std::optional<bool> temporary) override {
        s_.log.push_back("Add " + std::to_string(type) + (temporary ? (*temporary ? " temporary" : " permanent") : ""));
        items.push_back(std::make_shared<FakeControl>(type, this, s_));
        return items.back();
    }
    std::shared_ptr<word::CommandBarControl> Item(std::u16string_view caption) override {
        for (auto& c : items) {
            std::u16string plain;
            for (char16_t ch : c->caption)
                if (ch != u'&') plain += ch;
            if (plain == caption) return c;
        }
        throw word::Error("no such control");
    }
    std::vector<std::shared_ptr<FakeControl>> items;

private:
    WordState& s_;
};

inline FakeControl::FakeControl(int t, FakeControls* p, WordState& s) : type(t), parent(p), s_(s) {
    if (type == word::msoControlPopup) children = std::make_unique<FakeControls>(s);
}

inline void FakeControl::Delete() {
    s_.log.push_back("Delete " + U8(caption));
    auto& items = parent->items;
    for (auto it = items.begin(); it != items.end(); ++it)
        if (it->get() == this) {
            items.erase(it);
            return;
        }
}

inline word::CommandBarControls& FakeControl::Controls() {
    if (!children) throw word::Error("a button has no controls");
    return *children;
}

class FakeBar : public word::CommandBar {
public:
    explicit FakeBar(WordState& s) : controls(s) {}
    word::CommandBarControls& Controls() override { return controls; }
    FakeControls controls;
};

class FakeCommandBars : public word::CommandBars {
public:
    explicit FakeCommandBars(WordState& s) : bar(s) {}
    word::CommandBar& ActiveMenuBar() override { return bar; }
    FakeBar bar;
};

class FakeApplication : public word::Application {
public:
    explicit FakeApplication(WordState& s) : s_(s), documents_(s), bars(s) {}
    std::unique_ptr<word::Document> ActiveDocument() override { return std::make_unique<FakeDocument>(s_); }
    word::Documents& Documents() override { return documents_; }
    std::unique_ptr<word::Selection> Selection() override { return std::make_unique<FakeSelection>(s_); }
    void SetScreenUpdating(bool on) override {
        s_.screenUpdating = on;
        s_.log.push_back(std::string("ScreenUpdating ") + (on ? "1" : "0"));
    }
    word::CommandBars& CommandBars() override { return bars; }

private:
    WordState& s_;
    FakeDocuments documents_;

public:
    FakeCommandBars bars;
};

// Data of a made-up text: every surah has `versesPerSurah` verses.
class FakeData : public mTarvelo::AddinData {
public:
    void loade() override { log.push_back("loade"); }
    void loadeFile(std::int16_t slot) override {
        log.push_back("loadeFile " + std::to_string(slot) + " " + U8(translationName));
        openTranslation = translationName;
    }
    std::u16string SurahName(int s) const override {
        return u"  Surah" + mTarvelo::AsciiToUtf16(std::to_string(s)) + u"  ";
    }
    int VerseCount(int) const override { return versesPerSurah; }
    int SurahVerseOffset(int s) const override { return (s - 1) * versesPerSurah; }
    std::string RtfHeader() const override { return "{\\rtf1 HEADER"; }
    std::string ReadArabicVerse(std::int32_t i) override {
        auto it = arabic.find(i);
        if (it != arabic.end()) return it->second;
        return "1A2B 3C*";  // two words and the character that is never drawn
    }
    std::string AmbilUnicode(std::int32_t i, std::int16_t ayah) override {
        if (unreadableUnicode.count(i)) return {};  // the reader reported its error
        return "U" + std::to_string(i) + "/" + std::to_string(ayah);
    }
    std::u16string ReadTranslationVerse(std::int32_t i) override {
        auto it = translation.find(i);
        if (it != translation.end()) return it->second;
        return u"  " + openTranslation + u" verse " + mTarvelo::AsciiToUtf16(std::to_string(i));
    }
    std::u16string ReadNoteText(std::int32_t n) override {
        return u"Note " + mTarvelo::AsciiToUtf16(std::to_string(n)) + u" text ";
    }
    mTarvelo::TranslationStorage TranslationEncoding() const override { return encoding; }
    std::int32_t TranslationLcid() const override { return lcid; }
    char16_t TranslationDirection() const override { return direction; }
    bool TranslationSingleByte() const override { return singleByte; }
    std::u16string TranslationName() const override { return translationName; }
    void SetTranslationName(std::u16string_view n) override { translationName = n; }
    std::vector<std::u16string> TranslationFiles() const override { return files; }

    Log log;
    int versesPerSurah = 10;
    std::map<std::int32_t, std::string> arabic;
    std::map<std::int32_t, bool> unreadableUnicode;
    std::map<std::int32_t, std::u16string> translation;
    mTarvelo::TranslationStorage encoding = mTarvelo::TranslationStorage::Plain;
    std::int32_t lcid = 1033;
    char16_t direction = u'L';
    bool singleByte = false;
    std::u16string translationName, openTranslation;
    std::vector<std::u16string> files;
};

class FakeClipboard : public mTarvelo::AddinClipboard {
public:
    FakeClipboard(std::shared_ptr<ClipboardState> s, Log& log) : s_(std::move(s)), log_(log) {}
    std::uint32_t AddFormat(std::string_view name) override {
        log_.push_back("AddFormat " + std::string(name));
        return 49300;
    }
    bool ClipboardOpen(std::uintptr_t owner) override {
        log_.push_back("ClipboardOpen " + std::to_string(owner));
        if (s_->failOpen) throw mTarvelo::AddinError(-2147219933, "Unable to Open Clipboard.");
        s_->open = true;
        mine_ = true;
        return true;
    }
    void ClearClipboard() override {
        log_.push_back("ClearClipboard");
        s_->bytes.clear();
    }
    bool SetTextData(std::uint32_t format, std::string_view bytes) override {
        log_.push_back("SetTextData " + std::to_string(format));
        s_->format = format;
        s_->bytes = bytes;
        return true;
    }
    void ClipboardClose() override {
        if (mine_) log_.push_back("ClipboardClose");
        mine_ = false;
        s_->open = false;
    }

private:
    std::shared_ptr<ClipboardState> s_;
    Log& log_;
    bool mine_ = false;
};

// The controls of one dialog, kept as plain lists and values.
struct ControlState {
    std::vector<std::u16string> items;
    std::vector<bool> selected;
    int index = -1;
    std::u16string text, caption;
    int value = 0;
    bool visible = true;
    int top = 0;
};

struct DialogState {
    std::map<mTarvelo::ChooseControl, ControlState> controls;
    int left = 0, top = 0, width = 3600, height = 3500;
    bool shown = false, topmost = false, closed = false;
    std::vector<std::string> messages;
    int created = 0;
};

class FakeChooseControls : public mTarvelo::ChooseControls {
public:
    explicit FakeChooseControls(DialogState& s) : s_(s) {
        const int created = s.created + 1;
        s_ = DialogState();
        s_.created = created;
        s_.controls[mTarvelo::ChooseControl::Command1].caption = u"OK";
    }
    void Clear(mTarvelo::ChooseControl c) override {
        auto& st = s_.controls[c];
        st.items.clear();
        st.selected.clear();
        st.index = -1;
    }
    void AddItem(mTarvelo::ChooseControl c, std::u16string_view item) override {
        s_.controls[c].items.emplace_back(item);
        s_.controls[c].selected.push_back(false);
    }
    int ListCount(mTarvelo::ChooseControl c) const override { return static_cast<int>(s_.controls[c].items.size()); }
    std::u16string List(mTarvelo::ChooseControl c, int i) const override { return s_.controls[c].items.at(i); }
    int ListIndex(mTarvelo::ChooseControl c) const override { return s_.controls[c].index; }
    void SetListIndex(mTarvelo::ChooseControl c, int i) override {
        auto& st = s_.controls[c];
        st.index = i;
        if (i >= 0 && i < static_cast<int>(st.items.size())) st.text = st.items[i];
    }
    bool Selected(mTarvelo::ChooseControl c, int i) const override { return s_.controls[c].selected.at(i); }
    void SetSelected(mTarvelo::ChooseControl c, int i, bool v) override { s_.controls[c].selected.at(i) = v; }
    std::u16string Text(mTarvelo::ChooseControl c) const override { return s_.controls[c].text; }
    void SetText(mTarvelo::ChooseControl c, std::u16string_view t) override { s_.controls[c].text = t; }
    int Value(mTarvelo::ChooseControl c) const override { return s_.controls[c].value; }
    void SetValue(mTarvelo::ChooseControl c, int v) override { s_.controls[c].value = v; }
    std::u16string Caption(mTarvelo::ChooseControl c) const override { return s_.controls[c].caption; }
    void SetCaption(mTarvelo::ChooseControl c, std::u16string_view t) override { s_.controls[c].caption = t; }
    void SetVisible(mTarvelo::ChooseControl c, bool v) override { s_.controls[c].visible = v; }
    void SetTop(mTarvelo::ChooseControl c, int t) override { s_.controls[c].top = t; }
    int Width() const override { return s_.width; }
    int Height() const override { return s_.height; }
    void SetHeight(int h) override { s_.height = h; }
    void Move(int l, int t) override {
        s_.left = l;
        s_.top = t;
    }
    int ScreenWidth() const override { return 19200; }
    int ScreenHeight() const override { return 14400; }
    void Show() override { s_.shown = true; }
    void SetTopmost(bool on) override { s_.topmost = on; }
    std::uintptr_t WindowHandle() const override { return 4242; }
    void Close() override { s_.closed = true; }
    void MsgBox(std::u16string_view text) override { s_.messages.push_back(U8(text)); }

private:
    DialogState& s_;
};

class FakeHost : public mTarvelo::AddinHost {
public:
    FakeHost(WordState& word, DialogState& dialog) : word_(word), dialog_(dialog) {}
    void MsgBox(std::u16string_view text, mTarvelo::MessageIcon icon) override {
        messages.push_back(U8(text));
        icons.push_back(icon);
    }
    void DoEvents() override {
        word_.log.push_back("DoEvents");
        if (onDoEvents) onDoEvents();
    }
    void ShowAbout() override { aboutShown++; }
    std::u16string GetSetting(std::string_view a, std::string_view s, std::string_view k) override {
        return settings[std::string(a) + "/" + std::string(s) + "/" + std::string(k)];
    }
    void SaveSetting(std::string_view a, std::string_view s, std::string_view k, std::u16string_view v) override {
        settings[std::string(a) + "/" + std::string(s) + "/" + std::string(k)] = v;
    }
    std::unique_ptr<mTarvelo::AddinClipboard> NewClipboard() override {
        return std::make_unique<FakeClipboard>(word_.clipboard, word_.log);
    }
    std::unique_ptr<mTarvelo::ChooseControls> NewChooseControls() override {
        auto controls = std::make_unique<FakeChooseControls>(dialog_);
        if (onNewDialog) onNewDialog(dialog_);
        return controls;
    }

    std::vector<std::string> messages;
    std::vector<mTarvelo::MessageIcon> icons;
    std::map<std::string, std::u16string> settings;
    int aboutShown = 0;
    std::function<void()> onDoEvents;
    std::function<void(DialogState&)> onNewDialog;  // set the controls of a dialog being loaded

private:
    WordState& word_;
    DialogState& dialog_;
};

}  // namespace fakes
