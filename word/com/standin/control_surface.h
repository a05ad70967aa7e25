// The Word stand-in's test-only control surface, and a client for tests.
//
// WordStandin.exe is an out-of-process automation server that answers as "Word.Application"
// (class {000209FF-0000-0000-C000-000000000046}); it enters its Application object in the running
// object table, so GetActiveObject finds it, and serves the Word object model subset of
// word/word.h over the recording backend's document (Word's semantics written once there).
// Command line:
//   WordStandin.exe               run with one empty document open
//   WordStandin.exe /nodocument   run with no document open
//   WordStandin.exe /regserver    register as "Word.Application" for this user (and mirror the
//                                 class under HKLM, which Wine's COM reads), then exit
//   WordStandin.exe /unregserver  remove that registration
//   -Embedding / /Automation      accepted and ignored (started by COM)
// At start it loads the COM add-ins registered for Word under
// HKCU\Software\Microsoft\Office\Word\Addins\<ProgId> with LoadBehavior 3 on its main thread (a
// single-threaded apartment) and connects them (OnConnection with ext_cm_Startup, OnAddInsUpdate,
// OnStartupComplete); on Quit it calls OnBeginShutdown and OnDisconnection(ext_dm_HostShutdown).
// An add-in that fails to load gets LoadBehavior 2, as Word does.
//
// Extra members of its Application object (all through IDispatch, by name):
//   StandinRuns            BSTR: the document's runs (decodeRuns)
//   StandinParagraphs      BSTR: each paragraph's direction and alignment (decodeParagraphs)
//   StandinText            BSTR: the document text, paragraphs ended by "\r"
//   StandinSelection       BSTR: "start end" of the selection in characters
//   StandinSetContent(Text, [InsertionPoint])   replaces the content (opening a document if none
//                          is open); the point goes to InsertionPoint (default: the end)
//   StandinTypeKeys(Text)  types each character as a key press at the insertion point ("\r" is
//                          Enter); between two calls the stand-in's message loop runs (add-in
//                          timers fire)
//   StandinClick(Caption)  clicks the menu control whose caption, without "&", is Caption
//                          (depth first); the click is delivered from the message loop after the
//                          call returns; fails if no control has the caption
//   StandinCloseDocument / StandinNewDocument   no document open / a new empty one
//   StandinEdits           BSTR: the document operations called so far (the recording backend's
//                          descriptions, e.g. "TypeText [", "SizeBi 16"), records joined by U+001E
//   StandinClearLog        forgets them
//   StandinMenu            BSTR: the menu bar's controls (decodeMenu)
//   StandinAddins          BSTR: the ProgIds of the connected add-ins, joined by U+001E
//   StandinAddinLog        BSTR: the add-in events delivered ("OnConnection <ProgId>", ...)
//   StandinScreenUpdating  Boolean: ScreenUpdating as last set
//   StandinBusy(Seconds)   Word is busy from now on for that long, as while one of its dialogs is
//                          open: every call from another process is refused; the caller sees
//                          RPC_E_CALL_REJECTED (add-ins inside the process are not affected)
//   StandinRefusedCalls    Long: how many calls were refused so far
//   StandinSetEditable(Editable)   False: the documents refuse changes, as Word's Protected View,
//                          a read-only or a restricted document does: typing or formatting raises
//                          Word's error 4605 ("... the document is locked for editing.")
// Word's own Application.Quit ends the stand-in.
// Only one stand-in can be in the running object table: CTest tests that start one carry the
// property RESOURCE_LOCK WordStandin.
#pragma once

#include <chrono>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "word/com/com_support.h"
#include "word/recording/recording.h"

