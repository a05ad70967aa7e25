// Checks the data-folder lookup of both programs against an installed package:
//   package_layout_check ROOT EXTENSION_FOLDER
// ROOT holds the package's files (usr/bin/versend, the shared data folder); EXTENSION_FOLDER is
// where LibreOffice unpacked the extension (the add-in library's own folder). Both programs must
// choose the shared data folder, and read their data from there. Exit status 0 when they do.
#include "tarvelo/data/data_files.h"
#include "versend/verse_scan.h"

#include <filesystem>
#include <iostream>
#include <string>

namespace fs = std::filesystem;

namespace {

int failures = 0;

void check(bool ok, const std::string& what) {
    std::cout << (ok ? "ok:     " : "FAILED: ") << what << '\n';
    if (!ok) ++failures;
}

// Versend installed as ROOT/usr/bin/versend.
void checkVersend(const fs::path& root, const fs::path& shared) {
    const fs::path program = root / "usr/bin";
    check(fs::is_regular_file(program / "versend"), "versend is installed in " + program.string());
    const fs::path folder = versend::verseFolderFor(program, shared);
    check(folder == shared, "Versend looks for its verses in " + folder.string());
    try {
        versend::VerseScan scan(versend::VerseFiles::in(folder));
        scan.skipToEnd();
        check(scan.lineCount() == versend::kVerseLineLimit,
              "Versend reads " + std::to_string(scan.lineCount()) + " verse lines there");
    } catch (const std::exception& error) {
        check(false, std::string("Versend reads its verse files: ") + error.what());
    }
}

// Tarvelo's library in the folder LibreOffice unpacked the extension into.
void checkTarvelo(const fs::path& extension, const fs::path& shared) {
    check(fs::is_regular_file(extension / "libtarvelo.so"), "the add-in library is in " + extension.string());
    const fs::path folder = mTarvelo::ChooseDataFolder(extension, shared);
    check(folder == shared, "Tarvelo looks for its data in " + folder.string());

    std::u16string messages;
    mTarvelo::ShowMessage = [&](std::u16string_view text) { messages += text; };
    mTarvelo::DataFolderOverride = folder;
    mTarvelo::loade();
    check(messages.empty(), "Tarvelo loads its data without a message " + mTarvelo::ToUtf8(messages));
    check(mTarvelo::SurahTable[114].VerseCount == 6, "the surah table is read (surah 114 has 6 verses)");
    check(!mTarvelo::TranslationName.empty(),
          "a default translation is chosen: " + mTarvelo::ToUtf8(mTarvelo::TranslationName));
    try {
        check(!mTarvelo::ReadVerseText(1, mTarvelo::slotArabic).empty(), "verse 1:1 is read as glyph codes");
        check(!mTarvelo::ReadVerseText(1, mTarvelo::slotTranslation).empty(), "verse 1:1 is read translated");
    } catch (const mTarvelo::DataError& error) {
        check(false, std::string("Tarvelo reads verse 1:1: ") + error.what());
    }
    check(!mTarvelo::AmbilUnicode(1, 1).empty(), "verse 1:1 is read as Unicode");
    mTarvelo::CloseDataFiles();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "usage: package_layout_check ROOT EXTENSION_FOLDER\n";
        return 2;
    }
    const fs::path root = argv[1];
    const fs::path shared = root / fs::path(QV_SHARED_DATA_DIR).relative_path();
    checkVersend(root, shared);
    checkTarvelo(argv[2], shared);
    return failures == 0 ? 0 : 1;
}
