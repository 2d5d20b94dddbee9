// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Checking result files, as a teacher would: a class of files written by the
// game, checked by the real program in one process, named one by one and as
// their folder; an entity bomb; a file refused for its size; the largest
// file that is still read; and the slowest files that can be made up to the
// size limit, each built to make the parser work as hard as it can.
// Usage: bench_check [FILES] [RECORDS]   (default 2000 files of 100 records)
//        bench_check --worst                the slowest files alone
// Peak memory is measured in a fresh process each time: the real program,
// or this one run as bench_check --memory FILE.
#include "markup_guard.h"
#include "peak_memory.h"
#include "record_check.h"
#include "result_reader.h"
#include "result_writer.h"
#include "xml_runtime.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr TaskPreset kMilk = TaskPresets[0];
const char *const kMilkCode = "12,7,5/12,0,0/6";

double Median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// Median wall time of runs of work, in milliseconds.
double MedianMs(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto from = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count());
    }
    return Median(times);
}

// The game's own files: the milk task, pours back and forth between
// vessels 1 and 2, never reaching the target, so every row is checked.
void WriteClass(const fs::path &dir, int files, int records)
{
    MoveLog log;
    std::array<int, 3> levels = kMilk.Level;
    for (int r = 0; r < records; ++r) {
        log.Append({std::to_string(r), {std::to_string(levels[0]), std::to_string(levels[1]), std::to_string(levels[2])}});
        levels = r % 2 == 0 ? std::array<int, 3>{5, 7, 0} : std::array<int, 3>{12, 0, 0};
    }
    for (int f = 0; f < files; ++f) {
        ResultWriter writer;
        writer.Save(log, (dir / ("pupil" + std::to_string(f) + ".xml")).string());
    }
}

std::vector<std::string> ClassFiles(const fs::path &dir, int files)
{
    std::vector<std::string> paths;
    for (int f = 0; f < files; ++f)
        paths.push_back((dir / ("pupil" + std::to_string(f) + ".xml")).string());
    return paths;
}

struct Run {
    double Ms = 0;
    long PeakKib = 0;
    int Status = -1;
};

