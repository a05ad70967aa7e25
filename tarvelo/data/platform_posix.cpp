// The data files' platform side on Linux: the folder of the add-in's library, and the platform
// version (never the 9x family).
#include <dlfcn.h>

#include <system_error>

#include "tarvelo/data/data_files.h"

namespace mTarvelo {

std::filesystem::path DataFolder() {
    if (DataFolderOverride)
        return *DataFolderOverride;
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&DataFolder), &info) != 0 && info.dli_fname != nullptr) {
        std::error_code error;
        auto path = std::filesystem::canonical(info.dli_fname, error);
        if (!error)
            return path.parent_path();
    }
    return std::filesystem::current_path();
}

bool IsWin9x() { return false; }

}  // namespace mTarvelo
