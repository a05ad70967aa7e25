// Where the programs look for their data: beside themselves first, then in the shared data folder
// of an installed system.
#include "tarvelo/data/data_files.h"
#include "versend/verse_scan.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace fs = std::filesystem;

namespace {

class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("qv-data-folder-" + std::to_string(std::random_device{}()));
        beside = root / "bin";
        shared = root / "share" / "quran-verses";
        fs::create_directories(beside);
        fs::create_directories(shared);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    static void touch(const fs::path& file) { std::ofstream(file, std::ios::binary) << "x"; }

    fs::path root;
    fs::path beside;  // the program's (or the add-in library's) own folder
    fs::path shared;
};

TEST_F(DataFolderTest, VersendPrefersTheVerseFilesBesideItself) {
    touch(beside / "QuranV.Qur");
    touch(shared / "QuranV.Qur");
    EXPECT_EQ(versend::verseFolderFor(beside, shared), beside);
}

TEST_F(DataFolderTest, VersendFallsBackToTheSharedFolderOnlyWhereTheSearchFileLies) {
    // Nowhere: the program's folder, so that the scan names the file it misses there.
    EXPECT_EQ(versend::verseFolderFor(beside, shared), beside);
    EXPECT_EQ(versend::verseFolderFor(beside, {}), beside);
    // A vocalised file alone beside the program does not make it the verse folder...
    touch(beside / "Qurant.Qur");
    touch(shared / "QuranV.Qur");
    EXPECT_EQ(versend::verseFolderFor(beside, shared), shared);
    // ...nor does a folder of that name.
    fs::create_directory(beside / "QuranV.Qur");
    EXPECT_EQ(versend::verseFolderFor(beside, shared), shared);
}

TEST_F(DataFolderTest, TarveloPrefersTheDataBesideItsLibrary) {
    touch(beside / "Arabic.dabrel");
    touch(shared / "Arabic.dabrel");
    EXPECT_EQ(mTarvelo::ChooseDataFolder(beside, shared), beside);
}

TEST_F(DataFolderTest, TarveloFallsBackToTheSharedFolderOnlyWhereArabicDabrelLies) {
    EXPECT_EQ(mTarvelo::ChooseDataFolder(beside, shared), beside);
    EXPECT_EQ(mTarvelo::ChooseDataFolder(beside, {}), beside);
    // A translation beside the library is not the glyph file: the shared folder holds the data.
    touch(beside / "English.dabrel");
    touch(shared / "Arabic.dabrel");
    EXPECT_EQ(mTarvelo::ChooseDataFolder(beside, shared), shared);
}

}  // namespace
