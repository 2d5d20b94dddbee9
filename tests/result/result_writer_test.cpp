// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "memory_fields.h"
#include "puzzle.h"
#include "recorder.h"
#include "result_writer.h"
#include "text_filters.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class XmlEnvironment : public testing::Environment {
    void SetUp() override { m_runtime = std::make_unique<XmlRuntime>(); }
    void TearDown() override { m_runtime.reset(); }
    std::unique_ptr<XmlRuntime> m_runtime;
};
testing::Environment *const kXml = testing::AddGlobalTestEnvironment(new XmlEnvironment);

std::string ReadFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every entry under dir with a file's bytes, so any change or leftover shows.
std::map<std::string, std::string> Snapshot(const fs::path &dir)
{
    std::map<std::string, std::string> entries;
    for (const auto &e : fs::recursive_directory_iterator(dir))
        entries[e.path().lexically_relative(dir).string()] = e.is_directory() ? "<dir>" : ReadFile(e.path());
    return entries;
}

std::string BoxLine(const Recorder::Box &box)
{
    return std::to_string(box.Icon) + '|' + box.Caption + '|' + box.Text;
}

// Column0 of the last block's first record, as libxml2 reads the file back.
std::string ReadBackCaption()
{
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc(
        xmlReadFile(kResultFileName, nullptr, XML_PARSE_NONET), xmlFreeDoc);
    if (!doc)
        return "<not well-formed>";
    xmlNodePtr record = xmlFirstElementChild(xmlLastElementChild(xmlDocGetRootElement(doc.get())));
    std::unique_ptr<xmlChar, void (*)(void *)> value(xmlGetProp(record, BAD_CAST "Column0"), xmlFree);
    return value ? reinterpret_cast<const char *>(value.get()) : "<none>";
}

class ResultTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string dir = (fs::temp_directory_path() / "sosudnik-result-XXXXXX").string();
        ASSERT_NE(mkdtemp(dir.data()), nullptr);
        home = dir;
        fs::current_path(home);
    }

    void TearDown() override
    {
        fs::current_path(m_back);
        fs::permissions(home, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(home);
    }

    void StartMilk()
    {
        puzzle.LoadTask(TaskPresets[0]);
        puzzle.AppendMoveRow();
    }

    fs::path home;
    Recorder boxes;
    Puzzle puzzle{boxes};
    MemoryFields fields{puzzle};
    ResultWriter xmldoc;

private:
    fs::path m_back = fs::current_path();
};

const std::string kMilkColumns = "<Columns>"
                                 "<ListColumn Name=\"Column0\" Caption=\"\xD5\xEE\xE4\"/>"
                                 "<ListColumn Name=\"Column1\" Caption=\"V1\"/>"
                                 "<ListColumn Name=\"Column2\" Caption=\"V2\"/>"
                                 "<ListColumn Name=\"Column3\" Caption=\"V3\"/>"
                                 "</Columns>";
const std::string kMilkPair
    = kMilkColumns + "<Data><Record Column0=\"0\" Column1=\"12\" Column2=\"0\" Column3=\"0\"/></Data>";

std::string Document(const std::string &pairs)
{
    return "<?xml version=\"1.0\" encoding=\"windows-1251\" standalone=\"yes\"?>\n<ListStore>" + pairs
        + "</ListStore>\n";
}

TEST_F(ResultTest, MilkTaskSavesExactBytesAndConfirms)
{
    StartMilk();
    EXPECT_FALSE(xmldoc.Active());
    WriteResult(xmldoc, puzzle.Log(), boxes);
    EXPECT_TRUE(xmldoc.Active());

    const std::string file = ReadFile(home / "sosudnik.xml");
    EXPECT_EQ(file, Document(kMilkPair));
    EXPECT_NE(file.find("Caption=\"\xD5\xEE\xE4\""), std::string::npos);
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(BoxLine(boxes.Boxes[0]), "64|Запись файла|Файл \"sosudnik.xml\" записан");
    // In the current directory, never beside the binary.
    EXPECT_FALSE(fs::exists(fs::read_symlink("/proc/self/exe").parent_path() / "sosudnik.xml"));
}

