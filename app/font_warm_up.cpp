// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "font_warm_up.h"

#include <dlfcn.h>

#include <system_error>

namespace {

using FcInitFunction = int (*)();

// Looked up in what is already loaded (Qt's GUI library brings fontconfig
// with it), so the game neither links nor loads anything for this.
FcInitFunction LoadedFcInit()
{
    return reinterpret_cast<FcInitFunction>(dlsym(RTLD_DEFAULT, "FcInit"));
}

} // namespace

FontConfigWarmUp::FontConfigWarmUp()
{
    const FcInitFunction init = LoadedFcInit();
    if (!init)
        return;
    try {
        m_thread = std::thread([init] { init(); });
        m_started = true;
    } catch (const std::system_error &) {
        // No thread to be had: Qt reads the configuration itself, as always.
    }
}

FontConfigWarmUp::~FontConfigWarmUp()
{
    Wait();
}

void FontConfigWarmUp::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}
