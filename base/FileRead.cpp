#include "base/FileRead.h"

#include "base/Errors.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void raiseNotAFile(const std::string& path, const struct stat& st) {
    if (S_ISDIR(st.st_mode)) throw EKelvoError(path + " is a folder, not a file");
    if (S_ISFIFO(st.st_mode)) throw EKelvoError(path + " is a pipe, not a file");
    throw EKelvoError(path + " is not a regular file");
}

// Closes the descriptor when the read ends, also on error.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

} // namespace

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::string FileErrorText(const std::string& what, const std::string& path, int error) {
    return what + " " + path + ": " + std::strerror(error);
}

Bytes ReadFileStart(const std::string& path, std::size_t limit) {
    // O_NONBLOCK: opening a pipe must not wait for a writer; the kind is checked right after.
    Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (file.fd < 0) throw EKelvoError(FileErrorText("Unable to read", path, errno));
    struct stat st {};
    if (::fstat(file.fd, &st) != 0) throw EKelvoError(FileErrorText("Unable to read", path, errno));
    if (!S_ISREG(st.st_mode)) raiseNotAFile(path, st);

    Bytes bytes;
    if (st.st_size > 0) bytes.reserve(std::min<std::size_t>(limit, std::size_t(st.st_size)));
    std::uint8_t buffer[65536];
    while (bytes.size() < limit) {
        std::size_t want = std::min(sizeof buffer, limit - bytes.size());
        ssize_t n = ::read(file.fd, buffer, want);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw EKelvoError(FileErrorText("Unable to read", path, errno));
        if (n == 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}
