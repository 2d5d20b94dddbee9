// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

// libxml2's set-up at start-up and clean-up at exit. The application keeps
// one in main, around everything that touches XML.
class XmlRuntime {
public:
    XmlRuntime();
    ~XmlRuntime();
    XmlRuntime(const XmlRuntime &) = delete;
    XmlRuntime &operator=(const XmlRuntime &) = delete;
};
