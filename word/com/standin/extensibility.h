// IDTExtensibility2 of AddInDesignerObjects, the dual interface through which Word connects its
// COM add-ins (no Windows SDK header declares it).
// It must keep external linkage: declared in an unnamed namespace, the compiler knows that no
// class of the program implements it and turns calls through it into calls of the pure virtual.
#pragma once

#include <oaidl.h>

namespace word::com::standin {

struct IDTExtensibility2 : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, int connectMode, IDispatch* addInInst,
                                                   SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnDisconnection(int removeMode, SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) = 0;
};

// {B65AD801-ABAF-11D0-BB8B-00A0C90F2744}
inline constexpr IID IID_IDTExtensibility2 = {
    0xB65AD801, 0xABAF, 0x11D0, {0xBB, 0x8B, 0x00, 0xA0, 0xC9, 0x0F, 0x27, 0x44}};
inline constexpr int ext_cm_AfterStartup = 0;
inline constexpr int ext_cm_Startup = 1;
inline constexpr int ext_dm_HostShutdown = 0;
inline constexpr int ext_dm_UserClosed = 1;

}  // namespace word::com::standin