TEST_F(ResultTest, EverySaveAddsAPairAndKeepsTheEarlierOnes)
{
    StartMilk();
    xmldoc.Save(puzzle.Log());
    xmldoc.Save(puzzle.Log());
    EXPECT_EQ(ReadFile("sosudnik.xml"), Document(kMilkPair + kMilkPair));

    puzzle.LoadTask(TaskPresets[1]);
    puzzle.AppendMoveRow();
    puzzle.Pour(1, 2);
    xmldoc.Save(puzzle.Log());
    EXPECT_EQ(ReadFile("sosudnik.xml"),
        Document(kMilkPair + kMilkPair + kMilkColumns + "<Data><Record Column0=\"0\" Column1=\"8\" Column2=\"0\" "
            "Column3=\"0\"/><Record Column0=\"1\" Column1=\"3\" Column2=\"5\" Column3=\"0\"/></Data>"));
}

TEST_F(ResultTest, EmptyLogAndEmptyCellsKeepEveryAttribute)
{
    MoveLog log;
    xmldoc.Save(log);
    log.Append({"", {"", "", ""}});
    xmldoc.Save(log);
    EXPECT_EQ(ReadFile("sosudnik.xml"),
        Document(kMilkColumns + "<Data/>" + kMilkColumns
            + "<Data><Record Column0=\"\" Column1=\"\" Column2=\"\" Column3=\"\"/></Data>"));
}

// The file as it was made when the document kept every save as nodes: the
// template parsed, each save's elements added to it, the whole dumped at once.
class WholeDocument {
public:
    WholeDocument()
        : m_doc(xmlReadMemory(kTemplate, static_cast<int>(std::strlen(kTemplate)), nullptr, nullptr,
                    XML_PARSE_NONET | XML_PARSE_NOBLANKS),
            xmlFreeDoc)
    {
    }

    void Add(const MoveLog &log)
    {
        xmlNodePtr root = xmlDocGetRootElement(m_doc.get());
        xmlNodePtr columns = xmlNewChild(root, nullptr, BAD_CAST "Columns", nullptr);
        for (int i = 0; i < log.ColumnCount(); ++i) {
            xmlNodePtr column = xmlNewChild(columns, nullptr, BAD_CAST "ListColumn", nullptr);
            Attribute(column, "Name", "Column" + std::to_string(i));
            Attribute(column, "Caption", log.ColumnCaption(i));
        }
        xmlNodePtr data = xmlNewChild(root, nullptr, BAD_CAST "Data", nullptr);
        for (int r = 0; r < log.RowCount(); ++r) {
            xmlNodePtr record = xmlNewChild(data, nullptr, BAD_CAST "Record", nullptr);
            for (int k = 0; k < log.ColumnCount(); ++k)
                Attribute(record, "Column" + std::to_string(k), log.Cell(r, k));
        }
    }

    std::string Dump() const
    {
        xmlChar *text = nullptr;
        int size = 0;
        xmlDocDumpMemoryEnc(m_doc.get(), &text, &size, "windows-1251");
        std::string dump(reinterpret_cast<const char *>(text), static_cast<std::size_t>(size));
        xmlFree(text);
        return dump;
    }

private:
    static constexpr const char *kTemplate = "<?xml version=\"1.0\" encoding=\"windows-1251\" standalone=\"yes\" ?>\r\n"
                                             "<ListStore/>\r\n";

    static void Attribute(xmlNodePtr node, const std::string &name, const std::string &value)
    {
        xmlNewProp(node, BAD_CAST name.c_str(), BAD_CAST KeepXmlChars(value).c_str());
    }

    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> m_doc;
};

TEST_F(ResultTest, SavesWriteTheBytesOfTheWholeDocumentDumped)
{
    MoveLog edited;
    const char *captions[] = {"<a & \"b\" 'c'>\t", "1\r\n2\n", "Ёж №5 €", "\u0098\u2028😀", "", "a\x01\xFFz"};
    for (const char *caption : captions)
        edited.Append({caption, {"12", "", "0"}});
    // Long enough that its text passes every buffer the writer and libxml2
    // fill, with multi-byte characters and references across their edges.
    MoveLog longLog;
    for (int r = 0; r < 6000; ++r)
        longLog.Append({"Ход " + std::to_string(r) + std::string(static_cast<std::size_t>(r % 5), '\xD0') + "ёж😀&",
            {std::to_string(r % 13), std::to_string(r % 8), "Й"}});
    const MoveLog empty;
    StartMilk();

    WholeDocument whole;
    const MoveLog &milk = puzzle.Log();
    for (const MoveLog *log : std::initializer_list<const MoveLog *> {&milk, &edited, &longLog, &empty, &milk, &longLog}) {
        xmldoc.Save(*log);
        whole.Add(*log);
        ASSERT_EQ(ReadFile("sosudnik.xml"), whole.Dump());
    }
    EXPECT_GT(fs::file_size("sosudnik.xml"), 4u * 64 * 1024);
}

