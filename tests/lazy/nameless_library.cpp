// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// libsosudnik_nameless.so: a shared module without the entry a lazy library has.
extern "C" __attribute__((visibility("default"))) int sosudnik_something_else()
{
    return 1;
}
