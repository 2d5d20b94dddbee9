// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lazy_library.h"

// What the tests' lazy libraries offer.
class ProbeService {
public:
    virtual int Twice(int n) const = 0;
    // How many times the library was loaded into this process.
    virtual int Loads() const = 0;

protected:
    ~ProbeService() = default;
};
SOSUDNIK_LAZY_NAME(ProbeService, "probe");

// The same, asked of libraries that must be refused.
class StaleService : public ProbeService {};
SOSUDNIK_LAZY_NAME(StaleService, "stale");
class NamelessService : public ProbeService {};
SOSUDNIK_LAZY_NAME(NamelessService, "nameless");
class MissingService : public ProbeService {};
SOSUDNIK_LAZY_NAME(MissingService, "missing");
