// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

// Code over a library that the first frame does not need lives in a lazy
// library: a shared module of the game's own, opened by its first use. A
// library the program is linked with is loaded, relocated and constructed at
// every start, used or not; one that only a lazy library needs waits with it.
//
// The interface, in a header that both sides include: pure virtual functions
// of plain data, and its library's name.
//     class SheetWriter {
//     public:
//         virtual std::string Write(const Sheet &sheet, const std::string &path) const = 0;
//     protected:
//         ~SheetWriter() = default;
//     };
//     SOSUDNIK_LAZY_NAME(SheetWriter, "xlsx");
// The library, built by sosudnik_add_lazy_library(xlsx ...), in one source:
//     SOSUDNIK_LAZY_EXPORT(SheetWriter, XlsxSheetWriter);
// The game:
//     Lazy<SheetWriter>().Write(sheet, path); // opens libsosudnik_xlsx.so the first time
// which throws LazyLibraryMissing, a Russian sentence, when it cannot.
//
// The libraries are looked for in one folder: $SOSUDNIK_LAZY_DIR when set
// (the tests' builds), else the one the build put beside the executable
// (lib/sosudnik/ from the game's bin/, in the build tree as installed).

#include <cstring>
#include <stdexcept>
#include <string>

class LazyLibraryMissing : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

template <class Interface>
struct LazyName; // given by SOSUDNIK_LAZY_NAME

#define SOSUDNIK_LAZY_NAME(Interface, name)                                                                           \
    template <>                                                                                                        \
    struct LazyName<Interface> {                                                                                       \
        static constexpr const char *Value = name;                                                                     \
    }

namespace lazy_detail {

// The build a library must come from: the game's own version.
inline constexpr const char *kBuild = SOSUDNIK_LAZY_BUILD;

// Opens libsosudnik_<name>.so once, for any thread, and returns the object it
// offers; throws LazyLibraryMissing.
const void *Open(const char *name);
// That object when the library is open already; never opens it.
const void *IfOpen(const char *name);

inline bool Same(const char *a, const char *b)
{
    return a && b && std::strcmp(a, b) == 0;
}

} // namespace lazy_detail

template <class Interface>
const Interface &Lazy()
{
    return *static_cast<const Interface *>(lazy_detail::Open(LazyName<Interface>::Value));
}

template <class Interface>
const Interface *LazyIfLoaded()
{
    return static_cast<const Interface *>(lazy_detail::IfOpen(LazyName<Interface>::Value));
}

// The one function the game looks up in a lazy library: its object, made on
// first call, when the game asks for this library of this build.
#define SOSUDNIK_LAZY_EXPORT(Interface, Implementation)                                                               \
    extern "C" __attribute__((visibility("default"))) const void *sosudnik_lazy_object(const char *name,            \
                                                                                      const char *build)             \
    {                                                                                                                  \
        if (!lazy_detail::Same(name, LazyName<Interface>::Value) || !lazy_detail::Same(build, lazy_detail::kBuild))    \
            return nullptr;                                                                                            \
        static const Implementation object;                                                                            \
        const Interface &offered = object;                                                                             \
        return &offered;                                                                                               \
    }
