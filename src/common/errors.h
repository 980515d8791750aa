#pragma once
// A statement that fails. The long tasks catch it, record it and go on with
// their next statement; everything else lets it reach its caller.
#include <cstddef>
#include <stdexcept>
#include <string>

namespace rw {

class StepFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

[[noreturn]] inline void fail(const std::string& what) { throw StepFailure(what); }

// Element i of an array or list, or StepFailure when i lies outside it (the
// system's arrays stop the statement that reads past their end).
template <class C>
auto& checkedAt(C& array, std::ptrdiff_t i) {
    const auto n = std::ptrdiff_t(array.size());
    if (i < 0 || i >= n) fail("index " + std::to_string(i) + " outside 0.." + std::to_string(n - 1));
    return array[i];
}

}  // namespace rw
