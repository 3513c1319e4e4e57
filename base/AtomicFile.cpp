#include "base/AtomicFile.h"

#include "base/Errors.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void raiseSystemError(int error) {
    throw EKelvoError(std::strerror(error));
}

// Owns a file descriptor and, until committed, the temporary file behind it.
class TempFile {
public:
    explicit TempFile(const std::string& target) : name_(target + ".XXXXXX") {
        fd_ = ::mkstemp(name_.data());
        if (fd_ < 0) raiseSystemError(errno);
    }
    ~TempFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!committed_) ::unlink(name_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    void write(const Bytes& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) raiseSystemError(errno);
            done += static_cast<std::size_t>(n);
        }
    }

    void commit(const std::string& target, mode_t mode) {
        ::fchmod(fd_, mode);
        if (::fsync(fd_) != 0 || ::close(fd_) != 0) {
            fd_ = -1;
            raiseSystemError(errno);
        }
        fd_ = -1;
        if (::rename(name_.c_str(), target.c_str()) != 0) raiseSystemError(errno);
        committed_ = true;
    }

private:
    std::string name_;
    int fd_ = -1;
    bool committed_ = false;
};

} // namespace

void WriteFileAtomically(const std::string& path, const Bytes& bytes) {
    // Keep the permissions of a file being replaced; new files get the usual 0666 & ~umask.
    mode_t mode = 0666;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    TempFile temp(path);
    temp.write(bytes);
    temp.commit(path, mode);
}

Bytes ReadWholeFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) raiseSystemError(errno);
    Bytes bytes;
    std::uint8_t buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            int error = errno;
            ::close(fd);
            raiseSystemError(error);
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    ::close(fd);
    return bytes;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}
