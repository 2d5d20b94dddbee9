// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "result_writer.h"

#include "atomic_file.h"
#include "result_reader.h"
#include "text_filters.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlsave.h>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <functional>
#include <iterator>
#include <new>
#include <string_view>
#include <utility>

#include <sys/stat.h>

namespace {

// The document starts as this text, parsed like a file: its declaration sets
// the encoding the whole document is saved in.
constexpr std::string_view kTemplate = "<?xml version=\"1.0\" encoding=\"windows-1251\" standalone=\"yes\" ?>\r\n"
                                       "<ListStore/>\r\n";
constexpr const char *kEncoding = "windows-1251";

[[noreturn]] void Fail(const std::string &path, int cause)
{
    throw SaveFailure(path, cause);
}

// libxml2 tells why it failed only through the error it records last; the
// player learns whether memory ran out, or else that the XML could not be made.
int XmlCause(const xmlError *error)
{
    return error && error->code == XML_ERR_NO_MEMORY ? ENOMEM : kCauseXmlFailure;
}

const xmlChar *XmlText(const char *text)
{
    return reinterpret_cast<const xmlChar *>(text);
}

struct NodeFreer {
    void operator()(xmlNode *node) const { xmlFreeNode(node); }
};
using Node = std::unique_ptr<xmlNode, NodeFreer>;

struct ParserFreer {
    void operator()(xmlParserCtxt *parser) const { xmlFreeParserCtxt(parser); }
};

// An element of doc that belongs to no tree yet: libxml2 writes its text
// values in the document's encoding only for nodes of that document.
Node NewElement(xmlDocPtr doc, const char *name, const std::string &path)
{
    Node node(xmlNewDocNode(doc, nullptr, XmlText(name), nullptr));
    if (!node)
        Fail(path, ENOMEM); // the only way it can fail
    return node;
}

xmlNodePtr AppendElement(xmlNodePtr parent, const char *name, const std::string &path)
{
    xmlNodePtr node = xmlNewChild(parent, nullptr, XmlText(name), nullptr);
    if (!node)
        Fail(path, ENOMEM);
    return node;
}

// Attributes are appended in call order. The value is taken as plain text,
// so libxml2 escapes markup in it when saving.
void AppendAttribute(xmlNodePtr node, const std::string &name, const std::string &value, const std::string &path)
{
    if (!xmlNewProp(node, XmlText(name.c_str()), XmlText(KeepXmlChars(value).c_str())))
        Fail(path, ENOMEM);
}

// Text in pieces of at most kPiece bytes: a block grows without being copied
// to ever larger strings, and is kept as it was written.
class Pieces {
public:
    static constexpr std::size_t kPiece = 64 * 1024;

    void Append(std::string_view text)
    {
        while (!text.empty()) {
            if (m_parts.empty() || m_parts.back().size() == kPiece) {
                m_parts.emplace_back();
                m_parts.back().reserve(kPiece);
            }
            std::string &last = m_parts.back();
            const std::size_t room = std::min(text.size(), kPiece - last.size());
            last.append(text.substr(0, room));
            text.remove_prefix(room);
        }
    }

    // The last piece gives back what it reserved but did not use.
    std::vector<std::string> Take()
    {
        if (!m_parts.empty())
            m_parts.back().shrink_to_fit();
        return std::move(m_parts);
    }

