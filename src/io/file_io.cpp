// Atomic saves and bounded reads of the window's small files.

#include "io/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <system_error>
#include <utility>

namespace lumetra::io {

namespace {

// Owns an open file descriptor.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now; false when the system reports an error (a write that failed late).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

// A file name that is removed again unless the file was kept.
class TemporaryName {
  public:
    explicit TemporaryName(std::string path) : path_(std::move(path)) {}
    ~TemporaryName() {
        if (!kept_) ::unlink(path_.c_str());
    }
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;
    const std::string& path() const { return path_; }
    void keep() { kept_ = true; }

  private:
    std::string path_;
    bool kept_ = false;
};

// The directory part of a path, with its final slash ("" for a bare name).
std::string directory_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The contents of a symbolic link.
std::optional<std::string> read_link(const std::string& path) {
    for (std::size_t size = 256; size <= 65536; size *= 2) {
        std::string target(size, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0) return std::nullopt;
        if (static_cast<std::size_t>(n) < size) {
            target.resize(static_cast<std::size_t>(n));
            return target;
        }
    }
    return std::nullopt;
}

// The file a save replaces: the name itself or, for a symbolic link, the end of its
// chain of links (which need not exist yet). Relative link contents count from the
// link's own directory; the names are joined, not simplified, so ".." means what the
// system makes of it.
struct SaveTarget {
    std::string path;
    std::optional<struct stat> existing;  // its state, when it exists
};

std::optional<SaveTarget> save_target(std::string path) {
    constexpr int kMaxLinks = 40;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno != ENOENT) return std::nullopt;
            return SaveTarget{std::move(path), std::nullopt};
        }
        if (!S_ISLNK(st.st_mode)) return SaveTarget{std::move(path), st};
        std::optional<std::string> link = read_link(path);
        if (!link) return std::nullopt;
        if (link->empty()) {
            errno = ENOENT;
            return std::nullopt;
        }
        path = link->front() == '/' ? *link : directory_of(path) + *link;
    }
    errno = ELOOP;  // a loop, or a chain too long to follow
    return std::nullopt;
}

bool write_all(int fd, const std::string& bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// A new file with a hidden name beside `target` that no other file has:
// ".sample1.saving-" and six random characters (a long name is shortened so that
// the temporary one stays legal). It is created with `mode`, which the system
// filters by the umask. -1 and errno when it cannot be made.
int create_temporary(const std::string& target, mode_t mode, std::string& name) {
    const std::string directory = directory_of(target);
    std::string base = target.substr(directory.size());
    if (base.size() > 128) base.resize(128);
    static constexpr char kChars[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kChars - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = directory + "." + base + ".saving-";
        for (int k = 0; k < 6; ++k) name += kChars[pick(random)];
        const int fd =
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;  // errno is EEXIST
}

}  // namespace

std::string file_error_reason(int error_number) {
    switch (error_number) {
        case ENOSPC:
        case EDQUOT:
            return "the disk is full";
        case EFBIG:
            return "the file would exceed the size allowed";
        case ENAMETOOLONG:
            return "the name is too long";
        case EACCES:
        case EPERM:
            return "permission denied";
        case EROFS:
            return "the file system is read-only";
        case ENOENT:
            return "no such file or folder";
        case ENOTDIR:
            return "a part of the name is not a folder";
        case ELOOP:
            return "a loop of symbolic links";
        case EISDIR:
            return "it is a folder";
        case EIO:
            return "an input/output error";
        default:
            return std::error_code(error_number, std::generic_category()).message();
    }
}

// The bytes go to a hidden temporary beside the final target, are flushed (fsync)
// and renamed over it; see file_io.h.
std::string write_replacing(const std::string& name, const std::string& bytes) {
    const auto failed = [&name](int error_number) {
        return "Cannot write " + name + ": " + file_error_reason(error_number) +
               ". Nothing was saved.";
    };
    const std::optional<SaveTarget> target = save_target(name);
    if (!target) return failed(errno);
    // A new file gets 0666 filtered by the umask; a replaced one keeps its bits.
    mode_t mode = 0666;
    if (const auto& st = target->existing) {
        if (S_ISDIR(st->st_mode))
            return "Cannot write " + name + ": it is a folder. Nothing was saved.";
        if (!S_ISREG(st->st_mode))  // a device or pipe is never replaced
            return "Cannot write " + name + ": it is not a plain file. Nothing was saved.";
        if (::faccessat(AT_FDCWD, target->path.c_str(), W_OK, AT_EACCESS) != 0) {
            if (errno == EACCES || errno == EROFS) {
                return "Cannot write " + name + ": the file is read-only. Nothing was saved.";
            }
            return failed(errno);
        }
        mode = st->st_mode & 07777;
    }

    std::string temp_name;
    FileDescriptor fd(create_temporary(target->path, target->existing ? 0600 : mode, temp_name));
    if (fd.get() < 0) return failed(errno);
    TemporaryName temp(temp_name);

    if (!write_all(fd.get(), bytes)) return failed(errno);
    if (const auto& st = target->existing) {
        if (st->st_uid != ::geteuid() || st->st_gid != ::getegid()) {
            // Best effort: only a privileged user can give a file away.
            if (::fchown(fd.get(), st->st_uid, st->st_gid) != 0) {
                const int group_only = ::fchown(fd.get(), static_cast<uid_t>(-1), st->st_gid);
                static_cast<void>(group_only);
            }
        }
        if (::fchmod(fd.get(), mode) != 0) return failed(errno);
    }
    if (::fsync(fd.get()) != 0 || !fd.close()) return failed(errno);
    if (::rename(temp.path().c_str(), target->path.c_str()) != 0) return failed(errno);
    temp.keep();
    // Make the rename itself durable; the save has succeeded either way.
    const std::string directory = directory_of(target->path);
    const std::string dir_name = directory.empty() ? "." : directory;
    FileDescriptor dir(::open(dir_name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return {};
}

namespace {

// What a file that is not a plain file is, for a message.
std::string kind_of(mode_t mode) {
    if (S_ISDIR(mode)) return "it is a folder, not a file";
    if (S_ISFIFO(mode)) return "it is a pipe, not a file";
    if (S_ISSOCK(mode)) return "it is a socket, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a file";
    return "it is not a plain file";
}

}  // namespace

FileBytes read_small_file(const std::string& path, std::size_t limit) {
    const auto refused = [&path](const std::string& reason) {
        return FileBytes{std::nullopt, "Cannot read " + path + ": " + reason + "."};
    };
    // O_NONBLOCK: opening a pipe without a writer returns at once instead of waiting.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        const int error_number = errno;
        struct stat st {};
        if (error_number == ENXIO && ::stat(path.c_str(), &st) == 0)
            return refused(kind_of(st.st_mode));
        return refused(file_error_reason(error_number));
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return refused(file_error_reason(errno));
    if (!S_ISREG(st.st_mode)) return refused(kind_of(st.st_mode));
    std::string bytes(limit + 1, '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            return refused(file_error_reason(errno));
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return FileBytes{std::move(bytes), {}};
}

}  // namespace lumetra::io
