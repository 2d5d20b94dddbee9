// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Opening lazy libraries: not before their first use, once for any number of
// threads, and a library that is missing or not of this build refused with a
// sentence the player can read. Each test runs in a process of its own.
#include "probe_service.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <latch>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace {

bool InProcess(const std::string &file)
{
    const std::string path = std::string(std::getenv("SOSUDNIK_LAZY_DIR")) + "/" + file;
    void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle); // drops only the reference NOLOAD took
    return handle != nullptr;
}

TEST(LazyLibrary, IsLoadedByItsFirstUseAndNotBefore)
{
    ASSERT_NE(std::getenv("SOSUDNIK_LAZY_DIR"), nullptr);
    EXPECT_EQ(LazyIfLoaded<ProbeService>(), nullptr);
    EXPECT_FALSE(InProcess("libsosudnik_probe.so"));

    const ProbeService &probe = Lazy<ProbeService>();
    EXPECT_EQ(probe.Twice(21), 42);
    EXPECT_TRUE(InProcess("libsosudnik_probe.so"));
    EXPECT_EQ(&Lazy<ProbeService>(), &probe);
    EXPECT_EQ(LazyIfLoaded<ProbeService>(), &probe);
    EXPECT_EQ(probe.Loads(), 1);
}

TEST(LazyLibrary, ThreadsThatAskAtOnceShareOneLoad)
{
    constexpr int kThreads = 8;
    std::latch start(kThreads);
    std::vector<const ProbeService *> got(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            start.arrive_and_wait();
            got[static_cast<std::size_t>(i)] = &Lazy<ProbeService>();
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    for (const ProbeService *probe : got)
        EXPECT_EQ(probe, got.front());
    EXPECT_EQ(got.front()->Loads(), 1);
}

struct Refusal {
    const char *Name;
    const char *File;
    const char *Why; // a part of the reason given
};

void PrintTo(const Refusal &refusal, std::ostream *out)
{
    *out << refusal.Name;
}

class LazyLibraryRefusal : public testing::TestWithParam<Refusal> {};

template <class Service>
std::string RefusalOf()
{
    try {
        Lazy<Service>();
    } catch (const LazyLibraryMissing &missing) {
        EXPECT_EQ(LazyIfLoaded<Service>(), nullptr);
        return missing.what();
    }
    ADD_FAILURE() << "opened";
    return {};
}

std::string RefusalOf(const std::string &name)
{
    if (name == "stale")
        return RefusalOf<StaleService>();
    if (name == "nameless")
        return RefusalOf<NamelessService>();
    return RefusalOf<MissingService>();
}

TEST_P(LazyLibraryRefusal, SaysWhichPartAndWhyEveryTime)
{
    const Refusal &refusal = GetParam();
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::string message = RefusalOf(refusal.Name);
        EXPECT_NE(message.find(std::string("Часть игры «") + refusal.File + "» не загружается: "), std::string::npos)
            << message;
        EXPECT_NE(message.find(refusal.Why), std::string::npos) << message;
        EXPECT_NE(message.find("Переустановите игру"), std::string::npos) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(Libraries, LazyLibraryRefusal,
                         testing::Values(Refusal{"missing", "libsosudnik_missing.so", "cannot open shared object"},
                                         Refusal{"stale", "libsosudnik_stale.so", "она не от этой сборки игры"},
                                         Refusal{"nameless", "libsosudnik_nameless.so", "она не от этой сборки игры"}),
                         [](const testing::TestParamInfo<Refusal> &info) { return std::string(info.param.Name); });

// The folder comes from the environment: whatever it holds is shown escaped.
TEST(LazyLibrary, FolderNameIsEscapedInTheReason)
{
    ASSERT_EQ(setenv("SOSUDNIK_LAZY_DIR", "/no such folder\x1b]0;owned\x07", 1), 0);
    const std::string message = RefusalOf<ProbeService>();
    EXPECT_NE(message.find("/no such folder\\x1B]0;owned\\x07/libsosudnik_probe.so"), std::string::npos) << message;
    EXPECT_EQ(message.find('\x1b'), std::string::npos);
}

} // namespace
