// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "atomic_file.h"

#include "save_failure.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <utility>

namespace {

// The kernel gives up on longer chains with ELOOP as well.
constexpr int kMaxLinks = 40;

class Fd {
public:
    explicit Fd(int fd = -1)
        : m_fd(fd)
    { }
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;

    int Get() const { return m_fd; }
    void Reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    // Closes now; close can be the first to report a failed write (NFS).
    int Close() { return ::close(std::exchange(m_fd, -1)); }

private:
    int m_fd;
};

// The file a save lands in, once links are followed.
struct Target {
    std::string Path;
    bool Exists = false;
    struct stat Stat { };
};

class Saver {
public:
    Saver(const std::string &path, std::span<const std::string_view> pieces, InPlace inPlace)
        : m_given(path)
        , m_pieces(pieces)
        , m_inPlace(inPlace == InPlace::WhenRefused)
    { }

    void Run()
    {
        const Target target = Resolve();
        // A file the player may not write is not replaced behind their back;
        // on a read-only mount this names the mount, not the permissions.
        if (target.Exists && faccessat(AT_FDCWD, target.Path.c_str(), W_OK, AT_EACCESS) != 0)
            Fail(errno);

        std::string tempPath;
        Fd temp;
        const int created = CreateTemp(target.Path, temp, tempPath);
        if (created != 0) {
            if (m_inPlace && target.Exists && Refused(created))
                return WriteInPlace(target, created);
            Fail(created);
        }
        // The new file keeps the old one's permissions. One that cannot take
        // them (a file system that refuses the mode) must not replace it:
        // a private file would turn readable, say. The file itself keeps its
        // own, when it may be written in place.
        if (target.Exists && ::fchmod(temp.Get(), target.Stat.st_mode & 0777) != 0) {
            const int failure = errno;
            ::unlink(tempPath.c_str());
            if (m_inPlace && Refused(failure))
                return WriteInPlace(target, failure);
            Fail(failure);
        }
        const int written = FillTemp(temp);
        // The folder is not synced after the rename: a crash right after it
        // can bring back the old file, never a cut one, and syncing the
        // folder costs a journal commit on every save.
        if (written == 0 && ::rename(tempPath.c_str(), target.Path.c_str()) == 0)
            return;
        const int failure = written != 0 ? written : errno;
        ::unlink(tempPath.c_str());
        // The rename is refused over another user's file in a sticky folder.
        if (m_inPlace && written == 0 && target.Exists && Refused(failure))
            return WriteInPlace(target, failure);
        Fail(failure);
    }

private:
    [[noreturn]] void Fail(int cause) const { throw SaveFailure(m_given, cause); }

    static bool Refused(int error) { return error == EACCES || error == EPERM; }

    static std::string Folder(const std::string &path)
    {
        const std::filesystem::path parent = std::filesystem::path(path).parent_path();
        return parent.empty() ? std::string(".") : parent.string();
    }

