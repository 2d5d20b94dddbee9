// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The look at a result file's bytes before libxml2 parses them: what it lets
// through and what it refuses, in every encoding the reader takes, however
// the reads cut the file.
#include "markup_guard.h"
#include "result_reader.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

std::string Attributes(int n, const std::string &name = "a")
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += " " + name + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    return text;
}

std::string Nested(int depth)
{
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<e>";
    for (int i = 0; i < depth; ++i)
        text += "</e>";
    return text;
}

const std::string kRecord = "<Record Column0=\"0\" Column1=\"12\" Column2=\"0\" Column3=\"0\"/>";
const std::string kGameFile = "<?xml version=\"1.0\" encoding=\"windows-1251\" standalone=\"yes\"?>\r\n"
                              "<ListStore><Columns><ListColumn Name=\"Column0\" Caption=\"\xD5\xEE\xE4\"/></Columns>"
                              "<Data>" + kRecord + "</Data></ListStore>\r\n";

// The text in UTF-16 of this byte order, ASCII only, with or without a mark.
std::string Utf16(const std::string &ascii, bool bigEndian, bool mark)
{
    std::string out = mark ? (bigEndian ? std::string("\xFE\xFF") : std::string("\xFF\xFE")) : std::string();
    for (const char c : ascii) {
        out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return out;
}

std::string Repeated(int n, const std::function<std::string(int)> &piece)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += piece(i);
    return text;
}

struct Case {
    const char *Name;
    std::string Bytes;
    const char *Refusal; // a part of the reason; empty when let through
};

void PrintTo(const Case &c, std::ostream *out)
{
    *out << c.Name;
}

class GuardTest : public testing::TestWithParam<Case> {};

// The verdict does not depend on where the reads cut the file.
TEST_P(GuardTest, SameVerdictHoweverTheReadsCutIt)
{
    const Case &c = GetParam();
    for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7}, std::size_t{4000},
                                    c.Bytes.size() + 1}) {
        MarkupGuard guard;
        std::string problem;
        for (std::size_t at = 0; at < c.Bytes.size() && problem.empty(); at += piece)
            problem = guard.Look(std::string_view(c.Bytes).substr(at, piece));
        if (*c.Refusal == '\0')
            EXPECT_EQ(problem, "") << "pieces of " << piece;
        else
            EXPECT_NE(problem.find(c.Refusal), std::string::npos) << "pieces of " << piece << ": " << problem;
    }
}

const char *const kTooMany = "больше 16 атрибутов";
const char *const kTooManyNames = "больше 64 разных имен";
const char *const kTooDeep = "глубже 16 уровней";

