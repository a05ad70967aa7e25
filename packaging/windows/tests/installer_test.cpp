// The installer as a user runs it, silently (/S), in the test prefix: what it puts where, the add-in
// loaded by the Word stand-in from the install folder, Versend started from there and finding its
// verses, a second install over the first, and the silent uninstall leaving nothing of ours but the
// user's Versend.ini and translation choice. The steps build on each other and run in order.
// Built for both bitnesses: the 32-bit program starts the 32-bit stand-in, which loads the 32-bit
// add-in as a 32-bit Word would.
#include <gtest/gtest.h>

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tarvelo/word/idtextensibility2.h"
#include "tarvelo/word/registration.h"
#include "tarvelo/word/tests/registry_support.h"
#include "word/com/standin/control_surface.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using tarvelo_word::test_support::MirrorClassesToMachine;
using tarvelo_word::test_support::RegistryKeyExists;
using tarvelo_word::test_support::RegistryString;

const std::wstring UninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QuranVerses";
const std::wstring FontsKey = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
const std::wstring TranslationKey = L"Software\\VB and VBA Program Settings\\tarvelocfg\\language";
const std::wstring ClassKey =
    std::wstring(tarvelo_word::ClassesKey) + L"\\CLSID\\" + tarvelo_word::CLSID_TarveloConnectText;
const std::wstring ProgIdKey = std::wstring(tarvelo_word::ClassesKey) + L"\\" + tarvelo_word::ProgIdText;
// Another add-in of Word and another user font: the uninstall leaves them.
const std::wstring OtherAddinKey = L"Software\\Microsoft\\Office\\Word\\Addins\\Other.Connect";
const wchar_t OtherFontName[] = L"Other Font (TrueType)";

const wchar_t* const GlyphFonts[] = {L"HQPB1", L"HQPB2", L"HQPB3", L"HQPB4", L"HQPB5"};

fs::path KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    fs::path result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
    CoTaskMemFree(path);
    return result;
}

fs::path Installer() {
    wchar_t full[MAX_PATH * 2] = {};
    GetFullPathNameW(fs::path(QV_INSTALLER_PATH).wstring().c_str(), MAX_PATH * 2, full, nullptr);
    return full;
}
fs::path InstallFolder() { return KnownFolder(FOLDERID_LocalAppData) / L"Programs" / L"Quran Verses"; }
fs::path UserFontFolder() { return KnownFolder(FOLDERID_LocalAppData) / L"Microsoft" / L"Windows" / L"Fonts"; }
fs::path Shortcut() { return KnownFolder(FOLDERID_Programs) / L"Versend.lnk"; }

bool SameFile(const fs::path& a, const fs::path& b) {
    return CompareStringOrdinal(a.lexically_normal().c_str(), -1, b.lexically_normal().c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Waits for a process or a condition while this thread's messages are handled (the installer
// broadcasts the font change to every top-level window, ours too).
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return true;
}

class Process {
public:
    Process(std::wstring commandLine, const fs::path& folder = {}) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &startup, &info_))
            info_ = {};
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() {
        if (!info_.hProcess) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    bool started() const { return info_.hProcess != nullptr; }
    DWORD id() const { return info_.dwProcessId; }
    bool ended() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }
    // The exit code, or nothing if it did not end in time.
    std::optional<DWORD> wait(std::chrono::milliseconds timeout = 120s) const {
        if (!started() || !PumpUntil([this] { return ended(); }, timeout)) return std::nullopt;
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION info_{};
};

std::optional<DWORD> RunInstaller() { return Process(L"\"" + Installer().wstring() + L"\" /S").wait(); }

// Everything below the keys of the registry that an install touches, in both views: key paths,
// and values with their type and data.
using Snapshot = std::map<std::wstring, std::wstring>;

