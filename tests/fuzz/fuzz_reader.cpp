// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Any bytes at all read as a result file, then checked against the milk
// task: the reader must neither crash nor leak, a file it accepts has the
// format's shape, a refusal has a reason on one line, and the verdict's
// fields agree with each other and with the line printed for it.
#include "check_report.h"
#include "record_check.h"
#include "result_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Fail(const std::string &what)
{
    std::fprintf(stderr, "result reader: %s\n", what.c_str());
    std::abort();
}

bool HasControl(std::string_view text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return true;
    }
    return false;
}

std::size_t Count(std::string_view text, char c)
{
    std::size_t n = 0;
    for (const char ch : text)
        n += ch == c ? 1 : 0;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const ResultFile file = ReadResultText(bytes);
    if (!file.Readable()) {
        if (!file.Blocks.empty())
            Fail("refused, yet blocks were handed over");
        if (HasControl(file.Problem))
            Fail("a control character in the reason: " + file.Problem);
    } else if (file.Blocks.empty()) {
        Fail("accepted without a single save");
    }

    static const RecordChecker milk(TaskPresets[0]);
    const RecordCheck check = milk.Check(file);
    if ((check.Result == Verdict::Unreadable) != !file.Readable())
        Fail("an unreadable file and its verdict disagree");
    if (check.Fewest != 10)
        Fail("the milk task's fewest pours changed");
    const bool counted = check.Result == Verdict::Solved || check.Result == Verdict::NotSolved;
    if (check.Pours.has_value() != counted)
        Fail(std::string("pours given or missing for ") + VerdictWord(check.Result));
    if (check.Result == Verdict::Solved && *check.Pours < 10)
        Fail("solved in fewer pours than the fewest");
    if (check.Detail.empty() || HasControl(check.Detail))
        Fail("a detail that is empty or holds a control character: " + check.Detail);

    const std::string line = CheckLine("sosudnik.xml", check);
    if (Count(line, '\t') != 4 || Count(line, '\n') != 1 || line.back() != '\n')
        Fail("not one line of five fields: " + line);
    const std::string csv = CsvLine("sosudnik.xml", check);
    if (csv.size() < 2 || csv.compare(csv.size() - 2, 2, "\r\n") != 0)
        Fail("a CSV line without its CR LF");
    return 0;
}