TEST_F(ResultTest, FailedSavesSayWhyAndKeepTheirBlocks)
{
    StartMilk();
    std::ofstream("file") << "a file, not a directory";
    const std::pair<const char *, const char *> cases[] = {
        {"gone/sosudnik.xml", "Файл \"gone/sosudnik.xml\" не записан: папки, в которой он должен быть, нет"},
        {"file/sosudnik.xml", "Файл \"file/sosudnik.xml\" не записан: папки, в которой он должен быть, нет"},
        {".", "Файл \".\" не записан: под этим именем папка"},
    };
    for (const auto &[path, reason] : cases) {
        try {
            xmldoc.Save(puzzle.Log(), path);
            ADD_FAILURE() << path << " was written";
        } catch (const std::runtime_error &e) {
            EXPECT_STREQ(e.what(), reason) << path;
        }
    }
    xmldoc.Save(puzzle.Log());
    EXPECT_EQ(ReadFile("sosudnik.xml"), Document(kMilkPair + kMilkPair + kMilkPair + kMilkPair));
    EXPECT_EQ(Snapshot(home).size(), 2u);
}

struct RoundTrip {
    const char *Name;
    std::string Typed;
    std::string Read;
    const char *Written; // as it stands in the file
};

void PrintTo(const RoundTrip &trip, std::ostream *out)
{
    *out << trip.Name;
}

class CaptionRoundTripTest : public ResultTest, public testing::WithParamInterface<RoundTrip> {};