void Dump(HKEY root, const std::wstring& path, REGSAM view, const std::wstring& label, Snapshot& out) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return;
    out[label + path] = L"<key>";
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD nameLength = 16384, type = 0, bytes = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) break;
        std::vector<BYTE> data(bytes + sizeof(wchar_t));
        nameLength = 16384;
        RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data.data(), &bytes);
        std::wstring shown = std::to_wstring(type) + L":";
        if (type == REG_SZ || type == REG_EXPAND_SZ) shown += reinterpret_cast<const wchar_t*>(data.data());
        else
            for (DWORD b = 0; b < bytes; ++b) shown += std::to_wstring(data[b]) + L" ";
        out[label + path + L" | " + name] = shown;
    }
    std::vector<std::wstring> children;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.emplace_back(name);
    }
    RegCloseKey(key);
    for (const auto& child : children) Dump(root, path + L"\\" + child, view, label, out);
}

Snapshot RegistrySnapshot() {
    Snapshot out;
    for (const auto& [view, label] : {std::pair{KEY_WOW64_64KEY, L"HKCU64\\"}, std::pair{KEY_WOW64_32KEY, L"HKCU32\\"}})
        for (const wchar_t* path : {L"Software\\Classes", L"Software\\Microsoft\\Office",
                                    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                                    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts"})
            Dump(HKEY_CURRENT_USER, path, view, label, out);
    Dump(HKEY_LOCAL_MACHINE, L"Software\\Classes\\" + std::wstring(tarvelo_word::ProgIdText), 0, L"HKLM\\", out);
    Dump(HKEY_LOCAL_MACHINE, L"Software\\Classes\\CLSID\\" + std::wstring(tarvelo_word::CLSID_TarveloConnectText), 0,
         L"HKLM\\", out);
    return out;
}

// The files below the folders an install writes to.
std::vector<fs::path> FileSnapshot() {
    std::vector<fs::path> files;
    std::error_code error;
    for (const fs::path& root :
         {KnownFolder(FOLDERID_LocalAppData) / L"Programs", UserFontFolder(), KnownFolder(FOLDERID_Programs)}) {
        if (!fs::exists(root, error)) continue;
        files.push_back(root);
        for (const auto& entry : fs::recursive_directory_iterator(root, error)) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::wstring Differences(const Snapshot& before, const Snapshot& after) {
    std::wstring text;
    for (const auto& [key, value] : after) {
        auto found = before.find(key);
        if (found == before.end()) text += L"  added: " + key + L" = " + value + L"\n";
        else if (found->second != value) text += L"  changed: " + key + L" = " + value + L"\n";
    }
    for (const auto& [key, value] : before)
        if (!after.contains(key)) text += L"  removed: " + key + L"\n";
    return text;
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

std::optional<DWORD> RegistryDword(HKEY root, const std::wstring& key, const wchar_t* name) {
    DWORD value = 0, bytes = sizeof value, type = 0;
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_ANY, &type, &value, &bytes) != ERROR_SUCCESS || type != REG_DWORD)
        return std::nullopt;
    return value;
}

void SetString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// The machine a Windows module is built for (IMAGE_FILE_MACHINE_*), from its PE header.
WORD ModuleMachine(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    char header[4096] = {};
    in.read(header, sizeof header);
    const auto peOffset = *reinterpret_cast<const std::uint32_t*>(header + 0x3C);
    if (peOffset + 6 > sizeof header || std::string_view(header + peOffset, 4) != std::string_view("PE\0\0", 4))
        return 0;
    return *reinterpret_cast<const WORD*>(header + peOffset + 4);
}

// Whether this registry keeps the classes of 32-bit programs apart (Windows does; Wine keeps one
// view of HKCU\Software\Classes\CLSID).
bool ClassViewsApart() {
    const std::wstring probe =
        std::wstring(tarvelo_word::ClassesKey) + L"\\CLSID\\{5E0A2B47-1F3C-4D2E-9A71-0C6B8D4E2F19}";
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, probe.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    const bool apart = !RegistryKeyExists(HKEY_CURRENT_USER, probe, KEY_WOW64_64KEY);
    RegDeleteKeyExW(HKEY_CURRENT_USER, probe.c_str(), KEY_WOW64_32KEY, 0);
    return apart;
}

// A shortcut's target and working folder.
std::pair<fs::path, fs::path> ShortcutTarget(const fs::path& link) {
    IShellLinkW* shell = nullptr;
    std::pair<fs::path, fs::path> result;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shell))))
        return result;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(link.c_str(), STGM_READ))) {
            wchar_t path[MAX_PATH] = {};
            if (SUCCEEDED(shell->GetPath(path, MAX_PATH, nullptr, 0))) result.first = path;
            if (SUCCEEDED(shell->GetWorkingDirectory(path, MAX_PATH))) result.second = path;
        }
        file->Release();
    }
    shell->Release();
    return result;
}

