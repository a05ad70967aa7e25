#include "tarvelo/word/word_application.h"

#include "word/com/word_com.h"

namespace tarvelo_word {

std::shared_ptr<word::Application> WordApplication(IDispatch* application) {
    if (application == nullptr) throw word::Error("Word gave the add-in no Application object");
    return word::com::wrapApplication(application);
}

}  // namespace tarvelo_word
