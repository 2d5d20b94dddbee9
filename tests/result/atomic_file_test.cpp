// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// What the save does with what it finds under the file's name: links of the
// player's own and of others, devices, FIFOs and sockets, folders the player
// cannot write, read-only and full disks.
#include "atomic_file.h"
#include "dispatch_guard.h"
#include "move_log.h"
#include "recorder.h"
#include "result_writer.h"
#include "save_failure.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <string_view>

namespace fs = std::filesystem;

namespace {

constexpr uid_t kOther = 4242; // someone else sharing the folder
constexpr std::string_view kNewText = "<new/>\n";
const std::string_view kPieces[] = {"<new", "/>\n"};

std::string ReadFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path &path, const std::string &text, mode_t mode)
{
    std::ofstream(path, std::ios::binary) << text;
    chmod(path.c_str(), mode);
}

std::string Octal(mode_t mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "%o", static_cast<unsigned>(mode & 07777));
    return text;
}

// An entry as it stands, never followed nor opened: opening a FIFO blocks.
std::string Describe(const fs::path &path)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0)
        return "none";
    const std::string owner = std::to_string(st.st_uid) + ' ' + Octal(st.st_mode);
    switch (st.st_mode & S_IFMT) {
    case S_IFREG:
        return "file " + owner + ' ' + ReadFile(path);
    case S_IFLNK:
        return "link " + std::to_string(st.st_uid) + " -> " + fs::read_symlink(path).string();
    case S_IFDIR:
        return "dir " + owner;
    case S_IFIFO:
        return "fifo";
    case S_IFCHR:
        return "chr " + std::to_string(major(st.st_rdev)) + ':' + std::to_string(minor(st.st_rdev));
    case S_IFSOCK:
        return "socket";
    default:
        return "other";
    }
}

std::map<std::string, std::string> Scene(const fs::path &dir)
{
    std::map<std::string, std::string> entries;
    for (const auto &e : fs::recursive_directory_iterator(dir))
        entries[e.path().lexically_relative(dir).string()] = Describe(e.path());
    return entries;
}

// 0 when saved, else the cause.
int SaveHere(InPlace inPlace = InPlace::WhenRefused)
{
    try {
        WriteFileAtomically("sosudnik.xml", kPieces, inPlace);
        return 0;
    } catch (const SaveFailure &failure) {
        return failure.Cause();
    }
}

void Check(bool ok, const char *what)
{
    if (!ok)
        throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

void Link(const fs::path &link, const char *target, uid_t owner)
{
    Check(symlink(target, link.c_str()) == 0, "symlink");
    Check(lchown(link.c_str(), owner, owner) == 0, "lchown");
}

void Socket(const fs::path &path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    Check(fd >= 0, "socket");
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const bool bound = bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    close(fd);
    Check(bound, "bind");
}

void NullDevice(const fs::path &path)
{
    Check(mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0, "mknod");
}

// A folder tree of its own, removed again afterwards: home/shared, sticky and
// writable by everyone like a class's shared folder, is the current folder;
// home/elsewhere holds what links point to.
class FolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string dir = (fs::temp_directory_path() / "sosudnik-scene-XXXXXX").string();
        ASSERT_NE(mkdtemp(dir.data()), nullptr);
        home = dir;
        shared = home / "shared";
        elsewhere = home / "elsewhere";
        chmod(home.c_str(), 0755);
        fs::create_directory(shared);
        fs::create_directory(elsewhere);
        chmod(shared.c_str(), 01777);
        m_mask = umask(022);
        fs::current_path(shared);
    }

    void TearDown() override
    {
        if (home.empty())
            return; // skipped before it was made
        umask(m_mask);
        fs::current_path(m_back);
        std::error_code ignored;
        fs::permissions(shared, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(home, ignored);
    }

    fs::path home;
    fs::path shared;
    fs::path elsewhere;

private:
    fs::path m_back = fs::current_path();
    mode_t m_mask = 022;
};

