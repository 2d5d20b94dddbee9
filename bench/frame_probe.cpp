// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Loaded with LD_PRELOAD by bench/startup.sh: notes the moment the first frame
// that covers the whole window goes out to the X server, and writes the time
// since exec in milliseconds to the file $SOSUDNIK_PROBE_OUT, and beside it
// the processor time the program had used by then. The program under test
// runs unchanged; the probe only looks at what it hands to xcb.
//
//   SOSUDNIK_PROBE_T0    CLOCK_MONOTONIC in nanoseconds, taken just before exec
//   SOSUDNIK_PROBE_CPU0  the process's CPU time in nanoseconds at that moment
//                        (the launcher's own share, left out of the figure)
//   SOSUDNIK_PROBE_SIZE  the window's size as WxH: a frame is whole when one
//                        image, or a run of images as wide as the window, covers it
//   SOSUDNIK_PROBE_OUT   where the figure goes (a file or a FIFO)
//   SOSUDNIK_PROBE_TRACE when set, every image is told on stderr
//   SOSUDNIK_PROBE_EXIT  when set, the program ends right after that frame
//                        (for profiling start-up alone, e.g. under callgrind)
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

struct Cookie {
    unsigned int Sequence;
};

using ShmPutImage = Cookie (*)(void *, std::uint32_t, std::uint32_t, std::uint16_t, std::uint16_t, std::uint16_t,
                               std::uint16_t, std::uint16_t, std::uint16_t, std::int16_t, std::int16_t, std::uint8_t,
                               std::uint8_t, std::uint8_t, std::uint32_t, std::uint32_t);
using PutImage = Cookie (*)(void *, std::uint8_t, std::uint32_t, std::uint32_t, std::uint16_t, std::uint16_t,
                            std::int16_t, std::int16_t, std::uint8_t, std::uint8_t, std::uint32_t, const std::uint8_t *);
using Flush = int (*)(void *);

// Qt loads its xcb plugin, and with it libxcb, with dlopen: the real
// functions are not in the global scope that RTLD_NEXT searches.
template <class F>
F Next(const char *library, const char *name)
{
    void *handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
    if (!handle)
        handle = dlopen(library, RTLD_LAZY);
    void *f = handle ? dlsym(handle, name) : nullptr;
    if (!f) {
        std::fprintf(stderr, "frame_probe: no %s in %s\n", name, library);
        std::abort();
    }
    return reinterpret_cast<F>(f);
}

std::int64_t Now(clockid_t clock = CLOCK_MONOTONIC)
{
    timespec t{};
    clock_gettime(clock, &t);
    return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

// Milliseconds since exec, on the wall clock or of processor time.
double Since(clockid_t clock = CLOCK_MONOTONIC)
{
    const char *start = std::getenv(clock == CLOCK_MONOTONIC ? "SOSUDNIK_PROBE_T0" : "SOSUDNIK_PROBE_CPU0");
    return start ? double(Now(clock) - std::strtoll(start, nullptr, 10)) / 1e6 : 0.0;
}

struct Probe {
    int Width = 0;
    int Height = 0;
    std::int64_t Area = 0; // of images as wide as the window since start
    bool Queued = false;   // a whole frame is in xcb's buffer
    bool Done = false;

    Probe()
    {
        if (const char *size = std::getenv("SOSUDNIK_PROBE_SIZE"))
            std::sscanf(size, "%dx%d", &Width, &Height);
        if (Width <= 0 || Height <= 0 || !std::getenv("SOSUDNIK_PROBE_OUT") || !std::getenv("SOSUDNIK_PROBE_T0"))
            Done = true; // nothing asked for
    }

    void Image(int width, int height)
    {
        if (std::getenv("SOSUDNIK_PROBE_TRACE"))
            std::fprintf(stderr, "frame_probe: %dx%d image at %.2f ms\n", width, height, Since());
        if (Done || width < Width)
            return;
        Area += std::int64_t{width} * height;
        if (height >= Height || Area >= std::int64_t{Width} * Height)
            Queued = true;
    }

    // The frame reaches the server when xcb's buffer is flushed.
    void Sent()
    {
        if (Done || !Queued)
            return;
        const double ms = Since();
        const double cpu = Since(CLOCK_PROCESS_CPUTIME_ID);
        Done = true;
        char line[64];
        const int n = std::snprintf(line, sizeof line, "%.2f %.2f\n", ms, cpu);
        const int fd = open(std::getenv("SOSUDNIK_PROBE_OUT"), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd >= 0) {
            [[maybe_unused]] const ssize_t written = write(fd, line, static_cast<std::size_t>(n));
            close(fd);
        }
        if (std::getenv("SOSUDNIK_PROBE_EXIT"))
            _exit(0);
    }
};

Probe &TheProbe()
{
    static Probe probe;
    return probe;
}

} // namespace

extern "C" {

Cookie xcb_shm_put_image(void *c, std::uint32_t drawable, std::uint32_t gc, std::uint16_t totalWidth,
                         std::uint16_t totalHeight, std::uint16_t srcX, std::uint16_t srcY, std::uint16_t srcWidth,
                         std::uint16_t srcHeight, std::int16_t dstX, std::int16_t dstY, std::uint8_t depth,
                         std::uint8_t format, std::uint8_t sendEvent, std::uint32_t shmseg, std::uint32_t offset)
{
    static const auto next = Next<ShmPutImage>("libxcb-shm.so.0", "xcb_shm_put_image");
    TheProbe().Image(srcWidth, srcHeight);
    return next(c, drawable, gc, totalWidth, totalHeight, srcX, srcY, srcWidth, srcHeight, dstX, dstY, depth, format,
                sendEvent, shmseg, offset);
}

Cookie xcb_put_image(void *c, std::uint8_t format, std::uint32_t drawable, std::uint32_t gc, std::uint16_t width,
                     std::uint16_t height, std::int16_t dstX, std::int16_t dstY, std::uint8_t leftPad, std::uint8_t depth,
                     std::uint32_t dataLen, const std::uint8_t *data)
{
    static const auto next = Next<PutImage>("libxcb.so.1", "xcb_put_image");
    TheProbe().Image(width, height);
    return next(c, format, drawable, gc, width, height, dstX, dstY, leftPad, depth, dataLen, data);
}

int xcb_flush(void *c)
{
    static const auto next = Next<Flush>("libxcb.so.1", "xcb_flush");
    const int result = next(c);
    TheProbe().Sent();
    return result;
}

} // extern "C"