// The visible top-level windows of a process, by title.
std::vector<std::wstring> WindowTitles(DWORD processId) {
    struct Search {
        DWORD id;
        std::vector<std::wstring> titles;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM data) WINAPI -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->id && IsWindowVisible(window)) {
                wchar_t title[512] = {};
                GetWindowTextW(window, title, 512);
                s->titles.emplace_back(title);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.titles;
}

void PutTextOnClipboard(const std::wstring& text) {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

// Versend started as the Start-menu entry starts it: what it shows first, its main window
// ("Versend - ...") or a message box of its own (its verse files could not be read). At start it
// searches for the word on the clipboard, which reads the verse files before the window shows.
std::wstring FirstWindowOfVersend(const fs::path& program, const fs::path& folder) {
    PutTextOnClipboard(L"\u0627\u0644\u0644\u0647");  // Allah
    Process versend(L"\"" + program.wstring() + L"\"", folder);
    if (!versend.started()) return L"<not started>";
    std::wstring first;
    PumpUntil(
        [&] {
            if (versend.ended()) return true;
            for (const auto& title : WindowTitles(versend.id()))
                if (!title.empty()) first = title;
            return !first.empty();
        },
        60s);
    return versend.ended() && first.empty() ? L"<ended>" : first;
}

const std::wstring VersendTitle = L"Versend - ";
const std::wstring ErrorCaption = L"\u062E\u0637\u0623";  // the window's error caption

class InstallerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(fs::exists(Installer())) << Narrow(Installer().wstring());
        ASSERT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, UninstallKey)) << "installed before the test";
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\tarvelocfg");
        // Keys every Windows has (a new Wine prefix may not): they are not ours to remove.
        for (const wchar_t* key :
             {L"Software\\Classes\\CLSID", L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"}) {
            HKEY created = nullptr;
            for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY})
                if (RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &created,
                                    nullptr) == ERROR_SUCCESS)
                    RegCloseKey(created);
        }
        SetString(HKEY_CURRENT_USER, OtherAddinKey, L"FriendlyName", L"Other");
        SetString(HKEY_CURRENT_USER, FontsKey, OtherFontName, L"C:\\elsewhere\\other.ttf");
        registryBefore = RegistrySnapshot();
        filesBefore = FileSnapshot();
    }
    static void TearDownTestSuite() {
        MirrorClassesToMachine(true);
        std::error_code error;
        fs::remove(InstallFolder() / L"Versend.ini", error);
        fs::remove(InstallFolder(), error);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\tarvelocfg");
        RegDeleteTreeW(HKEY_CURRENT_USER, OtherAddinKey.c_str());
        RegDeleteKeyValueW(HKEY_CURRENT_USER, FontsKey.c_str(), OtherFontName);
    }
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }

    static void ExpectInstalled() {
        const fs::path folder = InstallFolder();
        for (const wchar_t* file : {L"Versend.exe", L"QuranV.Qur", L"Qurant.Qur", L"AmiriQuran.ttf", L"Uninstall.exe",
                                    L"DATA-LICENSE.txt", L"AmiriQuran-LICENSE.txt", L"fonts\\OFL.txt"})
            EXPECT_TRUE(fs::is_regular_file(folder / file)) << Narrow(file);
        for (const wchar_t* bits : {L"x64", L"x86"})
            for (const wchar_t* file : {L"Tarvelo.dll", L"Arabic.dabrel", L"UnicodeArabic.dbu", L"English.dabrel"})
                EXPECT_TRUE(fs::is_regular_file(folder / L"AddIn" / bits / file))
                    << Narrow(bits) << " " << Narrow(file);
        EXPECT_EQ(ModuleMachine(folder / L"AddIn\\x64\\Tarvelo.dll"), IMAGE_FILE_MACHINE_AMD64);
        EXPECT_EQ(ModuleMachine(folder / L"AddIn\\x86\\Tarvelo.dll"), IMAGE_FILE_MACHINE_I386);
        EXPECT_EQ(ModuleMachine(folder / L"Versend.exe"), IMAGE_FILE_MACHINE_AMD64);
        // The add-in reads the same data in both folders.
        EXPECT_EQ(fs::file_size(folder / L"AddIn\\x64\\English.dabrel"),
                  fs::file_size(folder / L"AddIn\\x86\\English.dabrel"));

        // Fonts for this user.
        std::vector<std::pair<std::wstring, std::wstring>> fonts{{L"AmiriQuran.ttf", L"Amiri Quran (TrueType)"}};
        for (const wchar_t* glyph : GlyphFonts)
            fonts.emplace_back(std::wstring(glyph) + L".ttf", std::wstring(glyph) + L" (TrueType)");
        for (const auto& [file, name] : fonts) {
            EXPECT_TRUE(fs::is_regular_file(UserFontFolder() / file)) << Narrow(file);
            EXPECT_TRUE(SameFile(RegistryString(HKEY_CURRENT_USER, FontsKey, name.c_str()), UserFontFolder() / file))
                << Narrow(name) << ": " << Narrow(RegistryString(HKEY_CURRENT_USER, FontsKey, name.c_str()));
        }

        // The add-in's registration, as DllRegisterServer writes it, for the installed libraries.
        const fs::path dll64 = folder / L"AddIn\\x64\\Tarvelo.dll", dll32 = folder / L"AddIn\\x86\\Tarvelo.dll";
        const bool apart = ClassViewsApart();
        for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
            EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, ClassKey, nullptr, view), tarvelo_word::ProgIdText);
            EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, ClassKey + L"\\InprocServer32", L"ThreadingModel", view),
                      L"Apartment");
            EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, ClassKey + L"\\ProgID", nullptr, view),
                      tarvelo_word::ProgIdText);
            // Where one view holds both, the 64-bit library is the one registered.
            const fs::path expected = view == KEY_WOW64_32KEY && apart ? dll32 : dll64;
            const std::wstring server =
                RegistryString(HKEY_CURRENT_USER, ClassKey + L"\\InprocServer32", nullptr, view);
            EXPECT_TRUE(SameFile(server, expected)) << Narrow(server);
        }
        if (!apart) std::printf("note: this registry keeps one view of the classes; the 32-bit class shares it\n");
        EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, ProgIdKey, nullptr), tarvelo_word::ProgIdText);
        EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, ProgIdKey + L"\\CLSID", nullptr),
                  tarvelo_word::CLSID_TarveloConnectText);
        EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, tarvelo_word::AddinKey, L"FriendlyName"),
                  tarvelo_word::FriendlyName);
        EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, tarvelo_word::AddinKey, L"Description"), tarvelo_word::Description);
        EXPECT_EQ(RegistryDword(HKEY_CURRENT_USER, tarvelo_word::AddinKey, L"LoadBehavior"),
                  tarvelo_word::LoadBehavior);

        // The Start-menu entry starts Versend in the install folder, where Versend.ini is kept.
        const auto [target, workingFolder] = ShortcutTarget(Shortcut());
        EXPECT_TRUE(SameFile(target, folder / L"Versend.exe")) << Narrow(target.wstring());
        EXPECT_TRUE(SameFile(workingFolder, folder)) << Narrow(workingFolder.wstring());

        // The entry in the user's installed programs.
        EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, UninstallKey, L"DisplayName"), L"Quran Verses");
        EXPECT_NE(RegistryString(HKEY_CURRENT_USER, UninstallKey, L"DisplayVersion").find(L'.'), std::wstring::npos);
        EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, UninstallKey, L"Publisher"), L"Quran Verses maintainers");
        EXPECT_TRUE(SameFile(RegistryString(HKEY_CURRENT_USER, UninstallKey, L"InstallLocation"), folder));
        const std::wstring uninstaller = L"\"" + (folder / L"Uninstall.exe").wstring() + L"\"";
        EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, UninstallKey, L"UninstallString"), uninstaller);
        EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, UninstallKey, L"QuietUninstallString"), uninstaller + L" /S");
        EXPECT_EQ(RegistryDword(HKEY_CURRENT_USER, UninstallKey, L"NoModify"), 1u);
        EXPECT_EQ(RegistryDword(HKEY_CURRENT_USER, UninstallKey, L"NoRepair"), 1u);
        // In KB: the programs, the data twice and the fonts make some tens of MB.
        const auto size = RegistryDword(HKEY_CURRENT_USER, UninstallKey, L"EstimatedSize");
        ASSERT_TRUE(size.has_value());
        EXPECT_GT(*size, 10'000u);
        EXPECT_LT(*size, 500'000u);
    }

    static inline Snapshot registryBefore;
    static inline std::vector<fs::path> filesBefore;
};

