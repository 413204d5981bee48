#pragma once
// For death tests of the text converters: leaves no file descriptor free, so iconv_open cannot load
// its converter modules. Call it only in a fresh process.
#include <fcntl.h>
#include <sys/resource.h>

namespace brindle::testing {

inline void use_up_file_descriptors() {
    rlimit limit{32, 32};
    setrlimit(RLIMIT_NOFILE, &limit);
    while (open("/dev/null", O_RDONLY) >= 0) {
    }
}

}  // namespace brindle::testing
