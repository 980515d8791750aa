#pragma once
// Skip-and-continue: a long task runs each statement through step(); a
// statement that fails is recorded and the task goes on with the next one.
// A callee run through step() is abandoned as a whole at its first failure.
// There is no log file: report() writes what was skipped to stderr.
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

class SkipLog {
public:
    explicit SkipLog(std::string task) : task_(std::move(task)) {}

    template <class F>
    bool step(std::string_view what, F&& f) {
        try {
            f();
            return true;
        } catch (const std::exception& e) {
            record(what, e.what());
        } catch (...) {
            record(what, "unknown failure");
        }
        return false;
    }

    void record(std::string_view what, std::string_view why);
    const std::vector<std::string>& skipped() const { return skipped_; }
    bool empty() const { return skipped_.empty(); }
    // Writes one line per skipped statement to stderr; returns their number.
    size_t report() const;

private:
    std::string task_;
    std::vector<std::string> skipped_;
};

}  // namespace rw
