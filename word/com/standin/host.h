// The Word stand-in's state: the document (the recording backend's, so that Word's semantics are
// written once), the click events of the menu controls, and what the process is asked to do from
// its message loop (deliver a menu click, quit).
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "word/com/com_support.h"
#include "word/recording/recording.h"

namespace word::com::standin {

class Ribbon;

// {000209FF-0000-0000-C000-000000000046}: the class of "Word.Application".
inline constexpr CLSID CLSID_WordApplication = {
    0x000209FF, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {000C0351-0000-0000-C000-000000000046}: the dispatch interface _CommandBarButtonEvents.
inline constexpr IID DIID_CommandBarButtonEvents = {
    0x000C0351, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The sinks advised on one control's click event.
class ControlEvents {
public:
    DWORD advise(ComPtr<IDispatch> sink);
    bool unadvise(DWORD cookie);
    // Calls Click(Ctrl, CancelDefault) on every sink; a sink that fails is skipped.
    void fireClick(IDispatch* control);
    bool empty() const { return sinks_.empty(); }

private:
    std::vector<std::pair<DWORD, ComPtr<IDispatch>>> sinks_;
    DWORD next_ = 1;
};

class Host : public std::enable_shared_from_this<Host> {
public:
    Host();

    word::recording::Recorder recorder;

    // The events of a control; created on first use and kept while the control exists.
    std::shared_ptr<ControlEvents> eventsOf(const std::shared_ptr<word::CommandBarControl>& control);
    // Binds the click of a control made by Controls.Add to its events (once per control).
    void bindClick(const std::shared_ptr<word::CommandBarControl>& control);
    // The control whose caption, without accelerator marks, is `caption` (depth first); null if none.
    std::shared_ptr<word::recording::RecordingControl> findControl(std::u16string_view caption) const;

    // Set by the process: queue work for the message loop.
    std::function<void(std::weak_ptr<word::recording::RecordingControl>)> postClick;
    std::function<void()> postQuit;

    // What the add-in host did, in order ("OnConnection Tarvelo.Connect", ...).
    std::vector<std::u16string> addinLog;
    std::vector<std::u16string> connectedAddins;
    // The ribbon with the add-ins' tabs (ribbon_host.h), made by the add-in host; and its way of
    // connecting the add-ins again, as Word's COM Add-ins dialog does.
    std::shared_ptr<Ribbon> ribbon;
    std::function<void()> reconnectAddins;
    // Counts the documents opened and closed: objects of an earlier document are not handed out.
    int documentGeneration = 0;

    // Until then Word is busy, as while one of its dialogs is open: every call from another
    // process is refused (the process's message filter); the add-ins inside are not affected.
    std::chrono::steady_clock::time_point busyUntil{};
    long refusedCalls = 0;
    bool busy() const { return std::chrono::steady_clock::now() < busyUntil; }

private:
    struct Entry {
        std::weak_ptr<word::CommandBarControl> control;
        std::shared_ptr<ControlEvents> events;
        bool bound = false;
    };
    std::map<const word::CommandBarControl*, Entry> controls_;
    void fire(const word::CommandBarControl* key);
};

// The Application object of the stand-in (Word.Application), with its test-only members.
ComPtr<IDispatch> makeApplication(std::shared_ptr<Host> host);

}  // namespace word::com::standin
