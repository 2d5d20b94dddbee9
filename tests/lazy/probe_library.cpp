// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// libsosudnik_probe.so, and built again as libsosudnik_stale.so, which an
// older build of the game would have left: its entry answers that build only.
#include "probe_service.h"

namespace {

int g_loads = 0;

// Made as the library is loaded, as a real library's constructors run.
struct LoadCounter {
    LoadCounter() { ++g_loads; }
} g_loadCounter;

class Probe final : public ProbeService {
public:
    int Twice(int n) const override { return 2 * n; }
    int Loads() const override { return g_loads; }
};

} // namespace

#ifndef STALE_BUILD
SOSUDNIK_LAZY_EXPORT(ProbeService, Probe)
#else
extern "C" __attribute__((visibility("default"))) const void *sosudnik_lazy_object(const char *name,
                                                                                  const char *build)
{
    static const Probe probe;
    const ProbeService &offered = probe;
    return lazy_detail::Same(name, "stale") && lazy_detail::Same(build, STALE_BUILD) ? &offered : nullptr;
}
#endif
