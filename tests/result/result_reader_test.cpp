// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Reading result files back: the format's structure, the encodings, and
// what an untrusted file must not get away with.
#include "result_reader.h"
#include "xml_runtime.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"windows-1251\" standalone=\"yes\"?>\r\n";
const std::string kColumns = "<Columns><ListColumn Name=\"Column0\" Caption=\"\xD5\xEE\xE4\"/>"
                             "<ListColumn Name=\"Column1\" Caption=\"V1\"/><ListColumn Name=\"Column2\" Caption=\"V2\"/>"
                             "<ListColumn Name=\"Column3\" Caption=\"V3\"/></Columns>";

std::string Record(const std::string &caption, const std::string &v1, const std::string &v2, const std::string &v3)
{
    return "<Record Column0=\"" + caption + "\" Column1=\"" + v1 + "\" Column2=\"" + v2 + "\" Column3=\"" + v3
        + "\"/>";
}

std::string Document(const std::string &body, const std::string &declaration = kDeclaration)
{
    return declaration + "<ListStore>" + body + "</ListStore>\r\n";
}

const std::string kMilkStart = kColumns + "<Data>" + Record("0", "12", "0", "0") + Record("1", "5", "7", "0") + "</Data>";

// A scratch folder for files, gone after the test.
class ReaderTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string dir = (fs::temp_directory_path() / "sosudnik-reader-XXXXXX").string();
        ASSERT_NE(mkdtemp(dir.data()), nullptr);
        home = dir;
    }
    void TearDown() override { fs::remove_all(home); }

    std::string Write(const std::string &name, const std::string &bytes) const
    {
        const fs::path path = home / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    fs::path home;
};

struct Malformed {
    const char *Name;
    std::string Bytes;
    const char *Reason; // a part of the problem
};

void PrintTo(const Malformed &c, std::ostream *out)
{
    *out << c.Name;
}

class MalformedTest : public testing::TestWithParam<Malformed> {};

// Whatever is wrong, the file is refused with a reason a teacher can act on,
// and no half-read blocks are handed over.
TEST_P(MalformedTest, IsRefusedWithItsReason)
{
    const Malformed &c = GetParam();
    const ResultFile file = ReadResultText(c.Bytes);
    EXPECT_FALSE(file.Readable());
    EXPECT_NE(file.Problem.find(c.Reason), std::string::npos) << file.Problem;
    EXPECT_TRUE(file.Blocks.empty());
    // One line without controls: it goes into a table cell and a tab-separated line.
    for (const char ch : file.Problem)
        EXPECT_FALSE(static_cast<unsigned char>(ch) < 0x20) << file.Problem;
}