TEST_F(InstallerTest, InstallsSilentlyForTheUser) {
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(RunInstaller(), 0u);
    std::printf("silent install: %.1f s\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    ExpectInstalled();
}

// The library that a Word of this program's bitness loads.
fs::path OwnBitnessAddin() {
    return InstallFolder() / (sizeof(void*) == 8 ? L"AddIn\\x64\\Tarvelo.dll" : L"AddIn\\x86\\Tarvelo.dll");
}

TEST_F(InstallerTest, TheWordStandinLoadsTheInstalledAddinAndShowsItsMenu) {
    MirrorClassesToMachine();  // Wine's COM reads classes from HKLM only
    if (sizeof(void*) == 4 && !ClassViewsApart()) {
        // One view of the per-user classes keeps the 64-bit class (see ExpectInstalled): the 32-bit
        // view of the machine's classes gets the library that the installer registers for it.
        const std::wstring server =
            L"Software\\Classes\\CLSID\\" + std::wstring(tarvelo_word::CLSID_TarveloConnectText) + L"\\InprocServer32";
        SetString(HKEY_LOCAL_MACHINE, server, nullptr, OwnBitnessAddin().wstring());
    }
    word::com::standin::StandinProcess standin(word::com::standin::programFolder() / "WordStandin.exe");
    const auto log = standin.addinLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), u"OnConnection Tarvelo.Connect");
    bool menu = false;
    for (const auto& entry : standin.menu()) menu = menu || (entry.depth == 0 && entry.caption == u"Al-&Quran");
    EXPECT_TRUE(menu);

    // The library in the stand-in's process is the installed one.
    fs::path loaded;
    HANDLE processes = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W process{};
    process.dwSize = sizeof process;
    for (BOOL more = Process32FirstW(processes, &process); more; more = Process32NextW(processes, &process)) {
        if (_wcsicmp(process.szExeFile, L"WordStandin.exe") != 0) continue;
        HANDLE modules = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process.th32ProcessID);
        MODULEENTRY32W module{};
        module.dwSize = sizeof module;
        for (BOOL m = Module32FirstW(modules, &module); m; m = Module32NextW(modules, &module))
            if (_wcsicmp(module.szModule, L"Tarvelo.dll") == 0) loaded = module.szExePath;
        CloseHandle(modules);
    }
    CloseHandle(processes);
    EXPECT_TRUE(SameFile(loaded, OwnBitnessAddin())) << Narrow(loaded.wstring());
    standin.quit();
    MirrorClassesToMachine(true);
}