TEST_P(CaptionRoundTripTest, IsWellFormedAndReadsBackAsTyped)
{
    const RoundTrip &c = GetParam();
    StartMilk();
    puzzle.Log().SetCaption(0, c.Typed);
    WriteResult(xmldoc, puzzle.Log(), boxes);

    EXPECT_EQ(std::system(SOSUDNIK_XMLLINT " --noout sosudnik.xml"), 0);
    EXPECT_EQ(ReadBackCaption(), c.Read);
    EXPECT_NE(ReadFile("sosudnik.xml").find(std::string("Column0=\"") + c.Written + '"'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Typed, CaptionRoundTripTest,
    testing::Values(
        RoundTrip {"Markup", "<a & \"b\" 'c'>\tLatin 漢\x01", "<a & \"b\" 'c'>\tLatin 漢",
            "&lt;a &amp; &quot;b&quot; 'c'&gt;&#9;Latin &#28450;"},
        RoundTrip {"Breaks", "1\r\n2\n", "1\r\n2\n", "1&#13;&#10;2&#10;"},
        RoundTrip {"Cyrillic", "Ёж №5 €", "Ёж №5 €", "\xA8\xE6 \xB9" "5 \x88"},
        RoundTrip {"Missing", "\u0098\u2028😀", "\u0098\u2028😀", "&#152;&#8232;&#128512;"},
        RoundTrip {"Controls", std::string("\0a\x1F\0z", 5), "az", "az"},
        RoundTrip {"BadUtf8", "a\xFF\xED\xA0\x80\xEF\xBF\xBE\xD0z", "az", "az"}),
    [](const auto &info) { return std::string(info.param.Name); });

// Every libxml2 allocation fails while set.
bool g_starved = false;
void *StarvedMalloc(std::size_t size) { return g_starved ? nullptr : std::malloc(size); }
void *StarvedRealloc(void *p, std::size_t size) { return g_starved ? nullptr : std::realloc(p, size); }
char *StarvedStrdup(const char *s) { return g_starved ? nullptr : strdup(s); }

TEST_F(ResultTest, FailedActivationStaysInactiveAndIsRetried)
{
    StartMilk();
    xmlFreeFunc oldFree;
    xmlMallocFunc oldMalloc;
    xmlReallocFunc oldRealloc;
    xmlStrdupFunc oldStrdup;
    ASSERT_EQ(xmlMemGet(&oldFree, &oldMalloc, &oldRealloc, &oldStrdup), 0);
    ASSERT_EQ(xmlMemSetup(std::free, StarvedMalloc, StarvedRealloc, StarvedStrdup), 0);
    g_starved = true;
    DispatchGuard(boxes).Run([&] { WriteResult(xmldoc, puzzle.Log(), boxes); });
    g_starved = false;
    xmlMemSetup(oldFree, oldMalloc, oldRealloc, oldStrdup);

    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(BoxLine(boxes.Boxes[0]), "16|Сосудник|Файл \"sosudnik.xml\" не записан: не хватает памяти.");
    EXPECT_FALSE(xmldoc.Active());
    EXPECT_FALSE(fs::exists("sosudnik.xml"));

    xmldoc.Save(puzzle.Log());
    EXPECT_TRUE(xmldoc.Active());
    EXPECT_EQ(ReadFile("sosudnik.xml"), Document(kMilkPair));
}

// libxml2's allocations that are still held.
long g_held = 0;
void *CountedMalloc(std::size_t size)
{
    void *p = std::malloc(size);
    g_held += p ? 1 : 0;
    return p;
}
void *CountedRealloc(void *p, std::size_t size)
{
    void *q = std::realloc(p, size);
    g_held += !p && q ? 1 : 0;
    return q;
}
char *CountedStrdup(const char *s)
{
    char *p = strdup(s);
    g_held += p ? 1 : 0;
    return p;
}
void CountedFree(void *p)
{
    g_held -= p ? 1 : 0;
    std::free(p);
}

// A long game saved again and again: what earlier saves wrote is kept as
// text, not as a libxml2 node per element and attribute, which would hold
// some twenty times the bytes of the file.
TEST_F(ResultTest, EarlierSavesAreNotKeptAsNodes)
{
    MoveLog log;
    for (int r = 0; r < 2000; ++r)
        log.Append({std::to_string(r), {"1", "2", "3"}});
    xmlFreeFunc oldFree;
    xmlMallocFunc oldMalloc;
    xmlReallocFunc oldRealloc;
    xmlStrdupFunc oldStrdup;
    ASSERT_EQ(xmlMemGet(&oldFree, &oldMalloc, &oldRealloc, &oldStrdup), 0);
    ASSERT_EQ(xmlMemSetup(CountedFree, CountedMalloc, CountedRealloc, CountedStrdup), 0);
    g_held = 0;
    auto writer = std::make_unique<ResultWriter>();
    for (int save = 0; save < 5; ++save)
        writer->Save(log);
    const long held = g_held;
    writer.reset();
    xmlMemSetup(oldFree, oldMalloc, oldRealloc, oldStrdup);

    // The parsed template and its names: a few dozen, whatever the log.
    EXPECT_LT(held, 100);
}

using Step = void (*)(const fs::path &home);

// A fault the save runs into, and its mending. Break and Mend run in the test,
// ChildBreak and ChildMend in the child process that saves.
struct Fault {
    const char *Name;
    const char *Reason; // after "Файл "sosudnik.xml" не записан: "
    Step Break, ChildBreak, Mend, ChildMend;
};

void PrintTo(const Fault &fault, std::ostream *out)
{
    *out << fault.Name;
}

void Check(bool ok, const char *what)
{
    if (!ok)
        throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

void Nothing(const fs::path &) { }

void GoHome(const fs::path &home)
{
    fs::current_path(home);
}

// Root writes anywhere; nobody is refused by a read-only directory.
void DropRoot(const fs::path &)
{
    if (geteuid() == 0)
        Check(setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0, "setuid");
}

// A full disk without root powers: writes past the size limit fail.
void SizeLimit(rlim_t size)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit {};
    Check(getrlimit(RLIMIT_FSIZE, &limit) == 0, "getrlimit");
    limit.rlim_cur = size == 0 ? limit.rlim_max : size;
    Check(setrlimit(RLIMIT_FSIZE, &limit) == 0, "setrlimit");
}

const Fault kFaults[] = {
    // Neither the folder nor the file may be written: a writable file in a
    // read-only folder is written in place (InPlaceSaveTest).
    {"ReadOnlyDirectory", "нет прав на запись.",
        [](const fs::path &home) {
            chmod((home / "sosudnik.xml").c_str(), 0644);
            chmod(home.c_str(), 0555);
        },
        DropRoot,
        [](const fs::path &home) {
            chmod((home / "sosudnik.xml").c_str(), 0666);
            chmod(home.c_str(), 0777);
        },
        Nothing},
    // The folder would take a new file, but the player made this one read-only.
    {"ReadOnlyFile", "нет прав на запись.",
        [](const fs::path &home) {
            chmod((home / "sosudnik.xml").c_str(), 0444);
            chmod(home.c_str(), 0777);
        },
        DropRoot, [](const fs::path &home) { chmod((home / "sosudnik.xml").c_str(), 0666); }, Nothing},
    {"PathIsADirectory", "под этим именем папка.",
        [](const fs::path &home) {
            fs::remove(home / "sosudnik.xml");
            fs::create_directory(home / "sosudnik.xml");
        },
        Nothing, [](const fs::path &home) { fs::remove(home / "sosudnik.xml"); }, Nothing},
    {"FullDisk", "файл превысил допустимый размер.", Nothing, [](const fs::path &) { SizeLimit(100); }, Nothing,
        [](const fs::path &) { SizeLimit(0); }},
    // The working directory is removed under the game.
    {"VanishedDirectory", "папки, в которой он должен быть, нет.",
        [](const fs::path &home) {
            fs::create_directory(home / "gone");
            fs::current_path(home / "gone");
            fs::remove(home / "gone");
        },
        Nothing, GoHome, GoHome},
};

void Send(int fd, const std::string &text)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

// One line from the pipe; what there is at its end.
std::string Receive(int fd)
{
    std::string line;
    char c = 0;
    while (read(fd, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

// The saving child: a failed save and its boxes, then, once told to go on, a
// good save and its boxes.
[[noreturn]] void SaveInChild(const Fault &fault, const fs::path &home, const MoveLog &log, int report, int go)
{
    try {
        Recorder boxes;
        DispatchGuard guard(boxes);
        ResultWriter xmldoc;
        const auto save = [&] {
            boxes.Boxes.clear();
            guard.Run([&] { WriteResult(xmldoc, log, boxes); });
            for (const Recorder::Box &box : boxes.Boxes)
                Send(report, BoxLine(box) + ';');
            Send(report, "\n");
        };
        fault.ChildBreak(home);
        save();
        Receive(go);
        fault.ChildMend(home);
        save();
        _exit(0);
    } catch (const std::exception &e) {
        Send(report, std::string("child: ") + e.what() + "\n");
        _exit(1);
    }
}

class SaveFaultTest : public ResultTest, public testing::WithParamInterface<Fault> {};

TEST_P(SaveFaultTest, KeepsTheOldFileReportsWhyAndSavesLater)
{
    const Fault &fault = GetParam();
    std::signal(SIGPIPE, SIG_IGN);
    StartMilk();
    xmldoc.Save(puzzle.Log());
    fault.Break(home);
    const auto before = Snapshot(home);

    int report[2];
    int go[2];
    ASSERT_EQ(pipe(report), 0);
    ASSERT_EQ(pipe(go), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(report[0]);
        close(go[1]);
        SaveInChild(fault, home, puzzle.Log(), report[1], go[0]);
    }
    close(report[1]);
    close(go[0]);

    const std::string failed = Receive(report[0]);
    EXPECT_EQ(failed, std::string("16|Сосудник|Файл \"sosudnik.xml\" не записан: ") + fault.Reason + ";");
    EXPECT_EQ(Snapshot(home), before);
    fault.Mend(home);
    Send(go[1], "\n");
    EXPECT_EQ(Receive(report[0]), "64|Запись файла|Файл \"sosudnik.xml\" записан;");
    close(go[1]);
    close(report[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    // The child's document kept the failed save's blocks.
    EXPECT_EQ(ReadFile(home / "sosudnik.xml"), Document(kMilkPair + kMilkPair));
    EXPECT_EQ(Snapshot(home).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Faults, SaveFaultTest, testing::ValuesIn(kFaults),
    [](const auto &info) { return std::string(info.param.Name); });

} // namespace
