// The Word backend of the word layer: Word's object model through late-bound Automation
// (IDispatch), from another process or from an add-in inside Word.
//
// Every call resolves names with GetIDsOfNames once per object type and member (cached for the
// life of the connection) and goes through IDispatch::Invoke with Word's types: sizes as VT_R4,
// units, counts and control types as VT_I4, text as BSTR; TypeText(Text:=...) and
// Controls.Add(Type:=..., Temporary:=...) pass named arguments. Every failure throws word::Error
// carrying the HRESULT and the description of Word's EXCEPINFO. The last object reached of each
// type stays referenced until the next one, so that an object Word hands out again costs no new
// proxy across processes.
// Objects belong to the thread that made them, a single-threaded apartment (made so here if the
// thread has none yet).
#pragma once

#include <functional>
#include <memory>

#include <oaidl.h>

#include "word/word.h"

namespace word::com {

struct AttachOptions {
    // Runs every few milliseconds while a call waits for a busy Word (busy.h); e.g. a window's
    // painting, with no input taken.
    std::function<void()> whileWaiting;
};

// The Word that is running now: found in the running object table ("Word.Application") at the
// first call, and found again at the next call after it was closed and started again. No Word
// running: word::Error, as a stopped word processor gives on any backend. A call that a busy Word
// refuses is tried again for up to kBusyLimit (with the calling thread's message filter
// registered for as long as the object lives); still refused, it fails with the reason Busy.
std::unique_ptr<word::Application> attachToRunningWord(AttachOptions options = {});

// The Application object that Word handed an add-in at connection (a reference is kept). Calls
// run on Word's own thread: a refused call fails at once with the reason Busy (waiting there would
// only hold Word up).
std::unique_ptr<word::Application> wrapApplication(IDispatch* application);

}  // namespace word::com
