// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "result_writer.h"

#include "atomic_file.h"
#include "text_filters.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace {

// The document starts as this text, parsed like a file: its declaration sets
// the encoding the whole document is saved in.
constexpr std::string_view kTemplate = "<?xml version=\"1.0\" encoding=\"windows-1251\" standalone=\"yes\" ?>\r\n"
                                       "<ListStore/>\r\n";
constexpr const char *kEncoding = "windows-1251";

// Catches what libxml2 reports during one save, so nothing goes to stderr and
// the first error becomes the reason shown to the player.
class ErrorCapture {
public:
    ErrorCapture()
        : m_oldStructured(xmlStructuredError)
        , m_oldStructuredContext(xmlStructuredErrorContext)
        , m_oldGeneric(xmlGenericError)
        , m_oldGenericContext(xmlGenericErrorContext)
    {
        xmlSetStructuredErrorFunc(this, &ErrorCapture::OnError);
        xmlSetGenericErrorFunc(nullptr, &ErrorCapture::Ignore);
    }

    ~ErrorCapture()
    {
        xmlSetStructuredErrorFunc(m_oldStructuredContext, m_oldStructured);
        xmlSetGenericErrorFunc(m_oldGenericContext, m_oldGeneric);
    }

    ErrorCapture(const ErrorCapture &) = delete;
    ErrorCapture &operator=(const ErrorCapture &) = delete;

    bool Failed() const { return m_failed; }

    [[noreturn]] void Throw() const
    {
        std::string reason = TrimReason(m_message);
        throw std::runtime_error(reason.empty() ? kMsgUnknownError : reason);
    }

private:
    static void OnError(void *context, xmlErrorPtr error)
    {
        auto *self = static_cast<ErrorCapture *>(context);
        if (self->m_failed || !error || error->level < XML_ERR_ERROR)
            return;
        self->m_failed = true;
        // Out of memory, libxml2 may have no memory left for the message either.
        if (error->message)
            self->m_message = error->message;
        else if (error->code == XML_ERR_NO_MEMORY)
            self->m_message = std::strerror(ENOMEM);
    }

    static void Ignore(void *, const char *, ...) { }

    xmlStructuredErrorFunc m_oldStructured;
    void *m_oldStructuredContext;
    xmlGenericErrorFunc m_oldGeneric;
    void *m_oldGenericContext;
    bool m_failed = false;
    std::string m_message;
};

const xmlChar *XmlText(const std::string &text)
{
    return reinterpret_cast<const xmlChar *>(text.c_str());
}

xmlNodePtr AppendElement(xmlNodePtr parent, const char *name, const ErrorCapture &errors)
{
    xmlNodePtr node = xmlNewChild(parent, nullptr, reinterpret_cast<const xmlChar *>(name), nullptr);
    if (!node)
        errors.Throw();
    return node;
}

// Attributes are appended in call order. The value is taken as plain text,
// so libxml2 escapes markup in it when saving.
void AppendAttribute(xmlNodePtr node, const std::string &name, const std::string &value, const ErrorCapture &errors)
{
    if (!xmlNewProp(node, XmlText(name), XmlText(KeepXmlChars(value))))
        errors.Throw();
}

struct XmlFreer {
    void operator()(xmlChar *text) const { xmlFree(text); }
};

std::string Serialise(xmlDocPtr doc, const ErrorCapture &errors)
{
    xmlChar *text = nullptr;
    int size = 0;
    // Characters windows-1251 lacks come out as character references.
    xmlDocDumpMemoryEnc(doc, &text, &size, kEncoding);
    const std::unique_ptr<xmlChar, XmlFreer> owned(text);
    if (!text || size < 0 || errors.Failed())
        errors.Throw();
    return std::string(reinterpret_cast<const char *>(text), static_cast<std::size_t>(size));
}

} // namespace

void ResultWriter::DocDeleter::operator()(_xmlDoc *doc) const
{
    xmlFreeDoc(doc);
}

ResultWriter::ResultWriter() = default;
ResultWriter::~ResultWriter() = default;

void ResultWriter::Activate()
{
    if (m_doc)
        return;
    XmlRuntime::Start();
    ErrorCapture errors;
    // No network, no DTD, no external entities: the template is ours, but the
    // parser should not reach out for anything while reading it.
    std::unique_ptr<_xmlDoc, DocDeleter> doc(xmlReadMemory(
        kTemplate.data(), static_cast<int>(kTemplate.size()), nullptr, nullptr, XML_PARSE_NONET | XML_PARSE_NOBLANKS));
    if (!doc || !xmlDocGetRootElement(doc.get()))
        errors.Throw();
    m_doc = std::move(doc);
}

void ResultWriter::Save(const MoveLog &log, const std::string &path)
{
    Activate();
    ErrorCapture errors;
    xmlNodePtr root = xmlDocGetRootElement(m_doc.get());

    xmlNodePtr columns = AppendElement(root, "Columns", errors);
    for (int i = 0; i < log.ColumnCount(); ++i) {
        xmlNodePtr column = AppendElement(columns, "ListColumn", errors);
        AppendAttribute(column, "Name", "Column" + std::to_string(i), errors);
        AppendAttribute(column, "Caption", log.ColumnCaption(i), errors);
    }

    xmlNodePtr data = AppendElement(root, "Data", errors);
    for (int r = 0; r < log.RowCount(); ++r) {
        xmlNodePtr record = AppendElement(data, "Record", errors);
        for (int k = 0; k < log.ColumnCount(); ++k)
            AppendAttribute(record, "Column" + std::to_string(k), log.Cell(r, k), errors);
    }

    WriteFileAtomically(path, Serialise(m_doc.get(), errors));
}

void WriteResult(ResultWriter &xmldoc, const MoveLog &log, MessageBoxes &boxes)
{
    xmldoc.Save(log);
    boxes.Show(kMsgFileWritten, kCaptionFileWritten, kIconInformation);
}