    // Sticky and writable by everyone, like /tmp or a class's shared folder.
    static bool Shared(const struct stat &folder)
    {
        return (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    }

    std::string ReadLink(const std::string &path, const struct stat &link) const
    {
        std::string text(static_cast<std::size_t>(link.st_size > 0 ? link.st_size : 255) + 1, '\0');
        for (;;) {
            const ssize_t n = ::readlink(path.c_str(), text.data(), text.size());
            if (n < 0)
                Fail(errno);
            if (static_cast<std::size_t>(n) < text.size()) {
                text.resize(static_cast<std::size_t>(n));
                return text;
            }
            text.resize(text.size() * 2);
        }
    }

    Target Resolve() const
    {
        std::string path = m_given;
        for (int links = 0;; ++links) {
            Target target { path };
            if (::lstat(path.c_str(), &target.Stat) != 0) {
                if (errno != ENOENT)
                    Fail(errno);
                return target; // a new file; a missing folder shows when it is made
            }
            const mode_t type = target.Stat.st_mode & S_IFMT;
            if (type == S_IFREG) {
                target.Exists = true;
                return target;
            }
            if (type == S_IFDIR)
                Fail(EISDIR);
            if (type != S_IFLNK)
                Fail(kCauseNotRegularFile);
            if (links == kMaxLinks)
                Fail(ELOOP);
            // Another user's link in a shared folder may point anywhere that
            // user chose; following it would let them aim the save.
            struct stat folder { };
            if (::stat(Folder(path).c_str(), &folder) != 0)
                Fail(errno);
            const uid_t owner = target.Stat.st_uid;
            if (Shared(folder) && owner != ::geteuid() && owner != folder.st_uid)
                Fail(kCauseForeignLink);
            const std::filesystem::path text = ReadLink(path, target.Stat);
            const std::filesystem::path parent = std::filesystem::path(path).parent_path();
            path = (text.is_absolute() || parent.empty() ? text : parent / text).string();
        }
    }

    static std::string RandomSuffix()
    {
        static constexpr std::string_view kChars = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        thread_local std::mt19937 random { std::random_device {}() };
        std::uniform_int_distribution<std::size_t> pick(0, kChars.size() - 1);
        std::string suffix(6, ' ');
        for (char &c : suffix)
            c = kChars[pick(random)];
        return suffix;
    }

    // A new file beside the target; 0 or the system's error.
    static int CreateTemp(const std::string &target, Fd &fd, std::string &path)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            path = target + "." + RandomSuffix();
            const int created = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
            if (created >= 0) {
                fd.Reset(created);
                return 0;
            }
            if (errno != EEXIST)
                return errno;
        }
        return EEXIST;
    }

    // 0 or the system's error.
    int WriteAll(int fd) const
    {
        for (std::string_view piece : m_pieces) {
            while (!piece.empty()) {
                const ssize_t n = ::write(fd, piece.data(), piece.size());
                if (n < 0 && errno == EINTR)
                    continue;
                // Past a size limit or a quota the write first comes back
                // short; the next one says why.
                if (n < 0)
                    return errno;
                if (n == 0)
                    return EIO;
                piece.remove_prefix(static_cast<std::size_t>(n));
            }
        }
        return 0;
    }

    // Writes, syncs and closes the temporary file; 0 or the system's error.
    int FillTemp(Fd &temp) const
    {
        if (const int written = WriteAll(temp.Get()))
            return written;
        // On the disk before the rename: a crash then never leaves the name
        // on an empty file. Some file systems report a full disk only here.
        if (::fsync(temp.Get()) != 0)
            return errno;
        return temp.Close() == 0 ? 0 : errno;
    }

    // The atomic way was refused with refusal; the file itself takes the
    // bytes. If it cannot be opened either, the refusal is the reason.
    void WriteInPlace(const Target &target, int refusal) const
    {
        // Not following a link and not blocking on a FIFO, should either have
        // been put in its place since it was looked at.
        Fd file(::open(target.Path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (file.Get() < 0)
            Fail(refusal);
        struct stat now { };
        if (::fstat(file.Get(), &now) != 0)
            Fail(errno);
        if (!S_ISREG(now.st_mode))
            Fail(kCauseNotRegularFile);
        const int flags = ::fcntl(file.Get(), F_GETFL);
        if (flags < 0 || ::fcntl(file.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
            Fail(errno);
        // Written over from the start and cut to length after, so the disk
        // space of the old text is reused rather than freed first.
        off_t total = 0;
        for (std::string_view piece : m_pieces)
            total += static_cast<off_t>(piece.size());
        if (const int written = WriteAll(file.Get()))
            Fail(written);
        if (::ftruncate(file.Get(), total) != 0 || ::fsync(file.Get()) != 0 || file.Close() != 0)
            Fail(errno);
    }

    const std::string &m_given;
    std::span<const std::string_view> m_pieces;
    const bool m_inPlace;
};

} // namespace

void WriteFileAtomically(const std::string &path, std::span<const std::string_view> pieces, InPlace inPlace)
{
    Saver(path, pieces, inPlace).Run();
}