struct LinkCase {
    const char *Name;
    std::function<void(const fs::path &home)> Set;
    int Cause; // 0: saved
    const char *Saved; // where the text lands when saved, under home
    const char *Became; // and what that is then
};

void PrintTo(const LinkCase &c, std::ostream *out)
{
    *out << c.Name;
}

void Secret(const fs::path &home)
{
    WriteFile(home / "elsewhere/secret", "root's own", 0600);
}

class LinkTest : public FolderTest, public testing::WithParamInterface<LinkCase> {
protected:
    void SetUp() override
    {
        // Links of another user and device nodes need root to be made.
        if (geteuid() != 0)
            GTEST_SKIP() << "needs root to make another user's links and device nodes";
        FolderTest::SetUp();
    }
};

TEST_P(LinkTest, FollowsOnlyWhereTheKernelWouldAndReplacesOnlyFiles)
{
    const LinkCase &c = GetParam();
    c.Set(home);
    auto before = Scene(home);

    EXPECT_EQ(SaveHere(), c.Cause);

    auto after = Scene(home);
    if (c.Cause != 0) {
        EXPECT_EQ(after, before);
        return;
    }
    // The file reached took the text and kept its permissions; every link on
    // the way is still there, and nothing else changed.
    EXPECT_EQ(after[c.Saved], c.Became);
    after.erase(c.Saved);
    before.erase(c.Saved);
    EXPECT_EQ(after, before);
}

const LinkCase kLinks[] = {
    {"ForeignLinkToRootsFile",
        [](const fs::path &home) {
            Secret(home);
            Link(home / "shared/sosudnik.xml", "../elsewhere/secret", kOther);
        },
        kCauseForeignLink, nullptr, nullptr},
    {"ForeignLinkToNothingYet",
        [](const fs::path &home) { Link(home / "shared/sosudnik.xml", "../elsewhere/planted", kOther); },
        kCauseForeignLink, nullptr, nullptr},
    {"ChainThroughForeignLink",
        [](const fs::path &home) {
            Secret(home);
            Link(home / "shared/sosudnik.xml", "hop", 0);
            Link(home / "shared/hop", "../elsewhere/secret", kOther);
        },
        kCauseForeignLink, nullptr, nullptr},
    {"ForeignLinkToDevice",
        [](const fs::path &home) {
            NullDevice(home / "elsewhere/null");
            Link(home / "shared/sosudnik.xml", "../elsewhere/null", kOther);
        },
        kCauseForeignLink, nullptr, nullptr},
    {"OwnLinkToDevice",
        [](const fs::path &home) {
            NullDevice(home / "elsewhere/null");
            Link(home / "shared/sosudnik.xml", "../elsewhere/null", 0);
        },
        kCauseNotRegularFile, nullptr, nullptr},
    {"OwnLinkToFifo",
        [](const fs::path &home) {
            Check(mkfifo((home / "elsewhere/pipe").c_str(), 0666) == 0, "mkfifo");
            Link(home / "shared/sosudnik.xml", "../elsewhere/pipe", 0);
        },
        kCauseNotRegularFile, nullptr, nullptr},
    {"Fifo", [](const fs::path &home) { Check(mkfifo((home / "shared/sosudnik.xml").c_str(), 0666) == 0, "mkfifo"); },
        kCauseNotRegularFile, nullptr, nullptr},
    {"Socket", [](const fs::path &home) { Socket(home / "shared/sosudnik.xml"); }, kCauseNotRegularFile, nullptr, nullptr},
    {"Device", [](const fs::path &home) { NullDevice(home / "shared/sosudnik.xml"); }, kCauseNotRegularFile,
        nullptr, nullptr},
    {"OwnLinkToFolder", [](const fs::path &home) { Link(home / "shared/sosudnik.xml", "../elsewhere", 0); }, EISDIR,
        nullptr, nullptr},
    {"LinkLoop",
        [](const fs::path &home) {
            Link(home / "shared/sosudnik.xml", "loop", 0);
            Link(home / "shared/loop", "sosudnik.xml", 0);
        },
        ELOOP, nullptr, nullptr},
    // Links the kernel's rule lets through.
    {"OwnLinkInSharedFolder",
        [](const fs::path &home) {
            Secret(home);
            Link(home / "shared/sosudnik.xml", "../elsewhere/secret", 0);
        },
        0, "elsewhere/secret", "file 0 600 <new/>\n"},
    {"ChainOfOwnLinks",
        [](const fs::path &home) {
            Secret(home);
            Link(home / "shared/sosudnik.xml", "hop", 0);
            Link(home / "shared/hop", (home / "elsewhere/hop").c_str(), 0);
            Link(home / "elsewhere/hop", "secret", kOther); // elsewhere is no shared folder
        },
        0, "elsewhere/secret", "file 0 600 <new/>\n"},
    {"OwnLinkToNothingYet", [](const fs::path &home) { Link(home / "shared/sosudnik.xml", "../elsewhere/new", 0); },
        0, "elsewhere/new", "file 0 644 <new/>\n"},
    {"ForeignLinkInItsOwnersFolder",
        [](const fs::path &home) {
            Secret(home);
            Check(chown((home / "shared").c_str(), kOther, kOther) == 0, "chown");
            Link(home / "shared/sosudnik.xml", "../elsewhere/secret", kOther);
        },
        0, "elsewhere/secret", "file 0 600 <new/>\n"},
    {"ForeignLinkInFolderNotSticky",
        [](const fs::path &home) {
            Secret(home);
            chmod((home / "shared").c_str(), 0777);
            Link(home / "shared/sosudnik.xml", "../elsewhere/secret", kOther);
        },
        0, "elsewhere/secret", "file 0 600 <new/>\n"},
    {"ForeignLinkInStickyFolderOthersCannotWrite",
        [](const fs::path &home) {
            Secret(home);
            chmod((home / "shared").c_str(), 01775);
            Link(home / "shared/sosudnik.xml", "../elsewhere/secret", kOther);
        },
        0, "elsewhere/secret", "file 0 600 <new/>\n"},
};

