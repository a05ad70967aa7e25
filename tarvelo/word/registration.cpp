#include "tarvelo/word/registration.h"

#include "tarvelo/word/idtextensibility2.h"

namespace tarvelo_word {

namespace {

std::wstring ClassKey() { return std::wstring(ClassesKey) + L"\\CLSID\\" + CLSID_TarveloConnectText; }
std::wstring ProgIdKey() { return std::wstring(ClassesKey) + L"\\" + ProgIdText; }

// An open registry key, closed when it goes.
class Key {
public:
    Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() {
        if (key_) RegCloseKey(key_);
    }
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

LSTATUS SetString(const std::wstring& path, const wchar_t* name, const std::wstring& value, REGSAM view) {
    Key key;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_SET_VALUE | view, nullptr, key.Out(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    return RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

LSTATUS SetDword(const std::wstring& path, const wchar_t* name, DWORD value, REGSAM view) {
    Key key;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_SET_VALUE | view, nullptr, key.Out(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    return RegSetValueExW(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// Deletes `path` with everything below it; an absent key counts as deleted.
LSTATUS DeleteTree(const std::wstring& path, REGSAM view) {
    const auto split = path.rfind(L'\\');
    Key parent;
    LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, path.substr(0, split).c_str(), 0,
                                   KEY_READ | KEY_WRITE | DELETE | view, parent.Out());
    if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return status;
    const std::wstring name = path.substr(split + 1);
    {
        Key child;
        status = RegOpenKeyExW(parent.Get(), name.c_str(), 0, KEY_ALL_ACCESS | view, child.Out());
        if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
        if (status != ERROR_SUCCESS) return status;
        status = RegDeleteTreeW(child.Get(), nullptr);  // its values and subkeys
        if (status != ERROR_SUCCESS) return status;
    }
    status = RegDeleteKeyExW(parent.Get(), name.c_str(), view, 0);
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

bool KeyExists(const std::wstring& path, REGSAM view) {
    Key key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ | view, key.Out()) == ERROR_SUCCESS;
}

}  // namespace

HRESULT RegisterAddin(const std::wstring& dllPath, REGSAM view) {
    const std::wstring classKey = ClassKey();
    const std::wstring server = classKey + L"\\InprocServer32";
    const LSTATUS steps[] = {
        SetString(classKey, nullptr, ProgIdText, view),
        SetString(server, nullptr, dllPath, view),
        SetString(server, L"ThreadingModel", L"Apartment", view),
        SetString(classKey + L"\\ProgID", nullptr, ProgIdText, view),
        SetString(ProgIdKey(), nullptr, ProgIdText, view),
        SetString(ProgIdKey() + L"\\CLSID", nullptr, CLSID_TarveloConnectText, view),
        SetString(AddinKey, L"FriendlyName", FriendlyName, view),
        SetString(AddinKey, L"Description", Description, view),
        SetDword(AddinKey, L"LoadBehavior", LoadBehavior, view),
    };
    for (const LSTATUS status : steps)
        if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    return S_OK;
}

HRESULT UnregisterAddin(REGSAM view, REGSAM otherView) {
    LSTATUS status = DeleteTree(ClassKey(), view);
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    if (KeyExists(ClassKey(), otherView)) return S_OK;
    if ((status = DeleteTree(ProgIdKey(), view)) != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    if ((status = DeleteTree(AddinKey, view)) != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    return S_OK;
}

std::wstring OwnModulePath() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&OwnModulePath), &module);
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace tarvelo_word
