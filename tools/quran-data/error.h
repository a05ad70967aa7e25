#pragma once
// The one error type of the data tool: every broken invariant, unreadable source or file that
// cannot be written ends the tool with this message and a non-zero exit status.
#include <stdexcept>
#include <string>

namespace quran_data {

class DataError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace quran_data
