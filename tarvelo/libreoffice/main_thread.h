// The office's main thread, on which all of the add-in's work runs. Calls that arrive on another
// thread (a remote client's dispatch, a control driven through the bridge) are handed to it
// through com.sun.star.awt.AsyncCallback.
#pragma once

#include <functional>

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>

namespace mTarvelo {

// Records the calling thread as the main thread, if none was recorded yet (the office's start
// job runs on it).
void NoteMainThread();
// True on the main thread, and also while no main thread is known (the logic runs outside the
// office, as in tests, and every thread may call it).
bool IsMainThread();
// Runs `call` at once on the main thread; from another thread it is queued for the main thread
// and this returns at once. Exceptions of `call` are swallowed: every handler reports its own.
void RunOnMainThread(const ::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext>& context,
                     std::function<void()> call);

}  // namespace mTarvelo
