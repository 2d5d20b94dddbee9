// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "result_reader.h"

#include "markup_guard.h"
#include "regular_file.h"
#include "wording.h"
#include "xml_runtime.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlversion.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <memory>

#include <unistd.h>

namespace {

std::string Number(std::size_t n)
{
    return std::to_string(n);
}

// --- the file itself ----------------------------------------------------

std::string OpenProblem(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return "Нет прав на чтение файла.";
    case ELOOP:
        return "Ссылки на файл ведут по кругу.";
    case ENAMETOOLONG:
        return "Имя файла слишком длинное.";
    default:
        return "Файл не открыть: системная ошибка (errno " + std::to_string(error) + ").";
    }
}

// --- the XML ------------------------------------------------------------

#if LIBXML_VERSION >= 21200
using XmlErrorArg = const xmlError *;
#else
using XmlErrorArg = xmlErrorPtr;
#endif

std::string AtLine(int line)
{
    return line > 0 ? " (строка " + std::to_string(line) + ")" : std::string();
}

// What libxml2 found, as the teacher reads it.
std::string XmlProblem(const xmlError &error)
{
    const std::string where = AtLine(error.line);
    if (error.domain == XML_FROM_I18N || (error.domain == XML_FROM_IO && error.code == XML_IO_ENCODER))
        return "Текст не в той кодировке, которую называет файл" + where + ".";
    switch (error.code) {
    case XML_ERR_DOCUMENT_EMPTY:
        return "Это не XML: в файле не найден ни один элемент" + where + ".";
    case XML_ERR_UNKNOWN_ENCODING:
    case XML_ERR_UNSUPPORTED_ENCODING:
        return "Кодировка, названная в файле, не поддерживается.";
    case XML_ERR_INVALID_CHAR:
    case XML_ERR_INVALID_ENCODING:
    case XML_I18N_CONV_FAILED:
        return "Текст не в той кодировке, которую называет файл, или с недопустимым знаком" + where + ".";
    case XML_ERR_UNDECLARED_ENTITY:
    case XML_WAR_UNDECLARED_ENTITY:
        return "Ссылка на неизвестную сущность" + where + ": в файле результата бывают только &amp;, &lt;, "
               "&gt;, &quot; и &apos;.";
    case XML_ERR_NO_MEMORY:
        return "Не хватило памяти, чтобы прочитать файл.";
    default:
        break;
    }
    if (error.domain == XML_FROM_NAMESPACE)
        return "Ошибка в пространствах имен XML" + where + ".";
    return "Это не XML: разметка нарушена" + where + ".";
}

constexpr std::string_view kRoot = "ListStore";
constexpr std::string_view kColumns = "Columns";
constexpr std::string_view kColumn = "ListColumn";
constexpr std::string_view kData = "Data";
constexpr std::string_view kRecord = "Record";
constexpr const char *kAttributes[] = {"Column0", "Column1", "Column2", "Column3"};

std::string_view Text(const xmlChar *text)
{
    return text ? std::string_view(reinterpret_cast<const char *>(text)) : std::string_view();
}

std::string ElementName(const xmlChar *prefix, const xmlChar *localname, const xmlChar *uri)
{
    std::string name(Text(prefix));
    if (!name.empty())
        name += ':';
    name = Quoted(name + std::string(Text(localname)));
    if (uri)
        name += " из пространства имен " + Quoted(Text(uri));
    return name;
}

