// The verse composers: the Arabic text as Rich Text glyph fields or as Unicode text, carried
// through the clipboard and pasted, and the translation typed with its notes.
#include "tarvelo/composer.h"

#include <string>
#include <vector>

#include "tarvelo/addin_error.h"
#include "tarvelo/addin_services.h"
#include "tarvelo/addin_state.h"
#include "tarvelo/composer_fragments.h"
#include "tarvelo/frm_choose.h"
#include "tarvelo/text_util.h"

namespace mTarvelo {

namespace {

constexpr std::uint32_t UnicodeTextFormat = 13;
constexpr std::size_t MaxNotes = 2000;

// Screen updating back on; a failure to do so must not hide the error being reported.
void ScreenUpdatingOn() noexcept {
    try {
        if (WordApp) WordApp->SetScreenUpdating(true);
    } catch (...) {
    }
}

word::Application& App() {
    if (!WordApp) throw AddinError(91, "Object variable or With block variable not set");
    return *WordApp;
}

// One clipboard object per call, created at its first use; released (and closed if still open)
// when the call ends, also by error.
class CallClipboard {
public:
    AddinClipboard& Get() {
        if (!clipboard_) clipboard_ = Host().NewClipboard();
        return *clipboard_;
    }
    ~CallClipboard() {
        if (clipboard_) {
            try {
                clipboard_->ClipboardClose();
            } catch (...) {
            }
        }
    }

private:
    std::unique_ptr<AddinClipboard> clipboard_;
};

void PutOnClipboard(AddinClipboard& clipboard, std::uintptr_t owner, std::uint32_t format, std::string_view bytes) {
    clipboard.ClipboardOpen(owner);
    clipboard.ClearClipboard();
    clipboard.SetTextData(format, bytes);
    clipboard.ClipboardClose();
}

}  // namespace

// The clipboard format number registered for "Rich Text Format".
std::uint32_t RtfFormatId = 0;

void InsertArabic(std::int16_t surah, std::int16_t fromAyah, std::int16_t toAyah, bool sameLine) {
    CallClipboard clipboard;
    try {
        auto& data = Data();
        RtfFormatId = clipboard.Get().AddFormat("Rich Text Format");
        const std::string header = data.RtfHeader();
        std::string fragment = header;
        auto selection = App().Selection();
        selection->RtlPara();
        const auto dialog = LoadFrmChoose();
        const std::u16string sizeText = dialog->FontSizeText();
        const NumberSeparators separators = Host().UserNumberSeparators();
        const auto size = ParseLocaleNumber(sizeText, separators.decimal, separators.group);
        if (!size) throw AddinError(ErrTypeMismatch, "Type mismatch");
        GlyphFieldWriter writer(ToUtf8(sizeText), FormatNumber(*size * 2));

        for (int a = fromAyah; a <= toAyah; ++a) {
            if (StopRequested) {
                ScreenUpdatingOn();
                return;
            }
            App().SetScreenUpdating(false);
            const std::int32_t verseIndex = data.SurahVerseOffset(surah) + a;
            const auto form = LoadFrmChoose();  // read again for every verse
            if (!form->UnicodeChecked()) {
                std::string verse = data.ReadArabicVerse(verseIndex);
                if (!verse.empty()) verse.pop_back();  // the last character is never drawn
                writer.AppendVerse(fragment, verse);
                ScreenUpdatingOn();
                Host().DoEvents();
                fragment += ClosingGroup;
                RtfFormatId = clipboard.Get().AddFormat("Rich Text Format");
                PutOnClipboard(clipboard.Get(), form->WindowHandle(), RtfFormatId, fragment);
                selection->ParagraphFormat()->SetAlignment(word::wdAlignParagraphJustify);
                selection->Paste();
            } else {
                selection->ParagraphFormat()->SetAlignment(word::wdAlignParagraphJustify);
                const std::string text = data.AmbilUnicode(verseIndex, static_cast<std::int16_t>(a));
                if (text.empty()) {
                    // The reader has reported its error; pasting would insert whatever else
                    // is on the clipboard.
                    ScreenUpdatingOn();
                    return;
                }
                PutOnClipboard(clipboard.Get(), form->WindowHandle(), UnicodeTextFormat, text);
                selection->PasteAndFormat(word::wdPasteDefault);
                // Stop must be able to arrive in this form too.
                ScreenUpdatingOn();
                Host().DoEvents();
            }
            if (!sameLine) selection->TypeParagraph();
            fragment = header;
        }
        selection->EndKey(word::wdLine);
        selection->TypeParagraph();
        selection->ParagraphFormat()->SetAlignment(word::wdAlignParagraphJustify);
        App().SetScreenUpdating(true);
    } catch (...) {
        ScreenUpdatingOn();
        const ErrorInfo info = DescribeError(std::current_exception());
        try {
            Host().MsgBox(u"An error occurred: " + FromUtf8(info.description) + u" [" +
                              AsciiToUtf16(std::to_string(info.number)) + u"]",
                          MessageIcon::Exclamation);
        } catch (...) {
        }
    }
}

void InsertTranslation(std::int16_t surah, std::int16_t fromAyah, std::int16_t toAyah) {
    try {
        auto& data = Data();
        auto selection = App().Selection();
        if (data.TranslationDirection() == u'L') {
            selection->LtrPara();
            selection->LtrRun();
        } else {
            selection->RtlPara();
            selection->RtlRun();
        }
        selection->ParagraphFormat()->SetAlignment(word::wdAlignParagraphJustify);
        selection->Font()->SetSize(10);

        std::vector<std::int32_t> notes;
        for (int a = fromAyah; a <= toAyah; ++a) {
            if (StopRequested) {
                ScreenUpdatingOn();
                return;
            }
            Host().DoEvents();
            App().SetScreenUpdating(false);
            const std::u16string t = data.ReadTranslationVerse(data.SurahVerseOffset(surah) + a);
            const std::u16string number = AsciiToUtf16(std::to_string(a));
            std::u16string scanned;
            switch (data.TranslationEncoding()) {
                case TranslationStorage::CodePage: {
                    scanned = number + u") ";
                    selection->TypeText(scanned);
                    selection->Font()->SetSize(10);
                    selection->TypeText(data.TranslationSingleByte() ? t : DecodeLowBytes(t, data.TranslationLcid()));
                    break;
                }
                case TranslationStorage::ShiftedPair:
                    selection->TypeText(TrimBlanks(t));
                    scanned = TrimLeadingBlanks(t);
                    break;
                case TranslationStorage::Hexadecimal:
                case TranslationStorage::Plain:
                    scanned = TrimBlanks(number + u". " + TrimLeadingBlanks(t));
                    selection->TypeText(scanned);
                    break;
            }
            selection->TypeParagraph();
            App().SetScreenUpdating(true);
            CollectNoteReferences(scanned, notes, MaxNotes);
        }
        selection->TypeParagraph();
        for (const std::int32_t n : notes) {
            selection->TypeText(TrimBlanks(u"[" + AsciiToUtf16(std::to_string(n)) + u"] " + data.ReadNoteText(n)));
            selection->TypeParagraph();
        }
        if (!notes.empty()) selection->TypeParagraph();
    } catch (...) {
        ScreenUpdatingOn();
    }
}

}  // namespace mTarvelo
