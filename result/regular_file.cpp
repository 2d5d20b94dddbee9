// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "regular_file.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Missing(int error)
{
    return error == ENOENT || error == ENOTDIR;
}

} // namespace

RegularFile::RegularFile(const std::string &path, std::uint64_t maxBytes)
    : m_maxBytes(maxBytes)
{
    Open(path);
}

void RegularFile::Open(const std::string &path)
{
    // Looked at first: opening a device can act (a tape rewinds), and a
    // FIFO with no writer would block a plain open for ever.
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0)
        return Refuse(Missing(errno) ? Refusal::Missing : Refusal::System, errno);
    if (S_ISDIR(before.st_mode))
        return Refuse(Refusal::Folder);
    if (!S_ISREG(before.st_mode))
        return Refuse(Refusal::NotRegular);
    // Not blocking either, should something else have taken the name since.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return Refuse(Missing(errno) ? Refusal::Missing : Refusal::System, errno);
    m_fd = fd;
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return Refuse(Refusal::System, errno);
    if (S_ISDIR(now.st_mode))
        return Refuse(Refusal::Folder);
    if (!S_ISREG(now.st_mode))
        return Refuse(Refusal::NotRegular);
    m_size = static_cast<std::uint64_t>(now.st_size);
    if (m_size > m_maxBytes)
        Refuse(Refusal::TooLarge);
}

RegularFile::~RegularFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void RegularFile::Refuse(Refusal refusal, int error)
{
    m_refusal = refusal;
    m_error = error;
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool RegularFile::ReadAll(std::string &bytes)
{
    bytes.clear();
    if (m_fd < 0) {
        m_error = EBADF;
        return false;
    }
    // One byte more than the limit shows a file that grew past it.
    bytes.resize(static_cast<std::size_t>(m_size < m_maxBytes ? m_size + 1 : m_maxBytes + 1));
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > m_maxBytes) {
                m_error = EFBIG;
                return false;
            }
            bytes.resize(got * 2 < m_maxBytes + 1 ? got * 2 + 1 : static_cast<std::size_t>(m_maxBytes + 1));
        }
        const ssize_t n = ::read(m_fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            m_error = errno;
            return false;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return true;
}