TEST_F(InstallerTest, VersendStartsFromTheInstallFolderAndFindsItsVerses) {
    const std::wstring installed = FirstWindowOfVersend(InstallFolder() / L"Versend.exe", InstallFolder());
    EXPECT_EQ(installed.rfind(VersendTitle, 0), 0u) << Narrow(installed);

    // The same program without its verse files says so first: the check above can fail.
    const fs::path alone = fs::temp_directory_path() / L"qv-versend-alone";
    fs::create_directories(alone);
    fs::copy_file(InstallFolder() / L"Versend.exe", alone / L"Versend.exe", fs::copy_options::overwrite_existing);
    EXPECT_EQ(FirstWindowOfVersend(alone / L"Versend.exe", alone), ErrorCaption);
    std::error_code error;
    fs::remove_all(alone, error);
}

TEST_F(InstallerTest, InstallingAgainWhileWordRunsReplacesTheInstall) {
    // A window of Word's class: the installer tells of the add-in's next start, but not when silent.
    WNDCLASSW wordClass{};
    wordClass.lpfnWndProc = DefWindowProcW;
    wordClass.hInstance = GetModuleHandleW(nullptr);
    wordClass.lpszClassName = L"OpusApp";
    RegisterClassW(&wordClass);
    HWND word = CreateWindowW(L"OpusApp", L"Word", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                              wordClass.hInstance, nullptr);
    ASSERT_NE(word, nullptr);
    std::ofstream(InstallFolder() / L"Versend.ini") << "1560 690\n";
    // A library left renamed by an install while Word held it.
    std::ofstream(InstallFolder() / L"AddIn\\x64\\Tarvelo.dll.old") << "old";
    // A mark of the earlier install that only its uninstaller takes away (with its whole entry).
    SetString(HKEY_CURRENT_USER, UninstallKey, L"EarlierInstall", L"1");

    ASSERT_EQ(RunInstaller(), 0u);
    DestroyWindow(word);
    UnregisterClassW(L"OpusApp", wordClass.hInstance);
    ExpectInstalled();
    EXPECT_TRUE(fs::exists(InstallFolder() / L"Versend.ini"));
    EXPECT_FALSE(fs::exists(InstallFolder() / L"AddIn\\x64\\Tarvelo.dll.old"));
    EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, UninstallKey, L"EarlierInstall"), L"<no value>");
}

