// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A disk that is full for files larger than a given size, for the running process:
// while alive, a write that would make any file larger than `bytes` fails (EFBIG),
// as a write on a full disk fails (ENOSPC). Needs no privilege and no special file system.

#include <csignal>
#include <sys/resource.h>

struct FileSizeLimit {
    rlimit previous{};
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN); // a failing write, not a killed process
        getrlimit(RLIMIT_FSIZE, &previous);
        const rlimit limited{bytes, previous.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &previous); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
};
