#include "base/AtomicFile.h"

#include "base/Errors.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Symbolic links a save follows before it gives up, as the system does.
constexpr int MaxLinks = 40;

// The file a save replaces: the final target of a chain of symbolic links, so the link stays
// a link and the file it names gets the new bytes.
fs::path resolveLinks(const std::string& path) {
    fs::path file(path);
    for (int i = 0; i < MaxLinks; ++i) {
        std::error_code ec;
        if (!fs::is_symlink(file, ec)) return file;
        fs::path target = fs::read_symlink(file, ec);
        if (ec) return file;
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    throw EKelvoError(FileErrorText("Unable to write", path, ELOOP));
}

// A write beyond the process's file size limit raises SIGXFSZ, whose default ends the program
// without a word. Ignored, the write fails with EFBIG and the save reports it like a full disk.
void reportSizeLimitAsError() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction current {};
        if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            std::signal(SIGXFSZ, SIG_IGN);
    });
}

// The name a save gives its finished file beside the target for the moment before the rename
// puts it in the target's place.
std::string temporaryName(const fs::path& target, unsigned number) {
    std::string digits = std::to_string(number);
    return target.string() + "." + std::string(6 - std::min<std::size_t>(6, digits.size()), '0') +
           digits + ".tmp";
}

bool isTemporaryName(const std::string& name, const std::string& targetName) {
    std::size_t stem = targetName.size() + 1;
    if (name.size() != stem + 10 || name.compare(0, targetName.size(), targetName) != 0 ||
        name[targetName.size()] != '.' || name.compare(stem + 6, 4, ".tmp") != 0)
        return false;
    return std::all_of(name.begin() + static_cast<long>(stem),
                       name.begin() + static_cast<long>(stem + 6),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// Offers `claim` fresh temporary names beside the target until it takes one. Nothing when a
// claim fails for another reason than the name being taken (errno says why) or 100 names
// were taken (errno EEXIST).
template <class Claim>
std::optional<std::string> claimTemporaryName(const fs::path& target, Claim claim) {
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = temporaryName(target, seed() % 1000000);
        if (claim(name)) return name;
        if (errno != EEXIST) return std::nullopt;
    }
    errno = EEXIST;
    return std::nullopt;
}

// A save killed between the link and the rename leaves its finished file under the temporary
// name; the next save of the same file removes it, so at most one is ever left, and only
// until the file is saved again.
void removeStrandedFiles(const fs::path& target) {
    std::error_code ec;
    fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::string targetName = target.filename().string();
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (isTemporaryName(entry.path().filename().string(), targetName) &&
            entry.is_regular_file(ec))
            fs::remove(entry.path(), ec);
}

// Owns the descriptor of the file being written and, while it has a name, that name: a
// failed write removes it. With O_TMPFILE the file has no name until it is complete, so a
// process killed mid-write leaves nothing behind; it is linked under a temporary name right
// before the rename.
class TempFile {
public:
    TempFile(const fs::path& target, const std::string& userPath, bool unnamed)
        : target_(target), userPath_(userPath) {
        fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
        if (unnamed) {
            fd_ = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
            return; // fd_ < 0: the caller falls back to a named temporary file
        }
        // The same temporary name as a linked file, so that the next save removes one a kill
        // left behind. The name is ours only once the exclusive create succeeded.
        auto name = claimTemporaryName(target_, [this](const std::string& candidate) {
            fd_ = ::open(candidate.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
            return fd_ >= 0;
        });
        if (!name) fail(errno);
        name_ = *name;
    }
    ~TempFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!name_.empty()) ::unlink(name_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool Opened() const { return fd_ >= 0; }

    void Write(const Bytes& bytes, mode_t mode) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) fail(errno);
            done += static_cast<std::size_t>(n);
        }
        if (::fchmod(fd_, mode) != 0 || ::fsync(fd_) != 0) fail(errno);
    }

    // Gives the unnamed file a temporary name beside the target and at once renames it over
    // the target, so that only the two calls between them leave a name a kill would strand.
    // False when the system cannot link it (no /proc): the caller writes again through a
    // named temporary file.
    bool LinkAndCommit() {
        std::string self = "/proc/self/fd/" + std::to_string(fd_);
        auto name = claimTemporaryName(target_, [&self](const std::string& candidate) {
            return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(),
                            AT_SYMLINK_FOLLOW) == 0;
        });
        if (!name) return false;
        name_ = *name;
        rename();
        closeFile();
        return true;
    }

    void Commit() {
        closeFile();
        rename();
    }

private:
    void closeFile() {
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) fail(errno);
    }
    void rename() {
        if (::rename(name_.c_str(), target_.c_str()) != 0) fail(errno);
        name_.clear();
    }
    [[noreturn]] void fail(int error) const {
        throw EKelvoError(FileErrorText("Unable to write", userPath_, error));
    }

    fs::path target_;
    std::string userPath_;
    std::string name_;
    int fd_ = -1;
};

// Keeps the permissions of a file being replaced; new files get the usual 0666 & ~umask.
mode_t modeFor(const fs::path& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A device or a pipe (/dev/null, /dev/stdout behind its links, a FIFO) is written into as it
// is: renaming a file over it would replace the device itself with a plain file, which for
// the superuser breaks /dev/null for every program on the machine.
bool writeIntoSpecialFile(const fs::path& target, const std::string& userPath, const Bytes& bytes) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0 || S_ISREG(st.st_mode) || S_ISDIR(st.st_mode))
        return false;
    const auto fail = [&](int error) {
        throw EKelvoError(FileErrorText("Unable to write", userPath, error));
    };
    // O_NONBLOCK: a pipe that nothing reads would hold the open, and the program, forever.
    int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 && errno == ENXIO && S_ISFIFO(st.st_mode))
        throw EKelvoError("Unable to write " + userPath + ": it is a pipe that nothing reads");
    if (fd < 0) fail(errno);
    // The writes themselves wait for the reader as usual.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            int error = errno;
            ::close(fd);
            fail(error);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) fail(errno);
    return true;
}

} // namespace

void WriteFileAtomically(const std::string& path, const Bytes& bytes) {
    reportSizeLimitAsError();
    fs::path target = resolveLinks(path);
    if (writeIntoSpecialFile(target, path, bytes)) return;
    // Renaming over a file needs only the folder's permission: a file the user made read-only
    // would be replaced without a word. It is refused as a write into it would be.
    if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0)
        throw EKelvoError(FileErrorText("Unable to write", path, errno));
    mode_t mode = modeFor(target);
    removeStrandedFiles(target);
    {
        TempFile unnamed(target, path, true);
        if (unnamed.Opened()) {
            unnamed.Write(bytes, mode);
            if (unnamed.LinkAndCommit()) return;
        }
    }
    // The file system has no unnamed files (or /proc is missing): a named temporary file,
    // removed again if the write fails.
    TempFile named(target, path, false);
    named.Write(bytes, mode);
    named.Commit();
}