// The real program, its output thrown away: wall time, its exit status and
// its peak resident set (ru_maxrss; the child starts as a copy of this
// small process, far below the game's own size).
Run RunProgram(const std::vector<std::string> &arguments)
{
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(SOSUDNIK_EXE));
    for (const std::string &a : arguments)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    const auto from = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execv(SOSUDNIK_EXE, argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    Run run;
    run.Ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
    run.PeakKib = usage.ru_maxrss;
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

Run MedianRun(int runs, const std::vector<std::string> &arguments)
{
    std::vector<double> times;
    std::vector<double> peaks;
    Run last;
    for (int i = 0; i < runs; ++i) {
        last = RunProgram(arguments);
        times.push_back(last.Ms);
        peaks.push_back(static_cast<double>(last.PeakKib));
    }
    last.Ms = Median(times);
    last.PeakKib = static_cast<long>(Median(peaks));
    return last;
}

// In a fresh image of this program, so the high-water mark is the read's
// own: how much the resident set grows while the file is read and checked.
int MemoryChild(const char *path)
{
    const RecordChecker checker(kMilk);
    // The heap's and libxml2's set-up are not the file's.
    if (!ReadResultText("<ListStore><Columns/><Data/></ListStore>").Readable())
        return 1;
    const long before = PeakKib();
    const RecordCheck check = checker.CheckFile(path);
    const long after = PeakKib();
    std::printf("%ld %s\n", after - before, VerdictWord(check.Result));
    return 0;
}

// "+N KiB (verdict)"
std::string ReadMemory(const std::string &path)
{
    int ends[2];
    if (pipe(ends) != 0)
        return "?";
    const pid_t child = fork();
    if (child == 0) {
        dup2(ends[1], STDOUT_FILENO);
        close(ends[0]);
        execl("/proc/self/exe", "bench_check", "--memory", path.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    close(ends[1]);
    char buffer[128] = {};
    const ssize_t got = read(ends[0], buffer, sizeof buffer - 1);
    close(ends[0]);
    waitpid(child, nullptr, 0);
    std::string text(buffer, got > 0 ? static_cast<std::size_t>(got) : 0);
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    const std::size_t space = text.find(' ');
    if (space == std::string::npos)
        return "?";
    return "+" + text.substr(0, space) + " KiB (" + text.substr(space + 1) + ")";
}

// The classic billion laughs: ten levels of ten references, 10^9 "lol"s
// once expanded, in under a kilobyte.
std::string Bomb()
{
    std::string text = "<?xml version=\"1.0\"?>\n<!DOCTYPE ListStore [\n<!ENTITY lol0 \"lol\">\n";
    for (int level = 1; level <= 9; ++level) {
        text += "<!ENTITY lol" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i)
            text += "&lol" + std::to_string(level - 1) + ";";
        text += "\">\n";
    }
    return text + "]>\n<ListStore><Columns/><Data><Record Column0=\"&lol9;\" Column1=\"12\" Column2=\"0\" "
                  "Column3=\"0\"/></Data></ListStore>\n";
}

void Write(const fs::path &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Text repeated to fill the limit between a head and a tail.
std::string Filled(const std::string &head, const std::function<std::string(std::size_t)> &piece,
                   const std::string &tail)
{
    std::string text = head;
    for (std::size_t i = 0;; ++i) {
        const std::string next = piece(i);
        if (text.size() + next.size() + tail.size() > kMaxResultFileBytes)
            break;
        text += next;
    }
    return text + tail;
}

std::string Attributes(int n, const std::string &prefix = "a", std::size_t salt = 0)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += " " + prefix + std::to_string(salt) + "_" + std::to_string(i) + "=\"\"";
    return text;
}

// Elements 16 deep, each declaring 16 namespaces of its own: the most the
// guard lets through, and the most the parser has in scope.
std::string NamespaceNest(std::size_t i)
{
    std::string open;
    std::string close;
    for (int depth = 1; depth < kMaxDepth; ++depth) {
        std::string declarations;
        for (int n = 0; n < kMaxAttributes; ++n)
            declarations += " xmlns:p" + std::to_string(i % 1000) + "_" + std::to_string(depth) + "_"
                + std::to_string(n) + "=\"u\"";
        open += "<e" + declarations + ">";
        close = "</e>" + close;
    }
    return open + close;
}

std::string Utf16(const std::string &ascii)
{
    std::string out = "\xFF\xFE";
    for (const char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

// Files made up to make the reader work hardest, each within the size
// limit; the slowest one is the figure that counts.
void WorstFiles(const fs::path &dir, const RecordChecker &checker)
{
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ListStore><Columns/><Data>";
    const std::string tail = "</Data></ListStore>\n";
    const std::string record = "<Record Column0=\"0\" Column1=\"12\" Column2=\"0\" Column3=\"0\"";
    struct Worst {
        const char *Name;
        std::string Bytes;
    };
    std::vector<Worst> worst;
    worst.push_back({"every record with 16 attributes, the most allowed",
                     Filled(head, [&](std::size_t) { return record + Attributes(12) + "/>"; }, tail)});
    worst.push_back({"200 000 attributes on one tag",
                     "<ListStore><Columns/><Data>" + record + Attributes(200'000) + "/>" + tail});
    worst.push_back({"17 attributes on the last tag of a full file",
                     Filled(head, [&](std::size_t) { return record + "/>"; }, record + Attributes(13) + "/>" + tail)});
    worst.push_back({"16 deep, 16 namespaces declared at each level",
                     Filled("<ListStore>", NamespaceNest, "</ListStore>")});
    worst.push_back({"the same in UTF-16", Utf16(Filled("<ListStore>", NamespaceNest, "</ListStore>").substr(0, kMaxResultFileBytes / 2 - 16))});
    worst.push_back({"namespaced attributes, 8 declared and 8 used a tag",
                     Filled(head,
                            [&](std::size_t i) {
                                std::string tag = "<Record";
                                for (int n = 0; n < 8; ++n)
                                    tag += " xmlns:q" + std::to_string(n) + "=\"u" + std::to_string(i % 7) + "\"";
                                for (int n = 0; n < 8; ++n)
                                    tag += " q" + std::to_string(n) + ":c=\"\"";
                                return tag + "/>";
                            },
                            tail)});
    {
        // As many namespaces as the guard lets through, in scope all along,
        // each used by every tag.
        std::string root = "<ListStore";
        std::string used;
        for (int n = 0; n < kMaxNamespaces; ++n) {
            root += " xmlns:p" + std::to_string(n) + "=\"u" + std::to_string(n) + "\"";
            used += " p" + std::to_string(n) + ":a=\"\"";
        }
        worst.push_back({"16 namespaces in scope, 16 prefixed attributes a tag",
                         Filled(root + "><Columns/><Data>", [&](std::size_t) { return "<Record" + used + "/>"; },
                                tail)});
    }
    worst.push_back({"16 deep, plain", Filled("<ListStore>", [](std::size_t) {
                         std::string t;
                         for (int d = 1; d < kMaxDepth; ++d)
                             t += "<e>";
                         for (int d = 1; d < kMaxDepth; ++d)
                             t += "</e>";
                         return t;
                     }, "</ListStore>")});
    worst.push_back({"a new element name every tag", Filled(head, [](std::size_t i) {
                         return "<n" + std::to_string(i) + "/>";
                     }, tail)});
    worst.push_back({"names of 50 000 characters", Filled("<ListStore>", [](std::size_t i) {
                         return "<" + std::string(49'990, 'n') + std::to_string(i % 100'000) + "/>";
                     }, "</ListStore>")});
    worst.push_back({"one attribute value of 16 MiB", Filled("<ListStore a=\"", [](std::size_t) {
                         return std::string(4096, 'v');
                     }, "\"/>")});
    worst.push_back({"one comment of 16 MiB", Filled("<ListStore><!--", [](std::size_t) {
                         return std::string(4096, 'c');
                     }, "--></ListStore>")});
    worst.push_back({"captions of character references",
                     Filled(head, [&](std::size_t) {
                         std::string caption;
                         for (int n = 0; n < 200; ++n)
                             caption += "&#38;";
                         return "<Record Column0=\"" + caption + "\" Column1=\"12\" Column2=\"0\" Column3=\"0\"/>";
                     }, tail)});
    double slowest = 0;
    for (const Worst &w : worst) {
        const fs::path path = dir / "worst.xml";
        Write(path, w.Bytes);
        RecordCheck check;
        const double ms = MedianMs(3, [&] { check = checker.CheckFile(path.string()); });
        slowest = std::max(slowest, ms);
        std::printf("worst file: %-52s %5.1f MiB  median of 3 %7.1f ms  %s: %s\n", w.Name,
                    static_cast<double>(w.Bytes.size()) / (1 << 20), ms, VerdictWord(check.Result),
                    check.Detail.c_str());
    }
    std::printf("worst file: the slowest graded in %.1f ms (target: under 1 s)\n", slowest);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::string(argv[1]) == "--memory")
        return MemoryChild(argv[2]);
    // Each figure as soon as it is measured.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc == 2 && std::string(argv[1]) == "--worst") {
        XmlRuntime xml;
        const fs::path dir = fs::temp_directory_path() / "sosudnik-bench-worst";
        fs::create_directories(dir);
        WorstFiles(dir, RecordChecker(kMilk));
        fs::remove_all(dir);
        return 0;
    }
    const int files = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int records = argc > 2 ? std::atoi(argv[2]) : 100;

    XmlRuntime xml;
    const fs::path dir = fs::temp_directory_path() / "sosudnik-bench-check";
    fs::remove_all(dir);
    fs::create_directories(dir);
    WriteClass(dir, files, records);
    const std::vector<std::string> paths = ClassFiles(dir, files);
    std::uintmax_t bytes = 0;
    for (const std::string &p : paths)
        bytes += fs::file_size(p);
    std::printf("%d files of %d records written by the game, %.1f KiB each\n", files, records,
                static_cast<double>(bytes) / files / 1024);

    // The reading and checking alone, in this process.
    const RecordChecker checker(kMilk);
    const double inProcess = MedianMs(5, [&] {
        for (const std::string &p : paths) {
            if (checker.CheckFile(p).Result != Verdict::NotSolved)
                std::abort();
        }
    });
    std::printf("check of all files in-process: median of 5 %.1f ms (%.1f us a file)\n", inProcess,
                inProcess * 1000 / files);

    // The real program, as a teacher runs it: one process for the class.
    std::vector<std::string> arguments{"--check", kMilkCode};
    arguments.insert(arguments.end(), paths.begin(), paths.end());
    const Run whole = MedianRun(5, arguments);
    const Run one = MedianRun(5, {"--check", kMilkCode, paths.front()});
    const Run folder = MedianRun(5, {"--check", kMilkCode, "--", dir.string()});
    std::printf("sosudnik --check, %d files: median of 5 %.1f ms, peak %ld KiB, status %d\n", files, whole.Ms,
                whole.PeakKib, whole.Status);
    std::printf("sosudnik --check, their folder: median of 5 %.1f ms, peak %ld KiB, status %d\n", folder.Ms,
                folder.PeakKib, folder.Status);
    std::printf("sosudnik --check, 1 file:    median of 5 %.1f ms, peak %ld KiB (start-up and exit)\n", one.Ms,
                one.PeakKib);

    // An entity bomb: refused at its DOCTYPE, before a declaration is read.
    const std::string bomb = Bomb();
    const fs::path bombFile = dir / "bomb.xml";
    Write(bombFile, bomb);
    const double bombMs = MedianMs(1001, [&] {
        if (ReadResultText(bomb).Readable())
            std::abort();
    });
    const Run bombRun = MedianRun(5, {"--check", kMilkCode, bombFile.string()});
    std::printf("entity bomb (%zu bytes, 10^9 expansions): in-process median of 1001 %.1f us, resident %s; "
                "sosudnik --check median of 5 %.1f ms, peak %ld KiB, status %d\n",
                bomb.size(), bombMs * 1000, ReadMemory(bombFile.string()).c_str(), bombRun.Ms, bombRun.PeakKib,
                bombRun.Status);

    // Refused by its size: only open and fstat, whatever is in it.
    const fs::path big = dir / "big.xml";
    {
        std::ofstream(big, std::ios::binary).close();
        fs::resize_file(big, kMaxResultFileBytes + 1);
    }
    const double refusedMs = MedianMs(1001, [&] {
        if (ReadResultFile(big.string()).Readable())
            std::abort();
    });
    std::printf("file of 16 MiB + 1 byte, refused: median of 1001 %.1f us\n", refusedMs * 1000);

    // The largest file still read: one save of legal pours up to the limit,
    // every row of it checked.
    const fs::path largest = dir / "largest.xml";
    std::size_t rows = 0;
    {
        const std::string row[] = {"<Record Column0=\"0\" Column1=\"12\" Column2=\"0\" Column3=\"0\"/>",
                                   "<Record Column0=\"1\" Column1=\"5\" Column2=\"7\" Column3=\"0\"/>"};
        std::string text = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<ListStore><Columns/><Data>";
        const std::string tail = "</Data></ListStore>\n";
        for (; text.size() + row[rows % 2].size() + tail.size() <= kMaxResultFileBytes; ++rows)
            text += row[rows % 2];
        Write(largest, text + tail);
    }
    const double largestMs = MedianMs(5, [&] { checker.CheckFile(largest.string()); });
    std::printf("file of %.1f MiB, %zu records, read and checked: median of 5 %.1f ms, resident %s\n",
                static_cast<double>(fs::file_size(largest)) / (1 << 20), rows, largestMs,
                ReadMemory(largest.string()).c_str());

    WorstFiles(dir, checker);
    fs::remove_all(dir);
    return 0;
}