const std::string kBomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE ListStore [\n<!ENTITY a \"aaaaaaaaaa\">\n"
                          "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n"
                          "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">\n<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">\n"
                          "]>\n<ListStore><Columns/><Data>"
    + Record("&e;", "12", "0", "0") + "</Data></ListStore>";

INSTANTIATE_TEST_SUITE_P(
    Files, MalformedTest,
    testing::Values(
        Malformed{"empty", "", "Файл пуст"},
        Malformed{"blanks", "  \r\n", "не найден ни один элемент"},
        Malformed{"plain text", "12 0 0\n5 7 0\n", "не найден ни один элемент"},
        Malformed{"cut short", Document(kMilkStart).substr(0, 200), "Это не XML"},
        Malformed{"unclosed", kDeclaration + "<ListStore><Columns/><Data>", "Это не XML"},
        Malformed{"wrong root", kDeclaration + "<Moves/>", "Корневой элемент «Moves»"},
        Malformed{"no blocks", Document(""), "нет ни одного сохранения"},
        Malformed{"Data first", Document("<Data/>"), "Data без элемента Columns"},
        Malformed{"Columns twice", Document("<Columns/><Columns/><Data/>"), "Два элемента Columns подряд"},
        Malformed{"Columns last", Document(kColumns + "<Data/>" + kColumns), "нет его Data"},
        Malformed{"stranger in the root", Document(kColumns + "<Data/><Notes/>"), "элемент «Notes»"},
        Malformed{"stranger in Data", Document(kColumns + "<Data><Row/></Data>"), "в Data элемент «Row»"},
        Malformed{"stranger in Columns", Document("<Columns><Column/></Columns><Data/>"), "в Columns элемент «Column»"},
        Malformed{"inside a Record", Document(kColumns + "<Data><Record Column0=\"0\" Column1=\"1\" Column2=\"2\" "
                                                         "Column3=\"3\"><b/></Record></Data>"),
                  "внутри Record элемент «b»"},
        Malformed{"text between", Document(kColumns + "<Data>12 0 0</Data>"), "Текст «12 0 0»"},
        Malformed{"missing Column2",
                  Document(kColumns + "<Data>" + Record("0", "12", "0", "0")
                           + "<Record Column0=\"1\" Column1=\"5\" Column3=\"0\"/></Data>"),
                  "В сохранении 1 у хода 1 (элемент Record номер 2) нет атрибута Column2"},
        Malformed{"namespaced", Document("<x:Columns xmlns:x=\"urn:x\"/><Data/>"), "элемент «x:Columns»"},
        Malformed{"default namespace", kDeclaration + "<ListStore xmlns=\"urn:x\"/>",
                  "Корневой элемент «ListStore» из пространства имен «urn:x»"},
        Malformed{"unknown entity", Document(kColumns + "<Data>" + Record("&x;", "12", "0", "0") + "</Data>"),
                  "неизвестную сущность"},
        Malformed{"unknown encoding", "<?xml version=\"1.0\" encoding=\"x-klingon\"?><ListStore/>",
                  "не поддерживается"},
        Malformed{"byte windows-1251 lacks", Document(kColumns + "<Data>" + Record("\x98", "12", "0", "0") + "</Data>"),
                  "не в той кодировке"},
        Malformed{"not UTF-8",
                  Document(kColumns + "<Data>" + Record("\xC0", "12", "0", "0") + "</Data>",
                           "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"),
                  "не в той кодировке"},
        Malformed{"entity bomb", kBomb, "DOCTYPE"},
        Malformed{"DOCTYPE alone", "<!DOCTYPE ListStore><ListStore/>", "DOCTYPE"},
        Malformed{"external DTD", "<!DOCTYPE ListStore SYSTEM \"http://example.invalid/x.dtd\"><ListStore/>",
                  "DOCTYPE"}),
    [](const testing::TestParamInfo<Malformed> &info) {
        std::string name;
        for (const char c : std::string(info.param.Name))
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST(ReaderText, TheGamesOwnFileReadsAsWritten)
{
    const ResultFile file = ReadResultText(Document(kMilkStart + kMilkStart));
    ASSERT_TRUE(file.Readable()) << file.Problem;
    ASSERT_EQ(file.Blocks.size(), 2u);
    for (const ResultBlock &block : file.Blocks) {
        ASSERT_EQ(block.Records.size(), 2u);
        EXPECT_EQ(block.Records[0].Columns, (std::array<std::string, 4>{"0", "12", "0", "0"}));
        EXPECT_EQ(block.Records[1].Columns, (std::array<std::string, 4>{"1", "5", "7", "0"}));
    }
}

// Another program of the format may lay it out its own way: indented, with
// comments, processing instructions, attributes in another order, more of
// them, and an empty save.
TEST(ReaderText, AnotherProgramsLayoutReadsTheSame)
{
    const std::string text = "<?xml version='1.0' encoding='UTF-8'?>\n<!-- exported -->\n<ListStore>\n"
                             "  <Columns>\n    <ListColumn Name='Column0' Caption='Ход'/>\n  </Columns>\n"
                             "  <Data/>\n  <Columns/>\n  <Data>\n"
                             "    <Record Column3='0' Column2='0' Column1='12' Column0='старт' Column4='x'/>\n"
                             "    <?note here?>\n    <Record Column0='' Column1='5' Column2='7' Column3='0'/>\n"
                             "  </Data>\n</ListStore>\n";
    const ResultFile file = ReadResultText(text);
    ASSERT_TRUE(file.Readable()) << file.Problem;
    ASSERT_EQ(file.Blocks.size(), 2u);
    EXPECT_TRUE(file.Blocks[0].Records.empty());
    ASSERT_EQ(file.Blocks[1].Records.size(), 2u);
    EXPECT_EQ(file.Blocks[1].Records[0].Columns, (std::array<std::string, 4>{"старт", "12", "0", "0"}));
}

std::string Utf16(const std::string &utf8, bool bigEndian)
{
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t c = b;
        std::size_t length = 1;
        if (b >= 0xF0)
            c = b & 0x07u, length = 4;
        else if (b >= 0xE0)
            c = b & 0x0Fu, length = 3;
        else if (b >= 0xC0)
            c = b & 0x1Fu, length = 2;
        for (std::size_t k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
        i += length;
        const auto unit = [&](char16_t u) {
            const char hi = static_cast<char>(u >> 8);
            const char lo = static_cast<char>(u & 0xFF);
            out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
        };
        if (c >= 0x10000) {
            unit(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            unit(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            unit(static_cast<char16_t>(c));
        }
    }
    return out;
}

// The encoding the declaration names, or the one the first bytes show:
// the captions come out the same in UTF-8.
TEST(ReaderText, EveryEncodingGivesTheSameText)
{
    const std::string body = "<Columns/><Data>" + Record("Ход 😀 &amp; &lt;", "12", "0", "0")
        + "</Data>";
    const std::string utf8 = Document(body, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    const std::string undeclared = Document(body, "");
    const std::string utf16 = Document(body, "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n");
    std::string cp1251 = Document(
        "<Columns/><Data>" + Record("\xD5\xEE\xE4 &#x1F600; &amp; &lt;", "12", "0", "0") + "</Data>");
    const struct {
        const char *Name;
        std::string Bytes;
    } cases[] = {
        {"windows-1251", cp1251},
        {"UTF-8", utf8},
        {"UTF-8 undeclared", undeclared},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + utf8},
        {"UTF-16LE", Utf16(utf16, false)},
        {"UTF-16BE", Utf16(utf16, true)},
    };
    for (const auto &c : cases) {
        const ResultFile file = ReadResultText(c.Bytes);
        ASSERT_TRUE(file.Readable()) << c.Name << ": " << file.Problem;
        ASSERT_EQ(file.Blocks.size(), 1u) << c.Name;
        EXPECT_EQ(file.Blocks[0].Records[0].Columns, (std::array<std::string, 4>{"Ход 😀 & <", "12", "0", "0"}))
            << c.Name;
    }
}

// The file an external entity names is never opened: the parse ends at the
// DOCTYPE, so its content reaches neither the blocks nor the reason.
TEST_F(ReaderTest, ExternalEntitiesNeverReadTheFileTheyName)
{
    const std::string secret = Write("secret.txt", "TOP-SECRET-7731");
    const std::string uri = "file://" + secret;
    const std::string attacks[] = {
        "<!DOCTYPE ListStore [<!ENTITY s SYSTEM \"" + uri + "\">]><ListStore><Columns/><Data>"
            + Record("&s;", "12", "0", "0") + "</Data></ListStore>",
        "<!DOCTYPE ListStore [<!ENTITY s SYSTEM \"" + secret + "\">]><ListStore>&s;</ListStore>",
        "<!DOCTYPE ListStore [<!ENTITY % p SYSTEM \"" + uri + "\"> %p;]><ListStore/>",
        "<!DOCTYPE ListStore SYSTEM \"" + uri + "\"><ListStore/>",
        "<ListStore xmlns:xi=\"http://www.w3.org/2001/XInclude\"><xi:include href=\"" + secret
            + "\" parse=\"text\"/></ListStore>",
    };
    for (const std::string &attack : attacks) {
        const ResultFile file = ReadResultFile(Write("attack.xml", attack));
        EXPECT_FALSE(file.Readable()) << attack;
        EXPECT_EQ(file.Problem.find("TOP-SECRET"), std::string::npos) << file.Problem;
        EXPECT_TRUE(file.Blocks.empty());
    }
}

// Above the limit the size alone decides: not a byte is read (the file is
// sparse, all zeros, and would fail to parse anyway with another reason).
TEST_F(ReaderTest, TheSizeLimitIsTestedBeforeAnyParse)
{
    const auto sized = [&](const char *name, off_t size) {
        const std::string path = (home / name).string();
        const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(::ftruncate(fd, size), 0);
        ::close(fd);
        return path;
    };
    const off_t limit = static_cast<off_t>(kMaxResultFileBytes);
    const ResultFile over = ReadResultFile(sized("over.xml", limit + 1));
    EXPECT_EQ(over.Problem, "Файл больше 16 МиБ (16777217 байт): такие не проверяются.");
    const ResultFile at = ReadResultFile(sized("at.xml", limit));
    EXPECT_FALSE(at.Readable());
    EXPECT_EQ(at.Problem.find("16 МиБ"), std::string::npos) << at.Problem;
    EXPECT_NE(ReadResultText(std::string(kMaxResultFileBytes + 1, ' ')).Problem.find("16 МиБ"), std::string::npos);
}

TEST_F(ReaderTest, WhatIsNoFileSaysSo)
{
    const std::string fifo = (home / "pipe.xml").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A FIFO with no writer would block a plain open for ever.
    EXPECT_EQ(ReadResultFile(fifo).Problem, "Это не обычный файл.");
    EXPECT_EQ(ReadResultFile(home.string()).Problem, "Это папка, а не файл.");
    EXPECT_EQ(ReadResultFile((home / "missing.xml").string()).Problem, "Файла нет.");
    EXPECT_EQ(ReadResultFile("").Problem, "Файла нет.");
    EXPECT_EQ(ReadResultFile(Write("empty.xml", "")).Problem, "Файл пуст.");
    const ResultFile good = ReadResultFile(Write("good.xml", Document(kMilkStart)));
    EXPECT_TRUE(good.Readable()) << good.Problem;
}

// A broken encoding is libxml2's to report; none of it may reach stderr
// (a teacher's terminal, a script's log), and the handlers that were there
// before the read are there after it.
TEST_F(ReaderTest, NothingReachesStderrAndTheHandlersComeBack)
{
    const std::string captured = (home / "stderr.txt").string();
    std::fflush(stderr);
    const int saved = ::dup(2);
    const int into = ::open(captured.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
    ASSERT_GE(into, 0);
    ::dup2(into, 2);
    ::close(into);
#if LIBXML_VERSION < 21300
    // Only these versions need the thread's handlers for the length of a read.
    const xmlStructuredErrorFunc structured = xmlStructuredError;
    const xmlGenericErrorFunc generic = xmlGenericError;
#endif
    const std::string inputs[] = {
        Document(kColumns + "<Data>" + Record("\x98", "12", "0", "0") + "</Data>"),
        "<?xml version=\"1.0\" encoding=\"x-klingon\"?><ListStore/>",
        "<ListStore><Data",
        kBomb,
    };
    for (const std::string &input : inputs)
        EXPECT_FALSE(ReadResultText(input).Readable());
#if LIBXML_VERSION < 21300
    const bool handlersBack = xmlStructuredError == structured && xmlGenericError == generic;
#else
    const bool handlersBack = true;
#endif
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    EXPECT_TRUE(handlersBack);
    std::ifstream in(captured);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "");
}

} // namespace
