// The word-processor layer on LibreOffice Writer, through UNO.
//
// One code base serves two kinds of use:
//   - a program in a process of its own (Versend) reaches the office over a named pipe:
//     `connectOverPipe`. The connection is made on first use and kept. If nothing answers on the
//     pipe, `soffice --accept=...` is run for it (which starts the office, or makes the one the
//     user runs accept the connection) and the connection is retried for a few seconds. If the
//     office goes away, the operation in progress fails and the next one connects again.
//   - code running inside the office (the add-in) hands over its component context: `inProcess`.
//
// The Selection is the view cursor of the current Writer document's controller. Character
// formatting set at an insertion point (Font.SizeBi / Font.Size, BoldRun) applies to exactly the
// text typed from then on at that point, as in Word; it is forgotten once the point moves.
// Font.SizeBi sets the complex-script and the Western height (so brackets, blanks and digits
// typed with right-to-left text get it too); Font.Size the Western and Asian height; bold is
// set for Western and complex-script text. Sizes outside 1..1638 points are refused. Writer
// decides the direction of runs from their characters, so RtlRun / LtrRun only need to be
// accepted.
// Once a Selection object has typed, its document's views are laid out and redrawn only when
// that object (and every Font taken from it) is released: a caller that wants the user to see
// progress between pieces takes a fresh Selection for each piece.
// Every failure throws word::Error (also failures of the UNO runtime and of the pasting and menu
// parts).
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>

#include "word/word.h"

namespace word::libreoffice {

// The pipe on which Versend looks for Writer.
inline constexpr std::string_view kDefaultPipeName = "versend_writer";

// Runs `soffice --accept=...` for `pipeName`, detached (the office outlives the caller).
void launchOffice(std::string_view pipeName);

struct PipeOptions {
    // Letters, digits and '_' only.
    std::string pipeName{kDefaultPipeName};
    // Called when nothing answers on the pipe, before retrying; empty: only retry.
    std::function<void(std::string_view pipeName)> launch = launchOffice;
    // How long to keep retrying after launching.
    std::chrono::milliseconds connectTimeout{8000};
};

// What a connection does while an office that it launched starts.
struct LaunchOptions {
    // Called over and over while waiting for the office to answer (for example to keep a window
    // painting); empty: the wait only sleeps.
    std::function<void()> whileWaiting;
    // Once the office answers, open a blank text document in it if it has none (a freshly
    // started office shows only its start centre).
    bool newDocumentAfterLaunch = false;
};

// Word's Application (Global) object for an office reached over a pipe. Nothing is connected
// until the first operation.
std::unique_ptr<word::Application> connectOverPipe(PipeOptions options = {}, LaunchOptions launching = {});

// Word's Application object inside the office process.
std::unique_ptr<word::Application> inProcess(
    const ::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext>& context);

}  // namespace word::libreoffice