    std::string Joined() const
    {
        std::string text;
        for (const std::string &part : m_parts)
            text += part;
        return text;
    }

private:
    std::vector<std::string> m_parts;
};

// The text node holding the value of node's last attribute.
xmlNodePtr LastValue(xmlNodePtr node)
{
    xmlAttrPtr attribute = node->properties;
    while (attribute->next)
        attribute = attribute->next;
    xmlNodePtr text = attribute->children;
    return text && text->type == XML_TEXT_NODE && !text->next ? text : nullptr;
}

// Set on the text node itself, the value is taken as it is: set on the
// attribute, "&" would start an entity reference. Emptied first, a node
// left without memory for the new value shows it by having none, whichever
// way this libxml2 version reports the failure.
void SetValue(xmlNodePtr text, const std::string &value, const std::string &path)
{
    xmlNodeSetContent(text, nullptr);
    xmlNodeSetContent(text, XmlText(KeepXmlChars(value).c_str()));
    if (!text->content)
        Fail(path, ENOMEM);
}

// libxml2's serialiser appending to Pieces, in the document's encoding:
// characters windows-1251 lacks come out as character references.
class Output {
public:
    explicit Output(Pieces &text)
        : m_text(text)
    {
        xmlResetLastError();
        m_save = xmlSaveToIO(&Output::Append, nullptr, this, kEncoding, 0);
        if (!m_save)
            m_cause = XmlCause(xmlGetLastError());
    }
    ~Output()
    {
        if (m_save)
            xmlSaveClose(m_save);
    }
    Output(const Output &) = delete;
    Output &operator=(const Output &) = delete;

    // Failures show in Finish.
    void Tree(xmlNodePtr node)
    {
        if (m_save)
            xmlSaveTree(m_save, node);
    }
    void Document(xmlDocPtr doc)
    {
        if (m_save)
            xmlSaveDoc(m_save, doc);
    }
    // Text libxml2 made earlier; what it has written so far goes first.
    void Raw(const std::string &text)
    {
        if (m_save && xmlSaveFlush(m_save) >= 0)
            m_text.Append(text);
    }

    // 0 or the cause of the first failure.
    int Finish()
    {
        if (!m_save)
            return m_cause;
        const int flushed = xmlSaveClose(std::exchange(m_save, nullptr));
        if (m_outOfMemory)
            return ENOMEM;
        return flushed < 0 ? XmlCause(xmlGetLastError()) : 0;
    }

private:
    static int Append(void *context, const char *buffer, int length)
    {
        auto *self = static_cast<Output *>(context);
        try {
            self->m_text.Append(std::string_view(buffer, static_cast<std::size_t>(length)));
            return length;
        } catch (const std::bad_alloc &) {
            self->m_outOfMemory = true;
            return -1;
        }
    }

    Pieces &m_text;
    xmlSaveCtxtPtr m_save = nullptr;
    int m_cause = 0;
    bool m_outOfMemory = false;
};

// The text before and after the one occurrence of part in whole.
std::pair<std::string, std::string> Around(const std::string &whole, const std::string &part, const std::string &path)
{
    const std::size_t at = whole.find(part);
    if (part.empty() || at == std::string::npos || whole.find(part, at + 1) != std::string::npos)
        Fail(path, kCauseXmlFailure);
    return { whole.substr(0, at), whole.substr(at + part.size()) };
}

// What libxml2 writes for parent, or for the whole document when parent is
// its root, while child is parent's one child.
std::string TextWith(xmlDocPtr doc, xmlNodePtr parent, xmlNodePtr child, const std::string &path)
{
    Pieces text;
    xmlAddChild(parent, child);
    int cause = 0;
    {
        Output out(text);
        if (parent == xmlDocGetRootElement(doc))
            out.Document(doc);
        else
            out.Tree(parent);
        cause = out.Finish();
    }
    xmlUnlinkNode(child);
    if (cause != 0)
        Fail(path, cause);
    return text.Joined();
}

std::string TextOf(xmlNodePtr node, const std::string &path)
{
    Pieces text;
    Output out(text);
    out.Tree(node);
    if (const int cause = out.Finish())
        Fail(path, cause);
    return text.Joined();
}

} // namespace

void ResultWriter::DocDeleter::operator()(_xmlDoc *doc) const
{
    xmlFreeDoc(doc);
}

ResultWriter::ResultWriter() = default;
ResultWriter::~ResultWriter() = default;

