#include "StderrCapture.h"

#include <unistd.h>

StderrCapture::StderrCapture() {
    std::fflush(stderr);
    file_ = std::tmpfile();
    saved_ = ::dup(STDERR_FILENO);
    if (file_ && saved_ >= 0) {
        ::dup2(::fileno(file_), STDERR_FILENO);
    }
}

StderrCapture::~StderrCapture() {
    std::fflush(stderr);
    if (saved_ >= 0) {
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
    if (file_) {
        std::fclose(file_);
    }
}

std::string StderrCapture::text() const {
    std::fflush(stderr);
    if (!file_) {
        return {};
    }
    std::string all;
    char chunk[4096];
    const int fd = ::fileno(file_);
    off_t offset = 0;
    for (;;) {
        const ssize_t got = ::pread(fd, chunk, sizeof(chunk), offset);
        if (got <= 0) {
            break;
        }
        all.append(chunk, static_cast<size_t>(got));
        offset += got;
    }
    return all;
}
