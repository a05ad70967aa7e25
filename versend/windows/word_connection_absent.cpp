// A build without the Word backend: every send reports that there is no Word.
#include "versend/windows/word_connection.h"

namespace versend {

std::unique_ptr<word::Global> attachToWord(std::function<void()>) {
    throw word::Error("this build has no Word backend");
}

}  // namespace versend