INSTANTIATE_TEST_SUITE_P(
    Files, GuardTest,
    testing::Values(
        Case{"the game's own file", kGameFile, ""},
        Case{"16 attributes", "<ListStore><x" + Attributes(16) + "/></ListStore>", ""},
        Case{"17 attributes", "<ListStore><x" + Attributes(17) + "/></ListStore>", kTooMany},
        Case{"17 namespace declarations on a tag", "<ListStore" + Attributes(17, "xmlns:n") + "/>", "пространств имен"},
        Case{"17 namespace declarations in a file", "<r>" + Repeated(17, [](int i) {
                 return "<e xmlns:n=\"u" + std::to_string(i) + "\"/>";
             }) + "</r>",
             "больше 16 объявлений пространств имен"},
        Case{"64 names", "<r>" + Repeated(63, [](int i) { return "<n" + std::to_string(i) + "/>"; }) + "</r>", ""},
        Case{"65 names", "<r>" + Repeated(64, [](int i) { return "<n" + std::to_string(i) + "/>"; }) + "</r>",
             kTooManyNames},
        Case{"names told apart by letters beyond ASCII",
             "<r>" + Repeated(64, [](int i) { return "<я" + std::string(1, static_cast<char>('\x80' + i % 32)) + std::string(1, static_cast<char>('\x90' + i / 32)) + "/>"; }) + "</r>",
             kTooManyNames},
        Case{"the same names again and again", Repeated(10'000, [](int) { return kRecord; }), ""},
        Case{"attribute names", "<r>" + Repeated(64, [](int i) { return "<e a" + std::to_string(i) + "=\"\"/>"; }) + "</r>",
             kTooManyNames},
        Case{"processing instructions", "<r>" + Repeated(64, [](int i) { return "<?t" + std::to_string(i) + " x?>"; }) + "</r>",
             kTooManyNames},
        Case{"entity references", "<r>" + Repeated(64, [](int i) { return "&e" + std::to_string(i) + ";"; }) + "</r>",
             kTooManyNames},
        Case{"entity references in values",
             "<r>" + Repeated(64, [](int i) { return "<e a=\"&v" + std::to_string(i) + ";\"/>"; }) + "</r>", kTooManyNames},
        Case{"character references are no names", "<r a=\"" + Repeated(1000, [](int i) { return "&#" + std::to_string(i + 40) + ";"; }) + "\">"
                 + Repeated(1000, [](int) { return std::string("&#38;&amp;"); }) + "</r>", ""},
        Case{"a name of 256 characters", "<" + std::string(256, 'n') + "/>", ""},
        Case{"a name of 257 characters", "<" + std::string(257, 'n') + "/>", "Имя длиннее 256 знаков"},
        Case{"spaces around =", "<r a = \"1\"\n b\t=\t'2' />", ""},
        Case{"= and > inside values count once",
             "<r a=\"x=y>z\" b='=\"=' c=\"/\"" + Attributes(13) + "><s/></r>", ""},
        Case{"= in text and comments is no attribute",
             "<r>a=b c=d e=f g=h i=j k=l m=n o=p q=r s=t u=v w=x y=z a=b c=d e=f g=h i=j" "<!-- <x" + Attributes(40)
                 + "> --><![CDATA[<x" + Attributes(40) + ">]]><?pi" + Attributes(40) + "?></r>",
             ""},
        Case{"a tag after a comment still counts", "<r><!-- x --><x" + Attributes(17) + "/></r>", kTooMany},
        Case{"nested 16 deep", Nested(16), ""},
        Case{"nested 17 deep", Nested(17), kTooDeep},
        Case{"16 deep, again and again", Nested(16) + Nested(16) + "<a/><a/>", ""},
        Case{"UTF-8 with a mark, 17 attributes", "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?><x"
                                                     + Attributes(17) + "/>",
             kTooMany},
        Case{"UTF-16LE with a mark", Utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><x" + Attributes(16) + "/>",
                                           false, true),
             ""},
        Case{"UTF-16LE, 17 attributes", Utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><x" + Attributes(17) + "/>",
                                              false, true),
             kTooMany},
        Case{"UTF-16BE, 17 attributes", Utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><x" + Attributes(17) + "/>",
                                              true, true),
             kTooMany},
        Case{"UTF-16LE without a mark, 17 deep", Utf16("<?xml version=\"1.0\"?>" + Nested(17), false, false),
             kTooDeep},
        Case{"UTF-16BE without a mark, 17 attributes", Utf16("<?xml version=\"1.0\"?><x" + Attributes(17) + "/>",
                                                             true, false),
             kTooMany},
        Case{"declared UTF-7, which could hide a \"<\"",
             "<?xml version=\"1.0\" encoding=\"UTF-7\"?>+ADw-x" + Attributes(17) + "/+AD4-", "«UTF-7» не поддерживается"},
        Case{"declared in single quotes, any case", "<?xml version='1.0' encoding='Windows-1251'?><r/>", ""},
        Case{"koi8-r", "<?xml version=\"1.0\" encoding=\"koi8-r\"?><r/>", ""},
        Case{"an unknown encoding", "<?xml version=\"1.0\" encoding=\"x-klingon\"?><r/>", "не поддерживается"},
        Case{"an encoding named later, in a processing instruction", "<r/><?xml-stylesheet encoding=\"UTF-7\"?>", ""},
        Case{"UCS-4", std::string("\0\0\0<\0\0\0?", 8), "UCS-4 или EBCDIC"},
        Case{"EBCDIC", "\x4C\x6F\xA7\x94\x93\x40", "UCS-4 или EBCDIC"},
        Case{"an endless declaration", "<?xml version=\"1.0\"" + std::string(300, ' ') + "?><r/>", "длиннее 256"}),
    [](const testing::TestParamInfo<Case> &info) {
        std::string name;
        for (const char c : std::string(info.param.Name))
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

// Through the reader: the reason is the file's, and nothing of the file is
// handed over.
TEST(GuardedReader, RefusesWhatTheGuardRefuses)
{
    std::string many = "<ListStore><Columns/><Data>";
    for (int i = 0; i < 1000; ++i)
        many += kRecord;
    many += "<Record Column0=\"0\" Column1=\"12\" Column2=\"0\" Column3=\"0\"" + Attributes(13) + "/></Data></ListStore>";
    const ResultFile file = ReadResultText(many);
    EXPECT_FALSE(file.Readable());
    EXPECT_NE(file.Problem.find(kTooMany), std::string::npos) << file.Problem;
    EXPECT_TRUE(file.Blocks.empty());

    const ResultFile deep = ReadResultText("<ListStore>" + Nested(16) + "</ListStore>");
    EXPECT_NE(deep.Problem.find(kTooDeep), std::string::npos) << deep.Problem;
}

} // namespace
