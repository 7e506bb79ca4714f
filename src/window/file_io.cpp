// Atomic saves and bounded reads of the window's small files.

#include "window/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <utility>

namespace lumetra::window {

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
        if (!link || link->empty()) return std::nullopt;
        path = link->front() == '/' ? *link : directory_of(path) + *link;
    }
    return std::nullopt;  // a loop, or a chain too long to follow
}

// The permission bits a program's new file gets: 0666 without the umask.
mode_t new_file_mode() {
    mode_t mask = 022;
    std::ifstream status("/proc/self/status");
    std::string line;
    bool found = false;
    while (!found && std::getline(status, line)) {
        if (line.compare(0, 6, "Umask:") != 0) continue;
        char* end = nullptr;
        const unsigned long value = std::strtoul(line.c_str() + 6, &end, 8);
        found = end != line.c_str() + 6;
        mask = static_cast<mode_t>(value & 0777);
    }
    if (!found) {  // no /proc: read the umask by setting it, and set it back
        mask = ::umask(022);
        ::umask(mask);
    }
    return static_cast<mode_t>(0666 & ~mask);
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

}  // namespace

// The bytes go to a hidden temporary beside the final target (mkstemp), are flushed
// (fsync) and renamed over it; see file_io.h.
std::string write_replacing(const std::string& name, const std::string& bytes) {
    const std::string failed = "Cannot write " + name + ". Nothing was saved.";
    const std::optional<SaveTarget> target = save_target(name);
    if (!target) return failed;
    mode_t mode = 0;
    if (const auto& st = target->existing) {
        if (S_ISDIR(st->st_mode))
            return "Cannot write " + name + ": it is a folder. Nothing was saved.";
        if (!S_ISREG(st->st_mode)) return failed;  // a device or pipe is never replaced
        if (::faccessat(AT_FDCWD, target->path.c_str(), W_OK, AT_EACCESS) != 0) {
            if (errno == EACCES || errno == EROFS) {
                return "Cannot write " + name + ": the file is read-only. Nothing was saved.";
            }
            return failed;
        }
        mode = st->st_mode & 07777;
    } else {
        mode = new_file_mode();
    }

    // A hidden name that no other file has: ".sample1.saving-" and six random
    // characters. A long name is shortened so that the temporary one stays legal.
    const std::string directory = directory_of(target->path);
    std::string base = target->path.substr(directory.size());
    if (base.size() > 128) base.resize(128);
    std::string pattern = directory + "." + base + ".saving-XXXXXX";
    FileDescriptor fd(::mkstemp(pattern.data()));
    if (fd.get() < 0) return failed;
    TemporaryName temp(pattern);

    if (!write_all(fd.get(), bytes)) return failed;
    if (const auto& st = target->existing) {
        if (st->st_uid != ::geteuid() || st->st_gid != ::getegid()) {
            // Best effort: only a privileged user can give a file away.
            if (::fchown(fd.get(), st->st_uid, st->st_gid) != 0) {
                const int group_only = ::fchown(fd.get(), static_cast<uid_t>(-1), st->st_gid);
                static_cast<void>(group_only);
            }
        }
    }
    if (::fchmod(fd.get(), mode) != 0 || ::fsync(fd.get()) != 0 || !fd.close()) return failed;
    if (::rename(temp.path().c_str(), target->path.c_str()) != 0) return failed;
    temp.keep();
    // Make the rename itself durable; the save has succeeded either way.
    const std::string dir_name = directory.empty() ? "." : directory;
    FileDescriptor dir(::open(dir_name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return {};
}

std::optional<std::string> read_small_file(const std::string& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes;
    bytes.resize(limit + 1);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

}  // namespace lumetra::window
