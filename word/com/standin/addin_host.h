// Hosting COM add-ins as Word does: the per-user registrations under
// HKCU\Software\Microsoft\Office\Word\Addins\<ProgId> with LoadBehavior 3 are created by ProgId on
// the calling thread (a single-threaded apartment) and connected through IDTExtensibility2.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "word/com/com_support.h"
#include "word/com/standin/extensibility.h"
#include "word/com/standin/host.h"

namespace word::com::standin {

class AddinHost {
public:
    AddinHost(std::shared_ptr<Host> host, ComPtr<IDispatch> application);
    AddinHost(const AddinHost&) = delete;
    AddinHost& operator=(const AddinHost&) = delete;
    ~AddinHost();

    // OnConnection(Application, mode, AddInInst) for each registered add-in, each followed by
    // its ribbon (ribbon_host.h), then OnAddInsUpdate for each connected one and, at start-up
    // (ext_cm_Startup), OnStartupComplete.
    void connectRegistered(int mode = ext_cm_Startup);
    // OnBeginShutdown for each, then OnDisconnection(ext_dm_HostShutdown); releases them.
    void disconnectAll();
    // As the user does in the COM Add-ins dialog: OnDisconnection(ext_dm_UserClosed) for each
    // (its ribbon goes), released; then connectRegistered(ext_cm_AfterStartup).
    void reconnectAll();

private:
    struct Addin;
    std::shared_ptr<Host> host_;
    ComPtr<IDispatch> application_;
    std::vector<std::unique_ptr<Addin>> addins_;
};

}  // namespace word::com::standin
