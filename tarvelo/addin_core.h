// The add-in's life in a host, the same in every host: installing its services and its automatic
// replacement, connecting (data, the application object, the menu and its commands, the stored
// translation), and going away. A host keeps only its glue: how the word processor loads it (a
// COM class factory; UNO components and jobs) and what it hands over here.
//
//     InstallAddin([&] { return HostParts{MakeMyHost(), MakeMyTimerService(), ShowModeElsewhere}; });
//     ConnectAddin([&] { return MyApplicationObject(); }, progId);
//     ...                                   // AddinInstance_OnDisconnection and so on (connect.h)
//     UninstallAddin();
#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "tarvelo/addin_services.h"
#include "tarvelo/connect.h"
#include "word/word.h"

namespace mTarvelo {

class TimerService;

// What a host brings: its user-interface services, the timers of the automatic replacement
// (none: the mode cannot start its timer and says so when switched on), and what shows the mode
// besides the menu (a ribbon toggle, a toolbar button), told whenever AutoReplaceOn changes.
struct HostParts {
    std::shared_ptr<AddinHost> host;
    std::shared_ptr<TimerService> timers;
    std::function<void()> autoReplaceChanged;
};

// Installs the data readers, the host's services and the automatic replacement, unless they are
// installed already; `makeParts` is called only when they are not.
void InstallAddin(const std::function<HostParts()>& makeParts);
bool AddinInstalled();

// Connects the installed add-in to the application object that `application` gives: the add-in
// designer's connection (data, WordApp, the menu with its commands), then the translation chosen in
// an earlier session is opened again, so that the dialog and the insertions agree on it. A failure
// of `application` is reported as the connection's error, and nothing is connected.
void ConnectAddin(const std::function<std::shared_ptr<word::Application>()>& application,
                  std::u16string_view progId = ProgId);

// The add-in goes away: the designer's termination (automatic replacement off, menu removed),
// then the timer service, the chooser dialog, the word processor's objects, the services and the
// data files, so that nothing of it is left running. Harmless when repeated.
void UninstallAddin();

}  // namespace mTarvelo
