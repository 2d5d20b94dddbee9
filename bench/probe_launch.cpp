// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Starts a program with the frame probe preloaded and the clock read just
// before exec, so the probe's figure runs from exec to the first whole frame;
// the processor time used so far is noted too, so that the probe counts the
// program's alone.
// Usage: probe_launch PROBE.so OUT WxH PROGRAM [ARGS...]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

int main(int argc, char **argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: probe_launch PROBE.so OUT WxH PROGRAM [ARGS...]\n");
        return 2;
    }
    setenv("LD_PRELOAD", argv[1], 1);
    setenv("SOSUDNIK_PROBE_OUT", argv[2], 1);
    setenv("SOSUDNIK_PROBE_SIZE", argv[3], 1);
    const auto reading = [](clockid_t clock) {
        timespec t{};
        clock_gettime(clock, &t);
        return std::to_string(static_cast<long long>(t.tv_sec) * 1'000'000'000LL + t.tv_nsec);
    };
    setenv("SOSUDNIK_PROBE_CPU0", reading(CLOCK_PROCESS_CPUTIME_ID).c_str(), 1);
    setenv("SOSUDNIK_PROBE_T0", reading(CLOCK_MONOTONIC).c_str(), 1);
    execv(argv[4], argv + 4);
    std::perror(argv[4]);
    return 127;
}
