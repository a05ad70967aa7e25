// The add-in's one error type: a numbered error with a description, as the add-in's messages
// show them ("Error 13 (Type mismatch) in procedure ...").
#pragma once

#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>

namespace mTarvelo {

class AddinError : public std::runtime_error {
public:
    AddinError(std::int32_t number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    std::int32_t Number() const { return number_; }
    std::string Description() const { return what(); }

private:
    std::int32_t number_;
};

inline constexpr std::int32_t ErrTypeMismatch = 13;
inline constexpr std::int32_t ErrSubscriptOutOfRange = 9;
// Failures reported by the word processor are automation errors.
inline constexpr std::int32_t ErrAutomation = 440;

// The number and description of whatever `error` holds (word::Error and others included).
struct ErrorInfo {
    std::int32_t number;
    std::string description;
};
ErrorInfo DescribeError(std::exception_ptr error);

// "Error <n> (<description>) in procedure <procedure> of <owner>"
std::string ProcedureErrorText(const ErrorInfo& info, std::string_view procedure, std::string_view owner);

}  // namespace mTarvelo
