// The add-in's host services inside Word, realised with Win32: message boxes, letting Word's
// pending messages through, the per-user setting where Visual Basic's GetSetting and SaveSetting
// keep it, the clipboard, and the add-in's two dialogs.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "tarvelo/addin_services.h"
#include "tarvelo/frm_choose.h"

namespace tarvelo_word {

// The module (DLL or test program) whose resources hold the dialogs.
HINSTANCE ModuleInstance();

// Word's main window on this thread (class "OpusApp"; else the first visible top-level window of
// the thread), the owner of the add-in's windows; null when there is none.
HWND HostWindow();

// Visual Basic's setting store: HKCU\Software\VB and VBA Program Settings\<app>\<section>, value
// <key>, a string. GetSetting gives "" when any of them is missing.
std::wstring VbSettingsKey(std::string_view app, std::string_view section);
std::u16string GetVbSetting(std::string_view app, std::string_view section, std::string_view key);
// False when the value could not be written.
bool SaveVbSetting(std::string_view app, std::string_view section, std::string_view key, std::u16string_view value);

// Lets the messages waiting in this thread's queue run (a PeekMessage loop). A quit message is
// put back for the host's own loop, which ends there.
void DoEvents();

// The host services as the logic reaches them.
std::shared_ptr<mTarvelo::AddinHost> MakeWordHost();
std::unique_ptr<mTarvelo::AddinClipboard> MakeWin32Clipboard();

// A new, hidden frmChoose owned by `owner`, whose user events reach the frmChoose handlers.
std::unique_ptr<mTarvelo::ChooseControls> MakeChooseDialog(HWND owner);

// frmAbout, modeless, one instance; ShowAbout creates it the first time and brings it up.
void ShowAboutWindow(HWND owner);
HWND AboutWindow();  // null when not open
void CloseAboutWindow();

// Keyboard use of the add-in's modeless dialogs inside a message loop they do not own (Tab,
// Enter, Escape): a message hook on this thread hands their key messages to IsDialogMessage.
void AddDialogKeys(HWND dialog);
void RemoveDialogKeys(HWND dialog);

}  // namespace tarvelo_word
