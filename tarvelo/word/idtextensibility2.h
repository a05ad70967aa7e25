// The host's add-in connection interface (AddInDesignerObjects' IDTExtensibility2), declared from
// its published definition: a dual interface whose five methods follow IDispatch's seven in the
// vtable and carry the dispatch identifiers 1 to 5.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace tarvelo_word {

enum ext_ConnectMode : int {
    ext_cm_AfterStartup = 0,
    ext_cm_Startup = 1,
    ext_cm_External = 2,
    ext_cm_CommandLine = 3,
};

enum ext_DisconnectMode : int {
    ext_dm_HostShutdown = 0,
    ext_dm_UserClosed = 1,
};

// {B65AD801-ABAF-11D0-BB8B-00A0C90F2744}
inline constexpr IID IID_IDTExtensibility2 = {
    0xB65AD801, 0xABAF, 0x11D0, {0xBB, 0x8B, 0x00, 0xA0, 0xC9, 0x0F, 0x27, 0x44}};

inline constexpr DISPID DISPID_OnConnection = 1;
inline constexpr DISPID DISPID_OnDisconnection = 2;
inline constexpr DISPID DISPID_OnAddInsUpdate = 3;
inline constexpr DISPID DISPID_OnStartupComplete = 4;
inline constexpr DISPID DISPID_OnBeginShutdown = 5;

struct IDTExtensibility2 : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, ext_ConnectMode ConnectMode,
                                                   IDispatch* AddInInst, SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode RemoveMode, SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) = 0;
};

// The add-in's class, programmatic identifier Tarvelo.Connect:
// {47176963-FBEE-4AAF-84A0-D9EE835262AF}
inline constexpr CLSID CLSID_TarveloConnect = {
    0x47176963, 0xFBEE, 0x4AAF, {0x84, 0xA0, 0xD9, 0xEE, 0x83, 0x52, 0x62, 0xAF}};
inline constexpr wchar_t CLSID_TarveloConnectText[] = L"{47176963-FBEE-4AAF-84A0-D9EE835262AF}";
inline constexpr wchar_t ProgIdText[] = L"Tarvelo.Connect";

}  // namespace tarvelo_word
