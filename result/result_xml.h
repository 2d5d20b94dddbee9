// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lazy_library.h"
#include "result_reader.h"
#include "result_writer.h"

#include <string>
#include <string_view>

// Everything in result/ that calls libxml2, as the game reaches it: the game
// is linked with stand-ins (result_xml_stand_ins.cpp) that open the lazy
// library "xml" on first use and pass the call on to the functions of the same
// names in it, so that libxml2 is loaded by the first save or check and not at
// start-up. The tests and tools link those functions directly.
class ResultXml {
public:
    virtual std::string ReadResultFile(const std::string &path, ResultVisitor &visitor,
                                       const std::atomic<bool> *stop) const = 0;
    virtual std::string ReadResultText(std::string_view bytes, ResultVisitor &visitor) const = 0;
    virtual ResultFile ReadResultFile(const std::string &path) const = 0;
    virtual ResultFile ReadResultText(std::string_view bytes) const = 0;
    virtual void Save(ResultWriter &writer, const MoveLog &log, const std::string &path) const = 0;
    virtual void WriteResult(ResultWriter &writer, const MoveLog &log, MessageBoxes &boxes) const = 0;
    virtual void WriteResultCopy(ResultWriter &writer, const MoveLog &log, const std::string &path,
                                 const std::string &shownName, MessageBoxes &boxes) const = 0;
    virtual void AddBlock(ResultWriter &writer, const MoveLog &log, const std::string &path) const = 0;
    virtual ResultWriter::Earlier ReadBack(ResultWriter &writer, const std::string &path) const = 0;
    virtual void WriteWith(ResultWriter &writer, const std::string &path, const ResultWriter::Earlier &earlier,
                           std::size_t first, InPlace inPlace) const = 0;
    virtual std::string FileWrittenText(std::string_view fileName) const = 0;
    virtual void FreeDocument(_xmlDoc *doc) const = 0;
    virtual void StartRuntime() const = 0;
    virtual bool RuntimeStarted() const = 0;
    virtual void EndRuntime() const = 0;

protected:
    ~ResultXml() = default;
};

SOSUDNIK_LAZY_NAME(ResultXml, "xml");
