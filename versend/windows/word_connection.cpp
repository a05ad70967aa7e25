// Versend sends into the running Word through the Word backend of the word layer.
#include "versend/windows/word_connection.h"

#include "word/com/word_com.h"

namespace versend {

std::unique_ptr<word::Global> attachToWord(std::function<void()> whileWaiting) {
    return word::com::attachToRunningWord({.whileWaiting = std::move(whileWaiting)});
}

}  // namespace versend