INSTANTIATE_TEST_SUITE_P(Links, LinkTest, testing::ValuesIn(kLinks),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(FolderTest, RefusedLinkIsReportedAndNotConfirmed)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to make another user's link";
    Secret(home);
    Link(shared / "sosudnik.xml", "../elsewhere/secret", kOther);
    MoveLog log;
    log.Append({"0", {"12", "0", "0"}});
    Recorder boxes;
    ResultWriter xmldoc;
    DispatchGuard(boxes).Run([&] { WriteResult(xmldoc, log, boxes); });

    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Icon, kIconError);
    EXPECT_EQ(boxes.Boxes[0].Text,
        "Файл \"sosudnik.xml\" не записан: это ссылка другого пользователя в общей папке.");
    EXPECT_EQ(ReadFile(elsewhere / "secret"), "root's own");
}

// Runs body in a child process and returns what it reports; the child may
// drop its privileges or change its mounts without touching this process.
std::string InChild(const std::function<std::string()> &body)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return "pipe failed";
    const pid_t child = fork();
    if (child < 0)
        return "fork failed";
    if (child == 0) {
        close(pipeFds[0]);
        std::string report;
        try {
            report = body();
        } catch (const std::exception &e) {
            report = std::string("child: ") + e.what();
        }
        for (std::size_t done = 0; done < report.size();) {
            const ssize_t n = write(pipeFds[1], report.data() + done, report.size() - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        _exit(0);
    }
    close(pipeFds[1]);
    std::string report;
    char buffer[256];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return report;
}

void DropRoot()
{
    Check(setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0, "setuid");
}

struct InPlaceCase {
    const char *Name;
    mode_t FolderMode;
    std::string OldText;
    bool InPlace; // the same file, written over; else a new one renamed over it
};

void PrintTo(const InPlaceCase &c, std::ostream *out)
{
    *out << c.Name;
}

class InPlaceSaveTest : public FolderTest, public testing::WithParamInterface<InPlaceCase> {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "needs root to save as another user into root's folder";
        FolderTest::SetUp();
    }
};

