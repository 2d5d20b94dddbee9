// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "result_reader.h"

#include "wording.h"
#include "xml_runtime.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlversion.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

ResultFile Refused(std::string problem)
{
    ResultFile file;
    file.Problem = std::move(problem);
    return file;
}

std::string Number(std::size_t n)
{
    return std::to_string(n);
}

// --- the file itself ----------------------------------------------------

std::string OpenProblem(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return "Файла нет.";
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

struct FdCloser {
    int Fd;
    ~FdCloser() { ::close(Fd); }
};

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

// One parse: the SAX events build the blocks directly, with no tree in
// between, and the first thing that does not belong ends the parse.
class Reader {
public:
    explicit Reader(bool decodeAmpersands)
        : m_decodeAmpersands(decodeAmpersands)
    {
    }

    ResultFile Read(std::string_view bytes)
    {
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
            return Refused("Не хватило памяти, чтобы прочитать файл.");
        const std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> owned(m_ctxt, xmlFreeParserCtxt);

        // No network, no DTD loaded or applied, entities left unsubstituted,
        // and the parser's own limits on depth and text length kept.
        int options = XML_PARSE_NONET;
#if LIBXML_VERSION >= 21300
        options |= XML_PARSE_NO_XXE;
#endif
#if LIBXML_VERSION < 21300
        const ConversionErrorsTo conversionErrors(this, &Reader::OnError);
#endif
        // No URL: nothing relative to resolve against. With this handler no
        // document is built, so there is nothing to free.
        xmlCtxtReadMemory(m_ctxt, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr, options);

        if (m_doctype)
            m_file.Problem = "В файле есть объявление DOCTYPE, а в файлах результата его не бывает.";
        else if (!m_xmlProblem.empty())
            m_file.Problem = m_xmlProblem;
        else if (!m_ended)
            m_file.Problem = "Это не XML: файл оборван или разметка нарушена.";
        else if (!m_structureProblem.empty())
            m_file.Problem = m_structureProblem;
        else if (m_file.Blocks.empty())
            m_file.Problem = "В файле нет ни одного сохранения (элемента Data).";
        else if (m_awaitingData)
            m_file.Problem = "За последним элементом Columns нет его Data.";
        if (!m_file.Problem.empty())
            m_file.Blocks.clear();
        return std::move(m_file);
    }

private:
    static Reader &Of(void *data) { return *static_cast<Reader *>(data); }

    // The first thing that does not belong; later events are ignored. The
    // parse goes on all the same: a file cut short in the middle of a
    // record should say so, not that the record lacks its attributes.
    void Fail(std::string problem)
    {
        if (m_structureProblem.empty())
            m_structureProblem = std::move(problem);
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

    static void OnError(void *data, XmlErrorArg error)
    {
        Reader &self = Of(data);
        if (!error || error->level < XML_ERR_ERROR || !self.m_xmlProblem.empty())
            return;
        self.m_xmlProblem = XmlProblem(*error);
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

    std::string Place() const
    {
        return "В сохранении " + Number(m_file.Blocks.size() + (m_awaitingData ? 1 : 0));
    }

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
                if (!m_awaitingData)
                    Fail("Элемент Data без элемента Columns перед ним.");
                m_awaitingData = false;
                m_parent = Parent::Data;
                m_file.Blocks.emplace_back();
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
        ResultRecord record;
        bool found[4] = {};
        for (int a = 0; a < attributeCount; ++a) {
            const xmlChar **attribute = attributes + 5 * a;
            if (attribute[2])
                continue; // in a namespace: not one of ours
            const std::string_view name = Text(attribute[0]);
            for (std::size_t k = 0; k < 4; ++k) {
                if (name != kAttributes[k])
                    continue;
                record.Columns[k].assign(reinterpret_cast<const char *>(attribute[3]),
                                         static_cast<std::size_t>(attribute[4] - attribute[3]));
                if (m_decodeAmpersands)
                    DecodeAmpersands(record.Columns[k]);
                found[k] = true;
            }
        }
        ResultBlock &block = m_file.Blocks.back();
        for (std::size_t k = 0; k < 4; ++k) {
            if (!found[k]) {
                Fail(Place() + " у хода " + Number(block.Records.size()) + " (элемент Record номер "
                     + Number(block.Records.size() + 1) + ") нет атрибута " + kAttributes[k] + ".");
                return;
            }
        }
        block.Records.push_back(std::move(record));
    }

    enum class Parent { None, Columns, Data };

    const bool m_decodeAmpersands;
    xmlParserCtxtPtr m_ctxt = nullptr;
    ResultFile m_file;
    int m_depth = 0;
    Parent m_parent = Parent::None;
    bool m_awaitingData = false; // a Columns has come, its Data not yet
    bool m_ended = false;
    bool m_doctype = false;
    std::string m_xmlProblem; // the first error libxml2 reported
    std::string m_structureProblem; // the first thing that is no part of the format
};

// Whether this libxml2 hands "&" in attribute values over as "&#38;": asked
// of the library itself once, so a value comes out right on any version.
bool AmpersandsComeAsReferences()
{
    static const bool asReferences = [] {
        constexpr std::string_view kProbe = "<ListStore><Columns/><Data>"
                                            "<Record Column0=\"&amp;\" Column1=\"\" Column2=\"\" Column3=\"\"/>"
                                            "</Data></ListStore>";
        const ResultFile probe = Reader(false).Read(kProbe);
        return probe.Readable() && probe.Blocks[0].Records[0].Columns[0] != "&";
    }();
    return asReferences;
}

} // namespace

ResultFile ReadResultText(std::string_view bytes)
{
    if (bytes.size() > kMaxResultFileBytes)
        return Refused("Файл больше 16 МиБ (" + Number(bytes.size()) + " байт): такие не проверяются.");
    if (bytes.empty())
        return Refused("Файл пуст.");
    XmlRuntime::Start();
    return Reader(AmpersandsComeAsReferences()).Read(bytes);
}

ResultFile ReadResultFile(const std::string &path)
{
    // Not blocking: a FIFO or a device opens at once and is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return Refused(OpenProblem(errno));
    const FdCloser closer{fd};
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return Refused(OpenProblem(errno));
    if (S_ISDIR(status.st_mode))
        return Refused("Это папка, а не файл.");
    if (!S_ISREG(status.st_mode))
        return Refused("Это не обычный файл.");
    // Refused by its size alone: not a byte is read.
    if (static_cast<unsigned long long>(status.st_size) > kMaxResultFileBytes)
        return Refused("Файл больше 16 МиБ (" + std::to_string(status.st_size) + " байт): такие не проверяются.");

    // One byte more than allowed tells a file that grew since.
    std::string bytes(static_cast<std::size_t>(status.st_size) + 1, '\0');
    std::size_t have = 0;
    while (have < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + have, bytes.size() - have);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Refused("Файл не прочитать: ошибка ввода-вывода.");
        if (got == 0)
            break;
        have += static_cast<std::size_t>(got);
    }
    if (have > kMaxResultFileBytes)
        return Refused("Файл больше 16 МиБ: такие не проверяются.");
    bytes.resize(have);
    return ReadResultText(bytes);
}
