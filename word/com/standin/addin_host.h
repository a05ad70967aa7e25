// Hosting COM add-ins as Word does: the per-user registrations under
// HKCU\Software\Microsoft\Office\Word\Addins\<ProgId> with LoadBehavior 3 are created by ProgId on
// the calling thread (a single-threaded apartment) and connected through IDTExtensibility2.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "word/com/com_support.h"
#include "word/com/standin/host.h"

namespace word::com::standin {

class AddinHost {
public:
    AddinHost(std::shared_ptr<Host> host, ComPtr<IDispatch> application);
    AddinHost(const AddinHost&) = delete;
    AddinHost& operator=(const AddinHost&) = delete;
    ~AddinHost();

    // OnConnection(Application, ext_cm_Startup, AddInInst) for each registered add-in, then
    // OnAddInsUpdate and OnStartupComplete for each connected one.
    void connectRegistered();
    // OnBeginShutdown for each, then OnDisconnection(ext_dm_HostShutdown); releases them.
    void disconnectAll();

private:
    struct Addin;
    std::shared_ptr<Host> host_;
    ComPtr<IDispatch> application_;
    std::vector<std::unique_ptr<Addin>> addins_;
};

}  // namespace word::com::standin