void ResultWriter::Activate(const std::string &path)
{
    if (m_doc)
        return;
    XmlRuntime::Start();
    const std::unique_ptr<xmlParserCtxt, ParserFreer> parser(xmlNewParserCtxt());
    if (!parser)
        Fail(path, ENOMEM);
    // No network, no DTD, no external entities: the template is ours, but the
    // parser should not reach out for anything while reading it. Its errors
    // stay with the parser; nothing goes to stderr.
    std::unique_ptr<_xmlDoc, DocDeleter> doc(
        xmlCtxtReadMemory(parser.get(), kTemplate.data(), static_cast<int>(kTemplate.size()), nullptr, nullptr,
            XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    xmlNodePtr root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (!root)
        Fail(path, XmlCause(xmlCtxtGetLastError(parser.get())));

    // The text around the blocks, as libxml2 writes the document once it has
    // any: found by writing it around a marker whose own text is known.
    const Node marker = NewElement(doc.get(), "Marker", path);
    const std::string markerText = TextOf(marker.get(), path);
    auto [head, tail] = Around(TextWith(doc.get(), root, marker.get(), path), markerText, path);
    const Node data = NewElement(doc.get(), "Data", path);
    auto [dataHead, dataTail] = Around(TextWith(doc.get(), data.get(), marker.get(), path), markerText, path);

    m_head = std::move(head);
    m_tail = std::move(tail);
    m_dataHead = std::move(dataHead);
    m_dataTail = std::move(dataTail);
    m_doc = std::move(doc);
}

// One Columns and one Data block as libxml2 writes them. The records go out
// one at a time through a single Record element whose values change, so a
// long log never stands as nodes.
std::vector<std::string> ResultWriter::Block(const MoveLog &log, const std::string &path) const
{
    xmlDocPtr doc = m_doc.get();
    Pieces block;
    Output out(block);

    const Node columns = NewElement(doc, "Columns", path);
    for (int i = 0; i < log.ColumnCount(); ++i) {
        xmlNodePtr column = AppendElement(columns.get(), "ListColumn", path);
        AppendAttribute(column, "Name", "Column" + std::to_string(i), path);
        AppendAttribute(column, "Caption", log.ColumnCaption(i), path);
    }
    out.Tree(columns.get());

    if (log.RowCount() == 0) {
        out.Tree(NewElement(doc, "Data", path).get());
    } else {
        const Node record = NewElement(doc, "Record", path);
        // The text node under each attribute: its content is the value.
        std::vector<xmlNodePtr> values;
        for (int k = 0; k < log.ColumnCount(); ++k) {
            AppendAttribute(record.get(), "Column" + std::to_string(k), "", path);
            values.push_back(record->properties ? LastValue(record.get()) : nullptr);
            if (!values.back())
                Fail(path, kCauseXmlFailure);
        }
        out.Raw(m_dataHead);
        for (int r = 0; r < log.RowCount(); ++r) {
            for (int k = 0; k < log.ColumnCount(); ++k)
                SetValue(values[static_cast<std::size_t>(k)], log.Cell(r, k), path);
            out.Tree(record.get());
        }
        out.Raw(m_dataTail);
    }
    if (const int cause = out.Finish())
        Fail(path, cause);
    return block.Take();
}

void ResultWriter::AddBlock(const MoveLog &log, const std::string &path)
{
    try {
        Activate(path);
        std::vector<std::string> block = Block(log, path);
        m_blocks.reserve(m_blocks.size() + block.size());
        m_blockStarts.reserve(m_blockStarts.size() + 1);
        m_blockStarts.push_back(m_blocks.size());
        std::move(block.begin(), block.end(), std::back_inserter(m_blocks));
    } catch (const std::bad_alloc &) {
        Fail(path, ENOMEM);
    }
}

void ResultWriter::Save(const MoveLog &log, const std::string &path)
{
    AddBlock(log, path);
    WriteWith(path, {}, 0, InPlace::WhenRefused);
}

void ResultWriter::SaveCopy(const MoveLog &log, const std::string &path)
{
    try {
        Activate(path);
        const std::vector<std::string> block = Block(log, path);
        std::vector<std::string_view> pieces;
        pieces.reserve(m_blocks.size() + block.size() + 2);
        pieces.emplace_back(m_head);
        pieces.insert(pieces.end(), m_blocks.begin(), m_blocks.end());
        pieces.insert(pieces.end(), block.begin(), block.end());
        pieces.emplace_back(m_tail);
        WriteFileAtomically(path, pieces);
    } catch (const std::bad_alloc &) {
        Fail(path, ENOMEM);
    }
}

namespace {

// Hands each save of a file being read to render, once its records are in.
// Nothing may be thrown through libxml2: the first failure is kept and the
// rest of the file only read.
class Rewriter final : public ResultVisitor {
public:
    using Render = std::function<void(const MoveLog &)>;

    explicit Rewriter(Render render)
        : m_render(std::move(render))
    {
    }

    void Save() override
    {
        Finish();
        m_open = true;
    }

    void Record(const ResultRecord &record) override
    {
        if (m_failure)
            return;
        try {
            m_log.Append({record.Columns[0], {record.Columns[1], record.Columns[2], record.Columns[3]}});
        } catch (...) {
            m_failure = std::current_exception();
        }
    }

    // The last save, and the first failure if any.
    void Finish()
    {
        if (m_open && !m_failure) {
            try {
                m_render(m_log);
            } catch (...) {
                m_failure = std::current_exception();
            }
        }
        m_open = false;
        m_log.Clear();
    }

    void RethrowFailure() const
    {
        if (m_failure)
            std::rethrow_exception(m_failure);
    }

private:
    Render m_render;
    MoveLog m_log;
    bool m_open = false;
    std::exception_ptr m_failure;
};

} // namespace

ResultWriter::Earlier ResultWriter::ReadBack(const std::string &path)
{
    Earlier earlier;
    struct stat status { };
    if (::lstat(path.c_str(), &status) != 0 && errno == ENOENT)
        return earlier;
    try {
        Activate(path);
        Rewriter rewriter([&](const MoveLog &log) {
            std::vector<std::string> block = Block(log, path);
            std::move(block.begin(), block.end(), std::back_inserter(earlier.Pieces));
            ++earlier.Blocks;
        });
        earlier.Problem = ReadResultFile(path, rewriter);
        if (earlier.Problem.empty()) {
            rewriter.Finish();
            rewriter.RethrowFailure();
        } else {
            earlier.Pieces.clear();
            earlier.Blocks = 0;
        }
    } catch (const std::bad_alloc &) {
        Fail(path, ENOMEM);
    }
    return earlier;
}

void ResultWriter::WriteWith(const std::string &path, const Earlier &earlier, std::size_t first, InPlace inPlace)
{
    try {
        Activate(path);
        const auto own = m_blocks.begin()
            + static_cast<std::ptrdiff_t>(first < m_blockStarts.size() ? m_blockStarts[first] : m_blocks.size());
        std::vector<std::string_view> pieces;
        pieces.reserve(earlier.Pieces.size() + static_cast<std::size_t>(m_blocks.end() - own) + 2);
        pieces.emplace_back(m_head);
        pieces.insert(pieces.end(), earlier.Pieces.begin(), earlier.Pieces.end());
        pieces.insert(pieces.end(), own, m_blocks.end());
        pieces.emplace_back(m_tail);
        WriteFileAtomically(path, pieces, inPlace);
    } catch (const std::bad_alloc &) {
        Fail(path, ENOMEM);
    }
}

void WriteResult(ResultWriter &xmldoc, const MoveLog &log, MessageBoxes &boxes)
{
    xmldoc.Save(log);
    boxes.Show(kMsgFileWritten, kCaptionFileWritten, kIconInformation);
}

std::string FileWrittenText(std::string_view fileName)
{
    return "Файл \"" + std::string(fileName) + "\" записан";
}

void WriteResultCopy(ResultWriter &xmldoc, const MoveLog &log, const std::string &path, const std::string &shownName,
                     MessageBoxes &boxes)
{
    try {
        xmldoc.SaveCopy(log, path);
    } catch (const SaveFailure &failure) {
        throw SaveFailure(shownName, failure.Cause());
    }
    boxes.Show(FileWrittenText(shownName), kCaptionFileWritten, kIconInformation);
}
