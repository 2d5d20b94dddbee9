// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Row captions as the player might edit them, any bytes at all, saved with
// ResultWriter: the file must read back with libxml2, and every caption must
// come back as it was, less the characters XML 1.0 cannot carry.
#include "move_log.h"
#include "result_writer.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

// What should survive of a caption, read independently of the writer's own
// filter: a byte that does not start a well-formed UTF-8 sequence (Unicode's
// table of well-formed byte sequences) is dropped on its own; a well-formed
// character stays unless XML 1.0 forbids it.
std::string XmlCarried(std::string_view text)
{
    std::string out;
    std::size_t i = 0;
    const auto at = [&](std::size_t k) { return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0u; };
    const auto in = [](unsigned b, unsigned lo, unsigned hi) { return b >= lo && b <= hi; };
    while (i < text.size()) {
        const unsigned b0 = at(0);
        std::size_t length = 0;
        if (b0 < 0x80)
            length = 1;
        else if (in(b0, 0xC2, 0xDF) && in(at(1), 0x80, 0xBF))
            length = 2;
        else if (((b0 == 0xE0 && in(at(1), 0xA0, 0xBF)) || (in(b0, 0xE1, 0xEC) && in(at(1), 0x80, 0xBF)) ||
                  (b0 == 0xED && in(at(1), 0x80, 0x9F)) || (in(b0, 0xEE, 0xEF) && in(at(1), 0x80, 0xBF))) &&
                 in(at(2), 0x80, 0xBF))
            length = 3;
        else if (((b0 == 0xF0 && in(at(1), 0x90, 0xBF)) || (in(b0, 0xF1, 0xF3) && in(at(1), 0x80, 0xBF)) ||
                  (b0 == 0xF4 && in(at(1), 0x80, 0x8F))) &&
                 in(at(2), 0x80, 0xBF) && in(at(3), 0x80, 0xBF))
            length = 4;
        if (length == 0) {
            ++i;
            continue;
        }
        bool keep = true;
        if (length == 1)
            keep = b0 >= 0x20 || b0 == '\t' || b0 == '\n' || b0 == '\r';
        else if (length == 3)
            keep = !(b0 == 0xEF && at(1) == 0xBF && (at(2) == 0xBE || at(2) == 0xBF)); // U+FFFE, U+FFFF
        if (keep)
            out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

[[noreturn]] void Fail(const std::string &what)
{
    std::fprintf(stderr, "result file: %s\n", what.c_str());
    std::abort();
}

// A scratch folder for one input. libFuzzer may end the process without
// running destructors of statics, so none outlives its input.
class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "fuzz_result.XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            Fail("cannot make a scratch folder");
        m_path = pattern;
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string File() const { return (m_path / "sosudnik.xml").string(); }

private:
    std::filesystem::path m_path;
};

std::string Attribute(xmlNodePtr node, const char *name)
{
    xmlChar *value = xmlGetProp(node, reinterpret_cast<const xmlChar *>(name));
    if (!value)
        Fail(std::string("attribute ") + name + " is missing");
    std::string s(reinterpret_cast<const char *>(value));
    xmlFree(value);
    return s;
}

std::vector<xmlNodePtr> Elements(xmlNodePtr parent)
{
    std::vector<xmlNodePtr> out;
    for (xmlNodePtr n = parent->children; n; n = n->next)
        if (n->type == XML_ELEMENT_NODE)
            out.push_back(n);
    return out;
}

void ExpectName(xmlNodePtr node, const char *name)
{
    if (std::string_view(reinterpret_cast<const char *>(node->name)) != name)
        Fail(std::string("expected <") + name + ">, found <" + reinterpret_cast<const char *>(node->name) + ">");
}

// From libxml2 2.12 on the handler is given a const error.
#if LIBXML_VERSION >= 21200
void CountErrors(void *context, const xmlError *)
#else
void CountErrors(void *context, xmlErrorPtr)
#endif
{
    ++*static_cast<int *>(context);
}

void Check(const std::string &file, const MoveLog &log, int saves)
{
    int errors = 0;
    xmlSetStructuredErrorFunc(&errors, &CountErrors);
    const std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc(xmlReadFile(file.c_str(), nullptr, XML_PARSE_NONET),
                                                           xmlFreeDoc);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    if (!doc || errors != 0)
        Fail("libxml2 cannot read it back");

    xmlNodePtr root = xmlDocGetRootElement(doc.get());
    ExpectName(root, "ListStore");
    const std::vector<xmlNodePtr> blocks = Elements(root);
    if (blocks.size() != static_cast<std::size_t>(2 * saves))
        Fail("one Columns and one Data block per save");
    for (int s = 0; s < saves; ++s) {
        xmlNodePtr columns = blocks[static_cast<std::size_t>(2 * s)];
        ExpectName(columns, "Columns");
        const std::vector<xmlNodePtr> listColumns = Elements(columns);
        if (listColumns.size() != static_cast<std::size_t>(log.ColumnCount()))
            Fail("one ListColumn per column");
        for (int c = 0; c < log.ColumnCount(); ++c) {
            xmlNodePtr column = listColumns[static_cast<std::size_t>(c)];
            ExpectName(column, "ListColumn");
            if (Attribute(column, "Name") != "Column" + std::to_string(c) ||
                Attribute(column, "Caption") != log.ColumnCaption(c))
                Fail("column heading " + std::to_string(c));
        }

        xmlNodePtr data = blocks[static_cast<std::size_t>(2 * s + 1)];
        ExpectName(data, "Data");
        const std::vector<xmlNodePtr> records = Elements(data);
        if (records.size() != static_cast<std::size_t>(log.RowCount()))
            Fail("one Record per row");
        for (int r = 0; r < log.RowCount(); ++r) {
            xmlNodePtr record = records[static_cast<std::size_t>(r)];
            ExpectName(record, "Record");
            for (int c = 0; c < log.ColumnCount(); ++c) {
                const std::string name = "Column" + std::to_string(c);
                const std::string expected = XmlCarried(log.Cell(r, c));
                const std::string actual = Attribute(record, name.c_str());
                if (actual != expected)
                    Fail("row " + std::to_string(r) + " " + name + " came back as \"" + actual + "\", not \"" +
                         expected + "\"");
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte says whether to save twice (a save adds to the document);
    // then each caption is a length byte and that many bytes.
    const int saves = 1 + (data[0] & 1);
    MoveLog log;
    std::size_t i = 1;
    while (i < size) {
        const std::size_t length = std::min<std::size_t>(data[i], size - i - 1);
        const std::string caption(reinterpret_cast<const char *>(data + i + 1), length);
        i += 1 + length;
        // Rows are logged as the game logs them; the player then edits the caption.
        const int row = log.RowCount();
        log.Append(MoveRow{std::to_string(row), {std::to_string(row % 13), "0", std::to_string(row * 7 % 1000)}});
        log.SetCaption(row, caption);
    }

    const ScratchDir scratch;
    const std::string file = scratch.File();
    ResultWriter writer;
    try {
        for (int s = 0; s < saves; ++s)
            writer.Save(log, file);
    } catch (const std::exception &e) {
        Fail(std::string("Save failed: ") + e.what());
    }
    Check(file, log, saves);
    return 0;
}
