#include "support/file_size_limit.h"

#include <csignal>
#include <stdexcept>
#include <sys/resource.h>

namespace rwtest {
namespace {
rlim_t setLimit(rlim_t bytes) {
    rlimit l{};
    if (getrlimit(RLIMIT_FSIZE, &l) != 0) throw std::runtime_error("getrlimit");
    const rlim_t old = l.rlim_cur;
    l.rlim_cur = bytes;
    if (setrlimit(RLIMIT_FSIZE, &l) != 0) throw std::runtime_error("setrlimit");
    return old;
}
}  // namespace

FileSizeLimit::FileSizeLimit(qint64 bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    old_ = setLimit(rlim_t(bytes));
}

FileSizeLimit::~FileSizeLimit() { setLimit(rlim_t(old_)); }

std::function<void()> childFileSizeLimit(qint64 bytes) {
    return [bytes] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit l{};
        getrlimit(RLIMIT_FSIZE, &l);
        l.rlim_cur = rlim_t(bytes);
        setrlimit(RLIMIT_FSIZE, &l);
    };
}

}  // namespace rwtest