bool IsBlank(std::string_view text)
{
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// libxml2 hands attribute values over with every "&" as "&#38;" unless it
// substitutes entities itself, which this reader never asks for; some
// versions may hand them over decoded. Either way the value comes out as
// the file means it.
void DecodeAmpersands(std::string &value)
{
    constexpr std::string_view kReference = "&#38;";
    std::size_t at = value.find(kReference);
    if (at == std::string::npos)
        return;
    std::string out(value, 0, at);
    while (at != std::string::npos) {
        out += '&';
        const std::size_t from = at + kReference.size();
        at = value.find(kReference, from);
        out.append(value, from, at == std::string::npos ? std::string::npos : at - from);
    }
    value = std::move(out);
}

#if LIBXML_VERSION < 21300
// Before 2.13 libxml2 tells a failed conversion of the input (a byte the
// declared encoding lacks) to no parser context but to the thread's global
// handlers, by default on stderr. For one parse they point at the reader,
// and the previous ones come back after it.
class ConversionErrorsTo {
public:
    ConversionErrorsTo(void *reader, xmlStructuredErrorFunc handler)
        : m_structured(xmlStructuredError)
        , m_structuredContext(xmlStructuredErrorContext)
        , m_generic(xmlGenericError)
        , m_genericContext(xmlGenericErrorContext)
    {
        xmlSetStructuredErrorFunc(reader, handler);
        xmlSetGenericErrorFunc(nullptr, &Ignore);
    }
    ~ConversionErrorsTo()
    {
        xmlSetStructuredErrorFunc(m_structuredContext, m_structured);
        xmlSetGenericErrorFunc(m_genericContext, m_generic);
    }
    ConversionErrorsTo(const ConversionErrorsTo &) = delete;
    ConversionErrorsTo &operator=(const ConversionErrorsTo &) = delete;

private:
    static void Ignore(void *, const char *, ...) { }

    xmlStructuredErrorFunc m_structured;
    void *m_structuredContext;
    xmlGenericErrorFunc m_generic;
    void *m_genericContext;
};
#endif

// Where the bytes come from: memory, or a file read as it is parsed. Either
// way they pass the guard before the parser sees them.
struct Source {
    std::string_view Bytes; // when Fd < 0
    int Fd = -1;
    std::size_t Read = 0; // bytes read so far
    bool TooLarge = false; // the file grew past the limit while it was read
    const std::atomic<bool> *Stop = nullptr;
    bool Stopped = false;
    bool Ended = false; // the parser has found an error: nothing more is read
    MarkupGuard Guard;
    std::string Refused; // what the guard found
};

// One parse: the SAX events go to the visitor as they come, with no tree in
// between. The first thing that is wrong, an XML error or something that
// does not belong to the format, is the reason, and the reading ends there;
// a file cut short says so rather than what it lacks.
class Reader {
public:
    Reader(ResultVisitor &visitor, bool decodeAmpersands)
        : m_visitor(visitor)
        , m_decodeAmpersands(decodeAmpersands)
    {
    }

    std::string Read(Source &source)
    {
        m_source = &source;
        xmlSAXHandler sax{};
        sax.initialized = XML_SAX2_MAGIC;
        sax.internalSubset = &Reader::OnDoctype;
        sax.startElementNs = &Reader::OnStart;
        sax.endElementNs = &Reader::OnEnd;
        sax.characters = &Reader::OnText;
        sax.cdataBlock = &Reader::OnText;
        sax.endDocument = &Reader::OnEndDocument;
        // Errors go to this parse alone: nothing reaches stderr or another parse.
        sax.serror = &Reader::OnError;
        // No getEntity, no resolveEntity, no externalSubset: there is nothing
        // to look entities up in, and nothing is ever fetched.

#if LIBXML_VERSION >= 21100
        m_ctxt = xmlNewSAXParserCtxt(&sax, this);
#else
        m_ctxt = xmlNewParserCtxt();
        if (m_ctxt) {
            *m_ctxt->sax = sax;
            m_ctxt->userData = this;
        }
#endif
        if (!m_ctxt)
            return "Не хватило памяти, чтобы прочитать файл.";
        const std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> owned(m_ctxt, xmlFreeParserCtxt);

        // No network, no DTD loaded or applied, entities left unsubstituted,
        // and the parser's own limits on depth and text length kept.
        int options = XML_PARSE_NONET;
#if LIBXML_VERSION >= 21300
        options |= XML_PARSE_NO_XXE;
#else
        const ConversionErrorsTo conversionErrors(this, &Reader::OnError);
#endif
        // No URL: nothing relative to resolve against. With this handler no
        // document is built, so there is nothing to free.
        xmlCtxtReadIO(m_ctxt, &Reader::ReadMore, nullptr, &source, nullptr, nullptr, options);

        if (source.Stopped)
            return "Проверка остановлена.";
        if (source.TooLarge)
            return "Файл больше 16 МиБ: он вырос, пока его читали.";
        if (m_doctype)
            return "В файле есть объявление DOCTYPE, а в файлах результата его не бывает.";
        if (!source.Refused.empty())
            return source.Refused;
        if (!m_xmlProblem.empty())
            return m_xmlProblem;
        if (!m_structureProblem.empty())
            return m_structureProblem;
        if (!m_ended)
            return "Это не XML: файл оборван или разметка нарушена.";
        if (m_saves == 0)
            return "В файле нет ни одного сохранения (элемента Data).";
        if (m_awaitingData)
            return "За последним элементом Columns нет его Data.";
        return {};
    }

private:
    static Reader &Of(void *data) { return *static_cast<Reader *>(data); }

    // libxml2 asks for the next piece of the file; past the limit, at what
    // the guard refuses or when the check is stopped the read fails, and the
    // parse with it.
    static int ReadMore(void *context, char *buffer, int length)
    {
        auto &source = *static_cast<Source *>(context);
        if (source.Ended)
            return 0;
        if (source.Stop && source.Stop->load(std::memory_order_relaxed)) {
            source.Stopped = true;
            return -1;
        }
        std::size_t got = 0;
        if (source.Fd < 0) {
            got = std::min(source.Bytes.size() - source.Read, static_cast<std::size_t>(length));
            std::copy_n(source.Bytes.data() + source.Read, got, buffer);
        } else {
            ssize_t n = 0;
            do
                n = ::read(source.Fd, buffer, static_cast<std::size_t>(length));
            while (n < 0 && errno == EINTR);
            if (n < 0)
                return -1;
            got = static_cast<std::size_t>(n);
        }
        source.Read += got;
        if (source.Read > kMaxResultFileBytes) {
            source.TooLarge = true;
            return -1;
        }
        source.Refused = source.Guard.Look(std::string_view(buffer, got));
        return source.Refused.empty() ? static_cast<int>(got) : -1;
    }

    // Called from the parser's own callbacks, where it may be stopped: the
    // rest of a file that is not of the format is not worth reading.
    void Fail(std::string problem)
    {
        if (!m_structureProblem.empty())
            return;
        m_structureProblem = std::move(problem);
        xmlStopParser(m_ctxt);
    }

    // The game never writes a DOCTYPE; with one, a file could declare
    // entities that expand a thousandfold or name other files. The parse
    // stops here, before a single declaration of it is read.
    static void OnDoctype(void *data, const xmlChar *, const xmlChar *, const xmlChar *)
    {
        Reader &self = Of(data);
        self.m_doctype = true;
        xmlStopParser(self.m_ctxt);
    }

    // The first error is the reason, so no more of the file is handed over:
    // libxml2 would go on reading the rest of it for nothing. (Stopping the
    // parser here could free the very input it is decoding.)
    static void OnError(void *data, XmlErrorArg error)
    {
        Reader &self = Of(data);
        if (!error || error->level < XML_ERR_ERROR || !self.m_xmlProblem.empty())
            return;
        self.m_xmlProblem = XmlProblem(*error);
        if (self.m_source)
            self.m_source->Ended = true;
    }

    static void OnEndDocument(void *data) { Of(data).m_ended = true; }

    static void OnText(void *data, const xmlChar *text, int length)
    {
        const std::string_view chunk(reinterpret_cast<const char *>(text), static_cast<std::size_t>(length));
        if (Of(data).m_structureProblem.empty() && !IsBlank(chunk))
            Of(data).Fail("Текст " + Quoted(chunk) + " между элементами: в файле результата его не бывает.");
    }

    static void OnEnd(void *data, const xmlChar *, const xmlChar *, const xmlChar *) { --Of(data).m_depth; }

    static void OnStart(void *data, const xmlChar *localname, const xmlChar *prefix, const xmlChar *uri, int,
                        const xmlChar **, int attributeCount, int, const xmlChar **attributes)
    {
        Reader &self = Of(data);
        const int depth = self.m_depth++;
        if (!self.m_structureProblem.empty())
            return;
        // Named only in a reason, so a record costs no quoting.
        const auto shown = [=] { return ElementName(prefix, localname, uri); };
        self.Start(depth, uri ? std::string_view() : Text(localname), shown, attributeCount, attributes);
    }

    std::string Place() const { return "В сохранении " + Number(m_saves + (m_awaitingData ? 1 : 0)); }

    template <class Shown>
    void Start(int depth, std::string_view name, const Shown &shown, int attributeCount, const xmlChar **attributes)
    {
        switch (depth) {
        case 0:
            if (name != kRoot)
                Fail("Корневой элемент " + shown() + ", а в файле результата это ListStore.");
            return;
        case 1:
            if (name == kColumns) {
                if (m_awaitingData)
                    Fail("Два элемента Columns подряд: после каждого должен идти свой Data.");
                m_awaitingData = true;
                m_parent = Parent::Columns;
            } else if (name == kData) {
                if (!m_awaitingData) {
                    Fail("Элемент Data без элемента Columns перед ним.");
                    return;
                }
                m_awaitingData = false;
                m_parent = Parent::Data;
                ++m_saves;
                m_records = 0;
                m_visitor.Save();
            } else {
                Fail("В ListStore элемент " + shown() + ", а бывают только Columns и Data.");
            }
            return;
        case 2:
            if (m_parent == Parent::Columns && name != kColumn)
                Fail(Place() + " в Columns элемент " + shown() + ", а бывают только ListColumn.");
            else if (m_parent == Parent::Data && name != kRecord)
                Fail(Place() + " в Data элемент " + shown() + ", а бывают только Record.");
            else if (m_parent == Parent::Data)
                AddRecord(attributeCount, attributes);
            return;
        default:
            Fail(Place() + " внутри " + (m_parent == Parent::Data ? "Record" : "ListColumn") + " элемент " + shown()
                 + ": там их не бывает.");
            return;
        }
    }

    // attributes: localname, prefix, URI, value, end for each.
    void AddRecord(int attributeCount, const xmlChar **attributes)
    {
        bool found[4] = {};
        for (int a = 0; a < attributeCount; ++a) {
            const xmlChar **attribute = attributes + 5 * a;
            if (attribute[2])
                continue; // in a namespace: not one of ours
            const std::string_view name = Text(attribute[0]);
            for (std::size_t k = 0; k < 4; ++k) {
                if (name != kAttributes[k])
                    continue;
                std::string &column = m_record.Columns[k];
                column.assign(reinterpret_cast<const char *>(attribute[3]),
                              static_cast<std::size_t>(attribute[4] - attribute[3]));
                if (m_decodeAmpersands)
                    DecodeAmpersands(column);
                found[k] = true;
            }
        }
        for (std::size_t k = 0; k < 4; ++k) {
            if (!found[k]) {
                Fail(Place() + " у хода " + Number(m_records) + " (элемент Record номер " + Number(m_records + 1)
                     + ") нет атрибута " + kAttributes[k] + ".");
                return;
            }
        }
        ++m_records;
        m_visitor.Record(m_record);
    }

    enum class Parent { None, Columns, Data };

    ResultVisitor &m_visitor;
    const bool m_decodeAmpersands;
    xmlParserCtxtPtr m_ctxt = nullptr;
    Source *m_source = nullptr;
    ResultRecord m_record; // reused: its strings keep their room from record to record
    int m_depth = 0;
    Parent m_parent = Parent::None;
    std::size_t m_saves = 0;
    std::size_t m_records = 0; // in the current save
    bool m_awaitingData = false; // a Columns has come, its Data not yet
    bool m_ended = false;
    bool m_doctype = false;
    std::string m_xmlProblem; // the first error libxml2 reported
    std::string m_structureProblem; // the first thing that is no part of the format
};

// Gathers a whole file.
class Collector final : public ResultVisitor {
public:
    void Save() override { File.Blocks.emplace_back(); }
    void Record(const ResultRecord &record) override { File.Blocks.back().Records.push_back(record); }

    ResultFile File;
};

ResultFile Collected(Collector &collector, std::string problem)
{
    ResultFile file = std::move(collector.File);
    file.Problem = std::move(problem);
    if (!file.Readable())
        file.Blocks.clear();
    return file;
}

// Whether this libxml2 hands "&" in attribute values over as "&#38;": asked
// of the library itself once, so a value comes out right on any version.
bool AmpersandsComeAsReferences()
{
    static const bool asReferences = [] {
        Collector probe;
        Source source;
        source.Bytes = "<ListStore><Columns/><Data>"
                       "<Record Column0=\"&amp;\" Column1=\"\" Column2=\"\" Column3=\"\"/>"
                       "</Data></ListStore>";
        const std::string problem = Reader(probe, false).Read(source);
        return problem.empty() && probe.File.Blocks[0].Records[0].Columns[0] != "&";
    }();
    return asReferences;
}

std::string TooLarge(std::size_t size)
{
    return "Файл больше 16 МиБ (" + Number(size) + " байт): такие не проверяются.";
}

std::string Parse(Source &source, ResultVisitor &visitor)
{
    XmlRuntime::Start();
    return Reader(visitor, AmpersandsComeAsReferences()).Read(source);
}

} // namespace

