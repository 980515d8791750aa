#pragma once
// A disk that fills up, for tests: while a FileSizeLimit lives, no file of
// this process grows beyond `bytes` (the soft file-size limit of the
// process; the signal the kernel sends at the limit is ignored, so the
// write fails instead). It holds for root as for anyone, and a file can
// still be cut shorter, as on a full disk.
#include <QtGlobal>

#include <functional>

namespace rwtest {

class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long long old_;
};

// The same limit set in a child process before it starts (for
// QProcess::setChildProcessModifier).
std::function<void()> childFileSizeLimit(qint64 bytes);

}  // namespace rwtest