TEST_F(InstallerTest, TheSilentUninstallLeavesOnlyTheUsersSettings) {
    SetString(HKEY_CURRENT_USER, TranslationKey, L"default", L"English");
    std::ofstream(InstallFolder() / L"Versend.ini") << "1560 690\n";
    const std::wstring command = RegistryString(HKEY_CURRENT_USER, UninstallKey, L"QuietUninstallString");
    ASSERT_EQ(Process(command).wait(), 0u) << Narrow(command);
    // The uninstaller runs on from a copy of itself: wait until its entry and files are gone.
    EXPECT_TRUE(PumpUntil(
        [] {
            return !RegistryKeyExists(HKEY_CURRENT_USER, UninstallKey) &&
                   !fs::exists(InstallFolder() / L"Uninstall.exe");
        },
        60s));
    PumpUntil([] { return false; }, 500ms);

    EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, TranslationKey, L"default"), L"English");
    EXPECT_TRUE(fs::exists(InstallFolder() / L"Versend.ini"));
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\tarvelocfg");

    // Nothing else of ours: the registry as before, and of the files only Versend.ini (and its
    // folder) are new.
    EXPECT_EQ(Differences(registryBefore, RegistrySnapshot()), L"");
    std::vector<fs::path> expected = filesBefore;
    for (const fs::path& kept : {InstallFolder().parent_path(), InstallFolder(), InstallFolder() / L"Versend.ini"})
        if (std::find(expected.begin(), expected.end(), kept) == expected.end()) expected.push_back(kept);
    std::sort(expected.begin(), expected.end());
    std::wstring listed;
    for (const auto& file : FileSnapshot()) listed += file.wstring() + L"\n";
    std::wstring wanted;
    for (const auto& file : expected) wanted += file.wstring() + L"\n";
    EXPECT_EQ(Narrow(listed), Narrow(wanted));
    EXPECT_FALSE(fs::exists(Shortcut()));
}

}  // namespace
