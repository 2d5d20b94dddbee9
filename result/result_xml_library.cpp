// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The lazy library "xml": the real readers and writer, with libxml2.
#include "result_xml.h"

#include "xml_runtime.h"

#include <libxml/tree.h>

namespace {

class Library final : public ResultXml {
public:
    std::string ReadResultFile(const std::string &path, ResultVisitor &visitor,
                               const std::atomic<bool> *stop) const override
    {
        return ::ReadResultFile(path, visitor, stop);
    }
    std::string ReadResultText(std::string_view bytes, ResultVisitor &visitor) const override
    {
        return ::ReadResultText(bytes, visitor);
    }
    ResultFile ReadResultFile(const std::string &path) const override { return ::ReadResultFile(path); }
    ResultFile ReadResultText(std::string_view bytes) const override { return ::ReadResultText(bytes); }
    void Save(ResultWriter &writer, const MoveLog &log, const std::string &path) const override
    {
        writer.Save(log, path);
    }
    void WriteResult(ResultWriter &writer, const MoveLog &log, MessageBoxes &boxes) const override
    {
        ::WriteResult(writer, log, boxes);
    }
    void WriteResultCopy(ResultWriter &writer, const MoveLog &log, const std::string &path,
                         const std::string &shownName, MessageBoxes &boxes) const override
    {
        ::WriteResultCopy(writer, log, path, shownName, boxes);
    }
    void AddBlock(ResultWriter &writer, const MoveLog &log, const std::string &path) const override
    {
        writer.AddBlock(log, path);
    }
    ResultWriter::Earlier ReadBack(ResultWriter &writer, const std::string &path) const override
    {
        return writer.ReadBack(path);
    }
    void WriteWith(ResultWriter &writer, const std::string &path, const ResultWriter::Earlier &earlier,
                   std::size_t first, InPlace inPlace) const override
    {
        writer.WriteWith(path, earlier, first, inPlace);
    }
    std::string FileWrittenText(std::string_view fileName) const override { return ::FileWrittenText(fileName); }
    void FreeDocument(_xmlDoc *doc) const override { xmlFreeDoc(doc); }
    void StartRuntime() const override { XmlRuntime::Start(); }
    bool RuntimeStarted() const override { return XmlRuntime::Started(); }
    // What the game's XmlRuntime does as it ends: this one's end does it here.
    void EndRuntime() const override { const XmlRuntime ending; }
};

} // namespace

SOSUDNIK_LAZY_EXPORT(ResultXml, Library)
