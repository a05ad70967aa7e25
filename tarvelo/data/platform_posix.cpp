// The data files' platform side on Linux: the folder of the add-in's library (or, when the data
// does not lie there, the shared-data folder of an installed system), the platform version
// (never the 9x family), and file names compared letter for letter.
#include <dlfcn.h>

#include <string_view>
#include <system_error>

#include "tarvelo/data/data_files.h"

namespace mTarvelo {

namespace {

// Where an installed system keeps the data files, when the build names such a folder.
#ifdef QV_SHARED_DATA_DIR
constexpr std::string_view sharedDataFolder = QV_SHARED_DATA_DIR;
#else
constexpr std::string_view sharedDataFolder;
#endif

// The folder of the library (or program) that contains this module.
std::filesystem::path ModuleFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ModuleFolder), &info) != 0 && info.dli_fname != nullptr) {
        std::error_code error;
        auto path = std::filesystem::canonical(info.dli_fname, error);
        if (!error) return path.parent_path();
    }
    return std::filesystem::current_path();
}

}  // namespace

std::filesystem::path DataFolder() {
    if (DataFolderOverride) return *DataFolderOverride;
    return ChooseDataFolder(ModuleFolder(), std::filesystem::path(sharedDataFolder));
}

bool IsWin9x() { return false; }

bool SameFileName(std::u16string_view a, std::u16string_view b) { return a == b; }

}  // namespace mTarvelo
