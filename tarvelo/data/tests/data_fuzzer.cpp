// libFuzzer target: the data-file readers over an arbitrary file. The first byte chooses the kind
// of file (translation, Arabic.dabrel, UnicodeArabic.dbu); the rest is the file. Every read must
// end normally or with a DataError: never a crash, a hang or a read outside the file.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tarvelo/data/data_files.h"

namespace fs = std::filesystem;
using namespace mTarvelo;

namespace {

// Every input is written as a data file before it is read: into a fresh folder in memory
// (/dev/shm) where there is one, which runs several times as many inputs as a disk, else in the
// temporary folder. The folder is removed when the fuzzer ends normally.
const fs::path& WorkFolder() {
    static const fs::path folder = [] {
        const bool inMemory = ::access("/dev/shm", W_OK) == 0;
        std::string name = inMemory ? "/dev/shm/tarvelo-fuzz-XXXXXX" : "/tmp/tarvelo-fuzz-XXXXXX";
        if (::mkdtemp(name.data()) == nullptr) std::abort();
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(WorkFolder(), ignored);
        });
        return fs::path(name);
    }();
    return folder;
}

void WriteFile(const fs::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

template <typename Read>
void Try(Read&& read) {
    try {
        read();
    } catch (const DataError&) {
    }
}

constexpr std::int32_t probes[] = {1, 2, 3, 4, 7, 8, 0, -1, 6236, 0x7FFFFFFF};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    ShowMessage = nullptr;
    const int kind = data[0] % 3;
    const fs::path folder = WorkFolder() / std::to_string(kind);
    fs::create_directories(folder);
    DataFolderOverride = folder;
    CloseDataFiles();

    switch (kind) {
        case 0:
            WriteFile(folder / "T.dabrel", data + 1, size - 1);
            TranslationName = u"T";
            loadeFile(slotTranslation);
            for (std::int32_t k : probes) {
                Try([k] { ReadWord(k, slotTranslation); });
                Try([k] { ReadVerseText(k, slotTranslation); });
                Try([k] { ReadNoteText(k, slotTranslation); });
            }
            break;
        case 1:
            WriteFile(folder / "Arabic.dabrel", data + 1, size - 1);
            loade();
            for (std::int32_t k : probes) {
                Try([k] { ReadWord(k, slotArabic); });
                Try([k] { ReadVerseText(k, slotArabic); });
            }
            break;
        default:
            WriteFile(folder / "UnicodeArabic.dbu", data + 1, size - 1);
            loadeFile(slotUnicode);
            for (std::int32_t k : probes) AmbilUnicode(k, static_cast<std::int16_t>(k));
            break;
    }
    CloseDataFiles();
    return 0;
}
