// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Linked into the game in place of result/'s functions that call libxml2: the
// same functions, passed on to the lazy library "xml", which is opened by the
// first of them that needs it. Every function of result_reader.cpp,
// result_writer.cpp and xml_runtime.cpp that code outside them calls has its
// stand-in here; one missing shows at the game's link as a second definition.
#include "result_xml.h"

#include "xml_runtime.h"

std::string ReadResultFile(const std::string &path, ResultVisitor &visitor, const std::atomic<bool> *stop)
{
    return Lazy<ResultXml>().ReadResultFile(path, visitor, stop);
}

std::string ReadResultText(std::string_view bytes, ResultVisitor &visitor)
{
    return Lazy<ResultXml>().ReadResultText(bytes, visitor);
}

ResultFile ReadResultFile(const std::string &path)
{
    return Lazy<ResultXml>().ReadResultFile(path);
}

ResultFile ReadResultText(std::string_view bytes)
{
    return Lazy<ResultXml>().ReadResultText(bytes);
}

// The writer is made with the window and stays empty until the first save.
ResultWriter::ResultWriter() = default;
ResultWriter::~ResultWriter() = default;

void ResultWriter::Save(const MoveLog &log, const std::string &path)
{
    Lazy<ResultXml>().Save(*this, log, path);
}

void ResultWriter::DocDeleter::operator()(_xmlDoc *doc) const
{
    // Only a save makes a document, and the library is open by then.
    Lazy<ResultXml>().FreeDocument(doc);
}

void WriteResult(ResultWriter &xmldoc, const MoveLog &log, MessageBoxes &boxes)
{
    Lazy<ResultXml>().WriteResult(xmldoc, log, boxes);
}

void WriteResultCopy(ResultWriter &xmldoc, const MoveLog &log, const std::string &path, const std::string &shownName,
                     MessageBoxes &boxes)
{
    Lazy<ResultXml>().WriteResultCopy(xmldoc, log, path, shownName, boxes);
}

void ResultWriter::AddBlock(const MoveLog &log, const std::string &path)
{
    Lazy<ResultXml>().AddBlock(*this, log, path);
}

ResultWriter::Earlier ResultWriter::ReadBack(const std::string &path)
{
    return Lazy<ResultXml>().ReadBack(*this, path);
}

void ResultWriter::WriteWith(const std::string &path, const Earlier &earlier, std::size_t first, InPlace inPlace)
{
    Lazy<ResultXml>().WriteWith(*this, path, earlier, first, inPlace);
}

std::string FileWrittenText(std::string_view fileName)
{
    return Lazy<ResultXml>().FileWrittenText(fileName);
}

void XmlRuntime::Start()
{
    Lazy<ResultXml>().StartRuntime();
}

bool XmlRuntime::Started()
{
    const ResultXml *xml = LazyIfLoaded<ResultXml>();
    return xml && xml->RuntimeStarted();
}

XmlRuntime::~XmlRuntime()
{
    if (const ResultXml *xml = LazyIfLoaded<ResultXml>())
        xml->EndRuntime();
}
