// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

// A file that must be a plain file on disk, opened for reading without
// blocking and without side effects: a FIFO, a device, a socket or a folder
// is refused by what stat says before anything is opened (and again by what
// fstat says after, should the entry have been swapped meanwhile). Links are
// followed.
class RegularFile {
public:
    enum class Refusal {
        None, // open
        Missing, // no such file, or its folder is missing or is a file
        Folder,
        NotRegular, // a FIFO, a device or a socket
        TooLarge, // Size() tells how large
        System, // Error() tells which
    };

    // Opens path when it is a regular file of at most maxBytes.
    RegularFile(const std::string &path, std::uint64_t maxBytes);
    ~RegularFile();
    RegularFile(const RegularFile &) = delete;
    RegularFile &operator=(const RegularFile &) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }
    Refusal Refused() const { return m_refusal; }
    // The errno behind Missing and System.
    int Error() const { return m_error; }
    std::uint64_t Size() const { return m_size; }

    // Reads the open file to its end into bytes. False when the read fails
    // (Error() then tells why; EFBIG when it grew past maxBytes meanwhile).
    bool ReadAll(std::string &bytes);

private:
    void Open(const std::string &path);
    void Refuse(Refusal refusal, int error = 0);

    int m_fd = -1;
    std::uint64_t m_maxBytes;
    std::uint64_t m_size = 0;
    Refusal m_refusal = Refusal::None;
    int m_error = 0;
};