// sosudnik.xml is root's and writable by everyone; the player, nobody, saves.
TEST_P(InPlaceSaveTest, WritesTheFileItselfOnlyWhenItCannotBeReplaced)
{
    const InPlaceCase &c = GetParam();
    WriteFile(shared / "sosudnik.xml", c.OldText, 0666);
    chmod(shared.c_str(), c.FolderMode);
    struct stat old {};
    ASSERT_EQ(stat((shared / "sosudnik.xml").c_str(), &old), 0);

    EXPECT_EQ(InChild([] {
        DropRoot();
        return std::to_string(SaveHere());
    }),
        "0");

    struct stat now {};
    ASSERT_EQ(stat((shared / "sosudnik.xml").c_str(), &now), 0);
    EXPECT_EQ(now.st_ino == old.st_ino, c.InPlace);
    EXPECT_EQ(Octal(now.st_mode), "666");
    EXPECT_EQ(Scene(shared), (std::map<std::string, std::string> {{"sosudnik.xml",
                                 "file " + std::to_string(now.st_uid) + " 666 " + std::string(kNewText)}}));
}

const InPlaceCase kInPlace[] = {
    {"ReadOnlyFolder", 0555, "<old/>\n", true},
    {"ReadOnlyFolderLongerOldFile", 0555, std::string(10000, 'x'), true},
    // The player may add files, but not replace root's.
    {"StickyFolderOthersFile", 01777, "<old/>\n", true},
    {"WritableFolder", 0777, "<old/>\n", false},
};

INSTANTIATE_TEST_SUITE_P(Folders, InPlaceSaveTest, testing::ValuesIn(kInPlace),
    [](const auto &info) { return std::string(info.param.Name); });

// A file the user names for output is replaced only by the rename: where the
// folder refuses the temporary file, nothing is written and the file stays.
TEST_P(InPlaceSaveTest, RefusedInPlaceKeepsTheFileWhereTheRenameCannotReplaceIt)
{
    const InPlaceCase &c = GetParam();
    WriteFile(shared / "sosudnik.xml", c.OldText, 0666);
    chmod(shared.c_str(), c.FolderMode);
    struct stat old {};
    ASSERT_EQ(stat((shared / "sosudnik.xml").c_str(), &old), 0);

    EXPECT_EQ(InChild([] {
        DropRoot();
        return std::to_string(SaveHere(InPlace::Never));
    }),
        // The folder refuses the new file; the sticky folder, the rename over root's.
        std::to_string(!c.InPlace ? 0 : (c.FolderMode & S_ISVTX) != 0 ? EPERM : EACCES));

    struct stat now {};
    ASSERT_EQ(stat((shared / "sosudnik.xml").c_str(), &now), 0);
    EXPECT_EQ(now.st_ino == old.st_ino, c.InPlace);
    EXPECT_EQ(ReadFile(shared / "sosudnik.xml"), c.InPlace ? c.OldText : std::string(kNewText));
    // No temporary file left behind either.
    EXPECT_EQ(Scene(shared).size(), 1u);
}

struct MountCase {
    const char *Name;
    const char *Options; // for the tmpfs mounted as the folder
    bool OldFile; // a first save is there before the failing one
    bool ReadOnly; // remounted read-only before the failing save
    std::size_t Size; // bytes the failing save writes
    int Cause;
};

void PrintTo(const MountCase &c, std::ostream *out)
{
    *out << c.Name;
}

class MountTest : public FolderTest, public testing::WithParamInterface<MountCase> {};

