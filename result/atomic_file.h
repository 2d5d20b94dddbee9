// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string>
#include <string_view>

// Replaces the file at path (relative: in the current directory) with the
// pieces, one after another, or leaves it as it was: they go to a temporary
// file beside it, which is renamed over the old one only once complete.
//
// Links are followed only where the kernel's protected-symlinks rule would
// follow them: never another user's link in a folder that is sticky and
// world-writable, unless the folder is that user's. The file reached must be a
// regular file (or nothing yet); a device, FIFO or socket is never replaced.
//
// Where the folder cannot take the temporary file but the file itself is
// writable (a shared folder the player may not write), or the temporary file
// cannot take the old one's permissions, the file is written in place
// instead; a failure midway then leaves it cut short.
//
// The scores file keeps to Qt's QSaveFile: it lives in the player's own
// configuration folder, and its failures are let go rather than explained.
//
// Throws SaveFailure naming the system's cause. Writes past the file-size
// limit fail with EFBIG only while SIGXFSZ is ignored (main does so).
enum class InPlace {
    WhenRefused, // as above: a result file the player asked for is written somehow
    Never, // the game's own files: the old text stays whole rather than half-written
};
void WriteFileAtomically(const std::string &path, std::span<const std::string_view> pieces,
                         InPlace inPlace = InPlace::WhenRefused);
