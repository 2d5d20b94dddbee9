// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

// libxml2's set-up and clean-up. The set-up waits for the first save (most
// games are never saved, and start-up should not pay for it); the clean-up
// runs when the application's one XmlRuntime, kept in main around everything
// that touches XML, ends, if anything was set up by then.
class XmlRuntime {
public:
    XmlRuntime() = default;
    ~XmlRuntime();
    XmlRuntime(const XmlRuntime &) = delete;
    XmlRuntime &operator=(const XmlRuntime &) = delete;

    // Sets libxml2 up, once; every user of the parser calls it first.
    static void Start();
    static bool Started();
};