std::string ReadResultText(std::string_view bytes, ResultVisitor &visitor)
{
    if (bytes.size() > kMaxResultFileBytes)
        return TooLarge(bytes.size());
    if (bytes.empty())
        return "Файл пуст.";
    Source source;
    source.Bytes = bytes;
    return Parse(source, visitor);
}

std::string ReadResultFile(const std::string &path, ResultVisitor &visitor, const std::atomic<bool> *stop)
{
    const RegularFile file(path, kMaxResultFileBytes);
    switch (file.Refused()) {
    case RegularFile::Refusal::None:
        break;
    case RegularFile::Refusal::Missing:
        return "Файла нет.";
    case RegularFile::Refusal::Folder:
        return "Это папка, а не файл.";
    case RegularFile::Refusal::NotRegular:
        return "Это не обычный файл.";
    // Refused by its size alone: not a byte is read.
    case RegularFile::Refusal::TooLarge:
        return TooLarge(static_cast<std::size_t>(file.Size()));
    case RegularFile::Refusal::System:
        return OpenProblem(file.Error());
    }
    if (file.Size() == 0)
        return "Файл пуст.";
    Source source;
    source.Fd = file.Fd();
    source.Stop = stop;
    return Parse(source, visitor);
}

ResultFile ReadResultText(std::string_view bytes)
{
    Collector collector;
    std::string problem = ReadResultText(bytes, collector);
    return Collected(collector, std::move(problem));
}

ResultFile ReadResultFile(const std::string &path)
{
    Collector collector;
    std::string problem = ReadResultFile(path, collector);
    return Collected(collector, std::move(problem));
}
