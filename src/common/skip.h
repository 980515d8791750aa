#pragma once
// Skip-and-continue: a long task runs each statement through step(); a
// statement that fails is recorded and the task goes on with the next one.
// A callee run through step() is abandoned as a whole at its first failure.
// At the end of the press report() tells the user that something was
// skipped: the full list goes to the log file in the application folder,
// a summary to the screen and to stderr.
#include <QString>

#include <exception>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rw {

class UiPort;

// The log file of skipped statements, in the application folder.
inline constexpr char16_t kSkipLogFile[] = u"SKIPLOG.txt";

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
    const std::string& task() const { return task_; }
    // Each distinct message once, with how often it was recorded, in the
    // order of its first occurrence.
    std::vector<std::pair<std::string, size_t>> distinct() const;

    // When anything was skipped: appends the distinct messages with their
    // counts to the log file (kSkipLogFile in the application folder),
    // writes one summary line and the first few messages to stderr, and
    // shows an OK message box saying how many statements were skipped and
    // where the list is (or, when the log cannot be written, why). Shown
    // after the press's own end text. Returns the number skipped.
    size_t report(UiPort& ui) const;

private:
    std::string task_;
    std::vector<std::string> skipped_;
};

// The text of the message box report() shows.
QString SkipSummaryText(size_t skipped, const QString& logPath, const QString& logFailure);

}  // namespace rw
