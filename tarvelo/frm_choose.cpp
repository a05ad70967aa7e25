#include "tarvelo/frm_choose.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <utility>

#include "quran/quran_text.h"
#include "tarvelo/addin_services.h"
#include "tarvelo/addin_state.h"
#include "tarvelo/composer.h"
#include "tarvelo/text_util.h"

namespace mTarvelo {

namespace {

using C = ChooseControl;

constexpr std::u16string_view ChooseFirstMessage = u"Pilih dulu surat dan ayatnya!";
// OK in a mode that inserts a translation with none selected, or none there to select.
constexpr std::u16string_view ChooseTranslationMessage = u"Pilih dulu terjemahannya!";
constexpr std::u16string_view NoTranslationMessage = u"Tidak ada file terjemahan (*.dabrel) di folder Tarvelo.";

std::shared_ptr<FrmChoose>& Instance() {
    static std::shared_ptr<FrmChoose> instance;
    return instance;
}

std::u16string Number(int n) { return AsciiToUtf16(std::to_string(n)); }

std::u16string ThreeDigits(int n) {
    std::string s = std::to_string(n);
    while (s.size() < 3) s.insert(s.begin(), '0');
    return AsciiToUtf16(s);
}

bool IsArabicFileName(std::u16string_view name) {
    std::u16string upper(name);
    for (auto& c : upper)
        if (c < 128) c = static_cast<char16_t>(std::toupper(static_cast<int>(c)));
    return upper == u"ARABIC";
}

}  // namespace

FrmChoose::FrmChoose(std::unique_ptr<ChooseControls> controls) : controls_(std::move(controls)) {}

void FrmChoose::Centre() {
    auto& c = *controls_;
    c.Move((c.ScreenWidth() - c.Width()) / 2, (c.ScreenHeight() - c.Height()) / 2);
}

void FrmChoose::Form_Load() {
    auto& c = *controls_;
    auto& data = Data();

    StopRequested = false;
    data.SetTranslationName(Host().GetSetting(TranslationSettingApp, TranslationSettingSection, TranslationSettingKey));

    // Which controls the mode needs, the dialog's height and the place of its button.
    struct Layout {
        bool unicode, newLine, alternate, translations;
        int height, buttonTop;
    };
    std::optional<Layout> layout;
    switch (InsertMode) {
        case ArabicAndTranslation: layout = Layout{true, true, true, true, 4285, 3375}; break;
        case ArabicOnly: layout = Layout{true, true, false, false, 3085, 2160}; break;
        case TranslationOnly: layout = Layout{false, false, false, true, 4285, 3375}; break;
        default: break;
    }
    if (layout) {
        c.SetVisible(C::chUnicod, layout->unicode);
        c.SetVisible(C::Check1, layout->newLine);
        c.SetVisible(C::Check2, layout->alternate);
        c.SetVisible(C::cbTran, layout->translations);
        c.SetVisible(C::lblTranslation, layout->translations);
        c.SetHeight(layout->height);
        c.SetTop(C::Command1, layout->buttonTop);
    }
    Centre();

    c.Clear(C::cbSurat);
    for (int i = 1; i <= quran::kSurahCount; ++i)
        c.AddItem(C::cbSurat, ThreeDigits(i) + u". " + TrimBlanks(data.SurahName(i)));

    c.SetListIndex(C::cbSurat, LastSurahIndex >= 1 ? LastSurahIndex : 0);
    cbSurat_Click();
    if (LastFromIndex > 0) {
        c.SetListIndex(C::cbFrom, LastFromIndex);
        cbFrom_Click();
        c.SetListIndex(C::cbTo, LastToIndex);
    }

    c.Clear(C::cbSize);
    std::u16string_view sizes = FontSizes;
    while (!sizes.empty()) {
        const auto comma = sizes.find(u',');
        c.AddItem(C::cbSize, sizes.substr(0, comma));
        sizes = comma == std::u16string_view::npos ? std::u16string_view{} : sizes.substr(comma + 1);
    }
    c.SetListIndex(C::cbSize, 5);
    c.SetText(C::cbSize, c.List(C::cbSize, 5));

    c.Clear(C::cbTran);
    for (const auto& file : data.TranslationFiles()) {
        const std::u16string name = file.substr(0, file.find(u'.'));
        if (!IsArabicFileName(name)) c.AddItem(C::cbTran, name);
    }
    const int translations = c.ListCount(C::cbTran);
    for (int i = 0; i < translations && i < static_cast<int>(TranslationChosen.size()); ++i)
        c.SetSelected(C::cbTran, i, TranslationChosen[i]);
    // The stored choice is selected and current. When there is none (a new user) or its file is
    // gone, the first translation becomes the current one, so that a translation is always
    // chosen while there is one.
    const std::u16string current = data.TranslationName();
    int currentIndex = -1;
    for (int i = 0; i < translations && !current.empty(); ++i)
        if (c.List(C::cbTran, i) == current) currentIndex = i;
    if (currentIndex < 0 && translations > 0) {
        currentIndex = 0;
        data.SetTranslationName(c.List(C::cbTran, 0));
        data.loadeFile(1);
    }
    if (currentIndex >= 0) c.SetSelected(C::cbTran, currentIndex, true);

    c.SetTopmost(true);
}

void FrmChoose::cbSurat_Click() {
    auto& c = *controls_;
    c.Clear(C::cbFrom);
    c.Clear(C::cbTo);
    const int surah = c.ListIndex(C::cbSurat) + 1;
    versesOfSurah_ = surah >= 1 && surah <= quran::kSurahCount ? Data().VerseCount(surah) : 0;
    for (int v = 1; v <= versesOfSurah_; ++v) {
        c.AddItem(C::cbFrom, Number(v));
        c.AddItem(C::cbTo, Number(v));
    }
    if (versesOfSurah_ > 0) {
        c.SetListIndex(C::cbFrom, 0);
        c.SetText(C::cbFrom, c.List(C::cbFrom, 0));
        cbFrom_Click();
    }
}

void FrmChoose::cbFrom_Click() {
    auto& c = *controls_;
    c.Clear(C::cbTo);
    const std::u16string from = c.Text(C::cbFrom);
    c.SetText(C::cbTo, from);
    for (int v = std::max(1, WholeVal(from)); v <= versesOfSurah_; ++v) c.AddItem(C::cbTo, Number(v));
}

void FrmChoose::cbTran_Click(int index) {
    auto& c = *controls_;
    if (index < 0 || index >= c.ListCount(C::cbTran)) return;
    const std::u16string name = c.List(C::cbTran, index);
    Data().SetTranslationName(name);
    Host().SaveSetting(TranslationSettingApp, TranslationSettingSection, TranslationSettingKey, name);
    Data().loadeFile(1);
}

void FrmChoose::Command1_Click() {
    auto& c = *controls_;
    if (c.Caption(C::Command1) != u"OK") {
        StopRequested = true;
        return;
    }
    c.SetCaption(C::Command1, u"Stop");
    LastSurahIndex = static_cast<std::int16_t>(c.ListIndex(C::cbSurat));
    LastFromIndex = static_cast<std::int16_t>(c.ListIndex(C::cbFrom));
    LastToIndex = static_cast<std::int16_t>(c.ListIndex(C::cbTo));
    StopRequested = false;
    Centre();

    const std::u16string surahText = c.Text(C::cbSurat);
    const int surah = WholeVal(std::u16string_view(surahText).substr(0, 3));
    const int from = WholeVal(c.Text(C::cbFrom));
    const int to = WholeVal(c.Text(C::cbTo));
    // Numbers outside the surah table or past the surah's last verse would read other surahs'
    // verses (or beyond the data): they are refused like missing ones.
    const bool valid = surah >= 1 && surah <= quran::kSurahCount && from >= 1 && to >= 1 &&
                       from <= Data().VerseCount(surah) && to <= Data().VerseCount(surah);
    if (!valid) {
        c.MsgBox(ChooseFirstMessage);
        c.SetCaption(C::Command1, u"OK");
        return;
    }

    int selectedCount = 0;
    for (int i = 0; i < c.ListCount(C::cbTran); ++i)
        if (c.Selected(C::cbTran, i)) ++selectedCount;
    // A mode that inserts translations with none chosen would insert none and say nothing.
    if ((InsertMode == ArabicAndTranslation || InsertMode == TranslationOnly) && selectedCount == 0) {
        c.MsgBox(c.ListCount(C::cbTran) == 0 ? NoTranslationMessage : ChooseTranslationMessage);
        c.SetCaption(C::Command1, u"OK");
        return;
    }
    for (int i = 0; i < c.ListCount(C::cbTran) && i < static_cast<int>(TranslationChosen.size()); ++i)
        TranslationChosen[i] = c.Selected(C::cbTran, i);

    const bool sameLine = c.Value(C::Check1) != 1;
    const auto s = static_cast<std::int16_t>(surah);
    const VerseInserters insert{
        [&](std::int16_t a, std::int16_t b) { InsertArabic(s, a, b, sameLine); },
        [&](std::int16_t a, std::int16_t b) { TranslationStep(s, a, b, selectedCount); },
    };
    InsertVerses(InsertMode, static_cast<std::int16_t>(from), static_cast<std::int16_t>(to), c.Value(C::Check2) == 1,
                 insert, [] { return StopRequested; });

    c.Close();
    UnloadFrmChoose();
}

void FrmChoose::TranslationStep(std::int16_t surah, std::int16_t from, std::int16_t to, int selectedCount) {
    auto& c = *controls_;
    if (selectedCount == 1) {
        InsertTranslation(surah, from, to);
        return;
    }
    // The list is read again at every item: a Stop click may not change it, but an item text is
    // only taken while it is there.
    for (int i = 0; i < c.ListCount(C::cbTran); ++i) {
        if (!c.Selected(C::cbTran, i)) continue;
        Data().SetTranslationName(c.List(C::cbTran, i));
        Data().loadeFile(1);
        InsertTranslation(surah, from, to);
    }
}

std::u16string FrmChoose::FontSizeText() const { return controls_->Text(C::cbSize); }

bool FrmChoose::UnicodeChecked() const { return controls_->Value(C::chUnicod) == 1; }

std::uintptr_t FrmChoose::WindowHandle() const { return controls_->WindowHandle(); }

int ClickedListItem(const std::vector<bool>& before, const std::vector<bool>& after) {
    int changed = -1, changes = 0, selected = -1, selectedCount = 0;
    for (std::size_t i = 0; i < after.size(); ++i) {
        const bool was = i < before.size() && before[i];
        if (after[i] != was) {
            changed = static_cast<int>(i);
            ++changes;
        }
        if (after[i]) {
            selected = static_cast<int>(i);
            ++selectedCount;
        }
    }
    if (changes == 1 && after[static_cast<std::size_t>(changed)]) return changed;
    return selectedCount == 1 ? selected : -1;
}

std::shared_ptr<FrmChoose> LoadFrmChoose() {
    auto& instance = Instance();
    if (!instance) {
        auto loaded = std::make_shared<FrmChoose>(Host().NewChooseControls());
        instance = loaded;  // the instance exists while its load steps run
        try {
            loaded->Form_Load();
        } catch (...) {
            instance.reset();
            throw;
        }
    }
    return instance;
}

void ShowFrmChoose() { LoadFrmChoose()->Controls().Show(); }

void UnloadFrmChoose() { Instance().reset(); }

std::shared_ptr<FrmChoose> LoadedFrmChoose() { return Instance(); }

void frmChoose_cbSurat_Click() {
    if (auto keep = Instance()) keep->cbSurat_Click();
}

void frmChoose_cbFrom_Click() {
    if (auto keep = Instance()) keep->cbFrom_Click();
}

void frmChoose_cbTran_Click(int index) {
    if (auto keep = Instance()) keep->cbTran_Click(index);
}

void frmChoose_Command1_Click() {
    if (auto keep = Instance()) keep->Command1_Click();
}

void frmChoose_QueryUnload() {
    if (auto keep = Instance()) {
        keep->Controls().Close();
        UnloadFrmChoose();
    }
}

}  // namespace mTarvelo
