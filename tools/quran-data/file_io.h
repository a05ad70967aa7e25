#pragma once
// Whole-file reading and writing for the tool; failures are DataErrors naming the file.
#include <filesystem>
#include <string>

namespace quran_data {

std::string read_file(const std::filesystem::path& path);
// Writes beside the target and renames, so a reader never sees half a file.
void write_file(const std::filesystem::path& path, const std::string& bytes);

}  // namespace quran_data
