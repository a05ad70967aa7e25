// Tarvelo.dll's COM server (com_server.cpp); the entry points DllGetClassObject,
// DllCanUnloadNow, DllRegisterServer and DllUnregisterServer are exported by tarvelo.def.
#pragma once

namespace tarvelo_word {

// Connection objects alive and references held to the class factory.
long LiveObjectCount();

}  // namespace tarvelo_word
