// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Checking result files, as a teacher would: a class of files written by the
// game, checked by the real program in one process; an entity bomb; a file
// refused for its size; the largest file that is still read.
// Usage: bench_check [FILES] [RECORDS]   (default 1000 files of 100 records)
// Peak memory is measured in a fresh process each time: the real program,
// or this one run as bench_check --memory FILE.
#include "peak_memory.h"
#include "record_check.h"
#include "result_reader.h"
#include "result_writer.h"

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

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::string(argv[1]) == "--memory")
        return MemoryChild(argv[2]);
    const int files = argc > 1 ? std::atoi(argv[1]) : 1000;
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
    std::printf("sosudnik --check, %d files: median of 5 %.1f ms, peak %ld KiB, status %d\n", files, whole.Ms,
                whole.PeakKib, whole.Status);
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

    fs::remove_all(dir);
    return 0;
}