// The child mounts a small tmpfs of its own over the folder: a full or
// read-only disk without touching the machine's.
TEST_P(MountTest, ReportsTheDiskAndKeepsTheOldFile)
{
    const MountCase &c = GetParam();
    const std::string report = InChild([&]() -> std::string {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("skip: no mount namespace: ") + std::strerror(errno);
        if (mount("tmpfs", shared.c_str(), "tmpfs", 0, c.Options) != 0)
            return std::string("skip: cannot mount tmpfs: ") + std::strerror(errno);
        const std::string path = (shared / "sosudnik.xml").string();
        if (c.OldFile)
            WriteFileAtomically(path, kPieces);
        if (c.ReadOnly && mount(nullptr, shared.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            return std::string("skip: cannot remount read-only: ") + std::strerror(errno);
        const std::string big(c.Size, 'x');
        const std::string_view pieces[] = {big};
        std::string cause = "saved";
        try {
            WriteFileAtomically(path, pieces);
        } catch (const SaveFailure &failure) {
            cause = std::to_string(failure.Cause());
        }
        std::string entries;
        for (const auto &[name, what] : Scene(shared))
            entries += name + '=' + what + ';';
        return cause + '|' + entries;
    });
    if (report.starts_with("skip: "))
        GTEST_SKIP() << report;
    const std::string old = c.OldFile ? "sosudnik.xml=file 0 644 " + std::string(kNewText) + ';' : "";
    EXPECT_EQ(report, std::to_string(c.Cause) + '|' + old);
}

const MountCase kMounts[] = {
    {"ReadOnlyDiskOldFile", "size=64k", true, true, 10, EROFS},
    {"ReadOnlyDiskNoFile", "size=64k", false, true, 10, EROFS},
    {"FullDisk", "size=16k", true, false, 64 * 1024, ENOSPC},
};

INSTANTIATE_TEST_SUITE_P(Disks, MountTest, testing::ValuesIn(kMounts),
    [](const auto &info) { return std::string(info.param.Name); });

// From now on every fchmod of this process fails with error, as on a file
// system that refuses the mode; false when the kernel will not filter.
bool RefuseFchmod(int error)
{
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_fchmod, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (static_cast<unsigned>(error) & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

struct ModeCase {
    const char *Name;
    int Refusal; // what fchmod says
    int Cause; // 0: saved
};

void PrintTo(const ModeCase &c, std::ostream *out)
{
    *out << c.Name;
}

class ModeTest : public FolderTest, public testing::WithParamInterface<ModeCase> {};

// A private file stays private: when the new file cannot take the old one's
// permissions it never replaces it, and nothing is left beside it.
TEST_P(ModeTest, APrivateFileKeepsItsPermissions)
{
    const ModeCase &c = GetParam();
    WriteFile(shared / "sosudnik.xml", "<old/>\n", 0600);
    chmod(shared.c_str(), 0755);
    struct stat old {};
    ASSERT_EQ(stat((shared / "sosudnik.xml").c_str(), &old), 0);
    const std::string report = InChild([&]() -> std::string {
        if (!RefuseFchmod(c.Refusal))
            return std::string("skip: no seccomp filter: ") + std::strerror(errno);
        return std::to_string(SaveHere());
    });
    if (report.starts_with("skip: "))
        GTEST_SKIP() << report;
    EXPECT_EQ(report, std::to_string(c.Cause));
    struct stat now {};
    ASSERT_EQ(stat((shared / "sosudnik.xml").c_str(), &now), 0);
    EXPECT_EQ(now.st_ino, old.st_ino);
    const std::string text = c.Cause == 0 ? std::string(kNewText) : "<old/>\n";
    EXPECT_EQ(Scene(shared), (std::map<std::string, std::string>{
                                 {"sosudnik.xml", "file " + std::to_string(now.st_uid) + " 600 " + text}}));
}

const ModeCase kModes[] = {
    // The file itself takes the new text, as where the folder refuses a new file.
    {"ModeRefused", EPERM, 0},
    {"ModeDenied", EACCES, 0},
    {"ModeFailed", EIO, EIO},
};

INSTANTIATE_TEST_SUITE_P(Modes, ModeTest, testing::ValuesIn(kModes),
    [](const auto &info) { return std::string(info.param.Name); });

} // namespace
