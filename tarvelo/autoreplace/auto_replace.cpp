#include "tarvelo/autoreplace/auto_replace.h"

#include <exception>
#include <string>

#include "tarvelo/addin_state.h"
#include "tarvelo/autoreplace/tag_reader.h"
#include "tarvelo/autoreplace/timer_service.h"
#include "word/word.h"

namespace mTarvelo {
namespace {

constexpr std::uint32_t tickPeriodMs = 100;
constexpr std::u16string_view captionOn = u"Disable Auto Replace";
constexpr std::u16string_view captionOff = u"Auto Replace eg [QS2:1-2A]";

// The collaborators installed by the host.
AutoReplaceHost& Installed() {
    static AutoReplaceHost host;
    return host;
}

void ShowMessage(std::u16string_view text) {
    if (Installed().message) Installed().message(text);
}

bool Contains(std::u16string_view text, char16_t c) { return text.find(c) != std::u16string_view::npos; }

std::u16string Widen(std::string_view text) { return {text.begin(), text.end()}; }

// Moves the start of a range or of the selection, whose end is just after a tag's "]", back over
// the tag in Word's word unit: 4 words reach the colon or the first verse; a "-" means one word
// more for the last verse; from the colon 2 words more reach "[" through "QS<surah>"; a start on
// "QS" is one word short of the "[".
template <class Target>
void MoveStartOverTag(Target& target) {
    target.MoveStart(word::wdWord, -4);
    if (Contains(target.Text(), u'-')) target.MoveStart(word::wdWord, -1);
    if (target.Text().starts_with(u':')) target.MoveStart(word::wdWord, -2);
    if (UpperCaseTag(target.Text()).starts_with(u"QS")) target.MoveStart(word::wdWord, -1);
}

std::shared_ptr<word::Application> App() {
    auto app = WordApp;
    if (!app) throw word::Error("The word processor is not connected");
    return app;
}

// Whether the numbers of a read tag name verses that exist. A surah outside the table (above 114
// as well), a first verse beyond the surah's verses, or a last verse beyond them or below the
// first leaves the tag as typed: otherwise the verses of the next surahs (or of no surah) would be
// read under this surah's citation.
std::optional<SurahInfo> CheckedSurah(const TagRequest& request) {
    if (request.surah <= 0 || request.from <= 0) return std::nullopt;
    if (!Installed().surah) return std::nullopt;
    auto entry = Installed().surah(request.surah);
    if (!entry || request.from > entry->verseCount) return std::nullopt;
    if (request.to < request.from || request.to > entry->verseCount) return std::nullopt;
    return entry;
}

void InsertArabicVerses(std::int64_t surah, std::int64_t from, std::int64_t to, bool sameLine) {
    if (Installed().insertArabic) {
        Installed().insertArabic(static_cast<std::int16_t>(surah), static_cast<std::int16_t>(from),
                                 static_cast<std::int16_t>(to), sameLine);
    }
}

void InsertTranslationVerses(std::int64_t surah, std::int64_t from, std::int64_t to) {
    if (Installed().insertTranslation) {
        Installed().insertTranslation(static_cast<std::int16_t>(surah), static_cast<std::int16_t>(from),
                                      static_cast<std::int16_t>(to));
    }
}

// Replaces the tag just typed (as GetTypedTag returned it) by its citation, a new paragraph and
// the verses it names. A tag that names no existing verses stays as typed. Throws on failures of
// the word processor or the composers.
void ReplaceTypedTag(const std::u16string& typed) {
    const auto request = ReadTag(UpperCaseTag(typed));
    if (!request) return;
    const auto surah = CheckedSurah(*request);
    if (!surah) return;

    auto selection = App()->Selection();
    // Select exactly the tag. A range tried first guarantees that nothing but the tag is ever
    // selected, whatever text stands before it.
    auto probe = selection->Range();
    MoveStartOverTag(*probe);
    if (probe->Text() != typed) return;
    // The tag's paragraph becomes left-to-right before the selection moves over the tag (it is
    // the paragraph of the insertion point): a document that refuses changes refuses this first
    // one while the insertion point is still where the user left it.
    selection->LtrPara();
    MoveStartOverTag(*selection);
    selection->TypeText(u"");  // typing replaces the selected tag
    selection->TypeText(CitationText(request->surah, surah->name, request->from, request->to));
    selection->TypeParagraph();

    if (const auto mode = RequestedInsertMode(*request)) InsertMode = *mode;
    const VerseInserters insert{
        [&](std::int16_t from, std::int16_t to) { InsertArabicVerses(request->surah, from, to, request->sameLine); },
        [&](std::int16_t from, std::int16_t to) { InsertTranslationVerses(request->surah, from, to); },
    };
    InsertVerses(InsertMode, static_cast<std::int16_t>(request->from), static_cast<std::int16_t>(request->to),
                 request->alternate, insert);
}

// The word processor cannot take the tick's calls for now (busy, or the document refuses changes):
// the tick is skipped quietly and the next one tries again.
bool PassingState(const std::exception& failure) {
    const auto* error = dynamic_cast<const word::Error*>(&failure);
    return error && error->reason() != word::Error::Reason::Other;
}

std::uint32_t CreateTimer() {
    const auto& timers = Installed().timers;
    return timers ? timers->SetTimer(tickPeriodMs, &AutoReplaceTimerProc) : 0;
}

}  // namespace

void InstallAutoReplace(AutoReplaceHost host) {
    StopAutoReplaceTimer();
    Installed() = std::move(host);
}

void UninstallAutoReplace() {
    SetAutoReplaceOn(false);
    StopAutoReplaceTimer();
    Installed() = AutoReplaceHost{};
}

void SetAutoReplaceOn(bool on) {
    if (AutoReplaceOn == on) return;
    AutoReplaceOn = on;
    if (!Installed().modeChanged) return;
    try {
        Installed().modeChanged();
    } catch (...) {
        // what shows the mode could not follow; the mode itself has changed
    }
}

void ctrl6_Click() {
    try {
        if (AutoReplaceOn) {
            StopAutoReplaceTimer();
            SetAutoReplaceOn(false);
            if (ctrl6) ctrl6->SetCaption(captionOff);
        } else {
            // A timer that cannot be created is reported, as on every later restart.
            StartAutoReplaceTimer();
            SetAutoReplaceOn(true);
            if (ctrl6) ctrl6->SetCaption(captionOn);
        }
    } catch (const std::exception& e) {
        ShowMessage(u"Error 440 (" + Widen(e.what()) + u") in procedure ctrl6_Click of Designer Connect");
    }
}

void StartAutoReplaceTimer() {
    AutoReplaceTimerId = CreateTimer();
    if (AutoReplaceTimerId == 0) ShowMessage(u"Timer not created. Ending Program");
}

void StopAutoReplaceTimer() {
    if (AutoReplaceTimerId != 0 && Installed().timers) Installed().timers->KillTimer(AutoReplaceTimerId);
    AutoReplaceTimerId = 0;
}

std::u16string GetTypedTag() {
    try {
        auto selection = App()->Selection();
        if (selection->Type() != word::wdSelectionIP) return {};
        auto range = selection->Range();
        range->MoveStart(word::wdWord, -1);
        if (range->Text() != u"]") return {};
        MoveStartOverTag(*range);
        auto text = range->Text();
        return text.starts_with(u'[') ? text : std::u16string{};
    } catch (const std::exception& e) {
        if (PassingState(e)) return {};
        // No document, or the word processor is gone: the mode ends here (the caption stays).
        SetAutoReplaceOn(false);
        StopAutoReplaceTimer();
        return {};
    }
}

void AutoReplaceTimerProc() {
    // No tick may arrive while this one works (the composers let pending events through).
    StopAutoReplaceTimer();
    const std::u16string typed = GetTypedTag();
    if (!typed.empty()) {
        try {
            ReplaceTypedTag(typed);
        } catch (const std::exception& e) {
            // A failing word processor or composer leaves the timer stopped; the mode stays
            // nominally on until it is switched off and on again.
            if (!PassingState(e)) return;
        }
    }
    if (AutoReplaceOn) StartAutoReplaceTimer();
}

}  // namespace mTarvelo
