// A file-size limit for the length of a scope, to make writes fail part way
// the way a full disk does. Writes past the limit fail with an error instead of
// ending the process.
#pragma once

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace lw::test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(long long bytes) {
#ifndef _WIN32
    previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    active_ = getrlimit(RLIMIT_FSIZE, &previous_) == 0;
    rlimit limit = previous_;
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    active_ = active_ && setrlimit(RLIMIT_FSIZE, &limit) == 0;
#else
    (void)bytes;
#endif
  }
  ~FileSizeLimit() {
#ifndef _WIN32
    if (active_) setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousSignal_);
#endif
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool active() const { return active_; }

 private:
  bool active_ = false;
#ifndef _WIN32
  rlimit previous_{};
  void (*previousSignal_)(int) = nullptr;
#endif
};

}  // namespace lw::test
