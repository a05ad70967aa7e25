#include "tools/quran-data/file_io.h"

#include "tools/quran-data/error.h"

#include <fstream>
#include <sstream>
#include <system_error>

namespace quran_data {

std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw DataError("cannot open " + path.string());
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad()) throw DataError("cannot read " + path.string());
    return ss.str();
}

void write_file(const std::filesystem::path& path, const std::string& bytes) {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    if (ec) throw DataError("cannot create the folder of " + path.string() + ": " + ec.message());
    const std::filesystem::path tmp = path.string() + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) throw DataError("cannot write " + tmp.string());
    }
    std::filesystem::rename(tmp, path, ec);
    if (ec) throw DataError("cannot rename " + tmp.string() + " to " + path.string() + ": " + ec.message());
}

}  // namespace quran_data