namespace word::com::standin {

inline constexpr std::u16string_view kStandinRuns = u"StandinRuns";
inline constexpr std::u16string_view kStandinParagraphs = u"StandinParagraphs";
inline constexpr std::u16string_view kStandinText = u"StandinText";
inline constexpr std::u16string_view kStandinSelection = u"StandinSelection";
inline constexpr std::u16string_view kStandinSetContent = u"StandinSetContent";
inline constexpr std::u16string_view kStandinTypeKeys = u"StandinTypeKeys";
inline constexpr std::u16string_view kStandinClick = u"StandinClick";
inline constexpr std::u16string_view kStandinCloseDocument = u"StandinCloseDocument";
inline constexpr std::u16string_view kStandinNewDocument = u"StandinNewDocument";
inline constexpr std::u16string_view kStandinEdits = u"StandinEdits";
inline constexpr std::u16string_view kStandinClearLog = u"StandinClearLog";
inline constexpr std::u16string_view kStandinMenu = u"StandinMenu";
inline constexpr std::u16string_view kStandinAddins = u"StandinAddins";
inline constexpr std::u16string_view kStandinAddinLog = u"StandinAddinLog";
inline constexpr std::u16string_view kStandinScreenUpdating = u"StandinScreenUpdating";
inline constexpr std::u16string_view kStandinBusy = u"StandinBusy";
inline constexpr std::u16string_view kStandinRefusedCalls = u"StandinRefusedCalls";
inline constexpr std::u16string_view kStandinSetEditable = u"StandinSetEditable";

// Records are joined by U+001E, fields by U+001F.
std::u16string joinRecords(const std::vector<std::u16string>& records);
std::vector<std::u16string> splitRecords(std::u16string_view text);
std::u16string joinFields(std::initializer_list<std::u16string> values);
std::vector<std::u16string> splitFields(std::u16string_view record);

// A run: bold, size, sizeBi, right-to-left run, font, text.
std::u16string encodeRuns(const std::vector<word::recording::Run>& runs);
std::vector<word::recording::Run> decodeRuns(std::u16string_view text);
// A paragraph: right-to-left, alignment.
std::u16string encodeParagraphs(const std::vector<word::recording::ParagraphProps>& paragraphs);
std::vector<word::recording::ParagraphProps> decodeParagraphs(std::u16string_view text);

struct MenuEntry {
    int depth = 0;  // 0: on the menu bar
    int type = 0;   // msoControlButton or msoControlPopup
    bool temporary = false;
    bool visible = true;
    std::u16string caption, tooltipText, onAction, tag;
    bool operator==(const MenuEntry&) const = default;
};
std::u16string encodeMenu(const std::vector<std::shared_ptr<word::recording::RecordingControl>>& menuBar);
std::vector<MenuEntry> decodeMenu(std::u16string_view text);

// A running stand-in for tests: started from `program`, found through the running object table,
// asked to quit on destruction (and ended if it does not).
class StandinProcess {
public:
    explicit StandinProcess(const std::filesystem::path& program, std::u16string_view arguments = {},
                            std::chrono::milliseconds timeout = std::chrono::seconds(30));
    StandinProcess(const StandinProcess&) = delete;
    StandinProcess& operator=(const StandinProcess&) = delete;
    ~StandinProcess();

    // The stand-in's Application object (a proxy in this process).
    IDispatch* application() const { return app_.Get(); }
    DWORD processId() const { return process_ ? GetProcessId(process_) : 0; }

    std::vector<word::recording::Run> runs() const;
    std::vector<word::recording::ParagraphProps> paragraphs() const;
    std::u16string text() const;
    // The selection's start and end in characters.
    std::pair<long, long> selection() const;
    void setContent(std::u16string_view text, long insertionPoint = -1) const;
    void typeKeys(std::u16string_view text) const;
    void click(std::u16string_view caption) const;
    void closeDocument() const;
    void newDocument() const;
    std::vector<std::u16string> edits() const;
    void clearLog() const;
    std::vector<MenuEntry> menu() const;
    std::vector<std::u16string> addins() const;
    std::vector<std::u16string> addinLog() const;
    bool screenUpdating() const;
    // Busy for `period` from now (calls from here are refused then too).
    void busy(std::chrono::milliseconds period) const;
    long refusedCalls() const;
    void setEditable(bool editable) const;
    // Asks the stand-in to quit (Application.Quit) and waits until its process has ended.
    void quit();
    bool running() const;

    // Invokes a member of the Application object by name; throws std::runtime_error on failure.
    Variant invoke(std::u16string_view member, std::vector<Variant> args = {},
                   WORD flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET) const;

private:
    ComPtr<IDispatch> app_;
    HANDLE process_ = nullptr;
};

// The folder of the running program (where the tests find WordStandin.exe).
std::filesystem::path programFolder();

// Waits for `handle` while delivering this thread's messages (incoming COM calls and events).
// Returns false on timeout; a null handle just pumps for the time given.
bool pumpMessagesWhileWaiting(HANDLE handle, std::chrono::milliseconds timeout);
// Delivers this thread's messages until `done()` or the timeout; returns done().
template <typename Done>
bool pumpMessagesUntil(Done done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return done();
        pumpMessagesWhileWaiting(nullptr, std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace word::com::standin
