// Test harness: a private LibreOffice for tests, and reading a Writer document back.
//
// A test that needs a real office creates an `Office` (or uses the one shared by its test binary
// through `sharedOffice()`):
//   - soffice runs headless with a throw-away profile directory and a pipe name of its own, so
//     tests may run in parallel; the new profile is set up by a first run that ends by itself
//     (the office restarts once on a new profile, which would break early connections); it runs
//     in its own process group, whose leader's pid is written to "$QV_TEST_PIDDIR/<pipe
//     name>.pid" (scripts/test.sh ends every group listed there when it exits) and removed again
//     when the harness stops the office itself;
//   - the constructor and `start()` return once the office answers on its pipe (connected, with
//     its processes fully started), or throw after ending it;
//   - `context()` returns the office's component context over that connection;
//   - `newWriterDocument()` opens an empty Writer document with a view and makes its window the
//     active one (the insertion point is the view cursor at its start);
//   - the destructor always stops the office: terminate, then end the whole process group and
//     remove the profile, also when a test failed; a crash of the test binary (a fatal signal)
//     still kills every office group that the binary started.
// Works as root (the office never needs a home directory or a per-user installation). Extra
// command-line arguments (e.g. "-env:UNO_SHARED_PACKAGES_CACHE=..." or anything an installed
// extension needs) go into `OfficeOptions::extraArgs`.
//
// readDocument() returns the paragraphs of a text document with, per character, bold (Western and
// complex), CharHeight, CharHeightComplex, the font names and the paragraph's direction;
// menuBar() the entries of its window's menu bar.
//
// Usage in a test binary:
//   TEST(Something, Works) {
//       auto& office = word::testing::sharedOffice();   // started on first use, stopped at exit
//       auto doc = office.newWriterDocument();
//       ... drive the office ...
//       auto paragraphs = word::testing::readDocument(doc);
//   }
// Link the target `word_office_testing`.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>

#include "word/libreoffice/libreoffice.h"

namespace word::testing {

namespace uno = ::com::sun::star::uno;

struct OfficeOptions {
    // Appended to soffice's command line.
    std::vector<std::string> extraArgs;
    // Empty: a unique name is made up.
    std::string pipeName;
    // How long to wait for the office to answer after starting it.
    std::chrono::milliseconds startTimeout{60'000};
};

class Office {
public:
    explicit Office(OfficeOptions options = {});
    ~Office();
    Office(const Office&) = delete;
    Office& operator=(const Office&) = delete;

    const std::string& pipeName() const { return pipeName_; }
    const std::filesystem::path& profileDir() const { return profileDir_; }
    // Leader of the office's process group; 0 while stopped.
    pid_t pid() const { return pid_; }
    bool running() const { return pid_ != 0; }

    // The office's component context over the pipe.
    uno::Reference<uno::XComponentContext> context();
    uno::Reference<::com::sun::star::frame::XDesktop2> desktop();
    // How the word layer reaches this office over its pipe; it never starts an office of its own.
    word::libreoffice::PipeOptions pipeOptions(
        std::chrono::milliseconds connectTimeout = word::libreoffice::PipeOptions{}.connectTimeout) const {
        return {.pipeName = pipeName_, .launch = nullptr, .connectTimeout = connectTimeout};
    }

    // A new, empty Writer document with a view; its window becomes the active one.
    uno::Reference<::com::sun::star::text::XTextDocument> newWriterDocument();
    // Closes every open document without saving.
    void closeAllDocuments();

    // Ends the office (terminate, then the process group); the profile is kept for start().
    void stop();
    // Starts it again on the same pipe and profile (after stop()); back once it answers.
    void start();

private:
    // initializeOnly: set up the new profile and wait for the office to end; otherwise start it
    // and connect.
    void spawn(bool initializeOnly = false);
    // Ends every process of the group, waits until none is alive, and collects the leader.
    void endGroup();

    OfficeOptions options_;
    std::string pipeName_;
    std::filesystem::path profileDir_;
    std::filesystem::path pidFile_;
    pid_t pid_ = 0;
    uno::Reference<uno::XComponentContext> context_;
};

// How long a test waits at most for something an office does in reply (a replacement typed, timer
// ticks): a passing test never waits it out, and a busy machine's office gets there within it.
inline constexpr std::chrono::seconds kOfficeReplyLimit{30};

// A process of the system as /proc/PID/stat tells it.
struct ProcessEntry {
    pid_t pid = 0;
    char state = 0;         // 'R', 'S', ...; 'Z' for a zombie
    pid_t group = 0;        // its process group
    double cpuSeconds = 0;  // user and system time used so far
    bool ended() const { return state == 'Z' || state == 'X'; }
};

// The processes of the process group `group`, zombies included.
std::vector<ProcessEntry> processesOfGroup(pid_t group);

// Whether a process of the process group `group` is alive (not ended; an ended process that its
// new parent has not collected yet, a zombie, does not count).
bool processGroupAlive(pid_t group);

// One office for the whole test binary: started on first use, stopped when the tests end (and
// at exit). The options of the first call count.
Office& sharedOffice(const OfficeOptions& options = {});

struct CharFormat {
    char16_t ch = 0;
    bool bold = false;         // CharWeight is bold
    bool boldComplex = false;  // CharWeightComplex is bold
    float height = 0;          // CharHeight, points
    float heightComplex = 0;   // CharHeightComplex, points
    std::u16string fontName;
    std::u16string fontNameComplex;
};

struct Paragraph {
    std::u16string text;
    bool rightToLeft = false;  // WritingMode is RL_TB
    int adjust = 0;            // ParaAdjust: a com::sun::star::style::ParagraphAdjust value (2 = BLOCK)
    std::vector<CharFormat> chars;
};

std::vector<Paragraph> readDocument(const uno::Reference<::com::sun::star::text::XTextDocument>& document);

// The whole text, paragraphs joined with '\n'.
std::u16string documentText(const uno::Reference<::com::sun::star::text::XTextDocument>& document);

// One entry of a window's menu bar: its caption as shown ("~" accelerator), its command URL and,
// for a pop-up, its entries.
struct MenuEntry {
    std::u16string label;
    std::u16string command;
    std::vector<MenuEntry> items;
};

// The menu bar of the document's window, as the office shows it (empty when it has none).
std::vector<MenuEntry> menuBar(const uno::Reference<::com::sun::star::text::XTextDocument>& document);

}  // namespace word::testing
