// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "message_boxes.h"
#include "move_log.h"
#include "save_failure.h"
#include "xml_runtime.h"

#include <memory>
#include <string>
#include <vector>

struct _xmlDoc;

inline constexpr const char *kResultFileName = "sosudnik.xml";
inline constexpr const char *kMsgFileWritten = "Файл \"sosudnik.xml\" записан";
inline constexpr const char *kCaptionFileWritten = "Запись файла";

// The document behind "Запись результата". It lives as long as the window,
// is inactive until the first save and is never reset: every save adds the
// current log to what is there and writes the whole document.
//
// The blocks of earlier saves are kept as the bytes libxml2 wrote for them,
// not as nodes: a node costs some twenty times its text, and a long game
// saved often would otherwise hold hundreds of megabytes. A save then costs
// its own block and the write.
class ResultWriter {
public:
    ResultWriter();
    ~ResultWriter();
    ResultWriter(const ResultWriter &) = delete;
    ResultWriter &operator=(const ResultWriter &) = delete;

    bool Active() const { return m_doc != nullptr; }

    // Appends one Columns and one Data block for the log and writes the whole
    // document to path. Throws SaveFailure on failure: a block that could not
    // be built is not added; one that could stays for the next save.
    void Save(const MoveLog &log, const std::string &path = kResultFileName);

private:
    struct DocDeleter {
        void operator()(_xmlDoc *doc) const;
    };

    void Activate(const std::string &path);
    std::vector<std::string> Block(const MoveLog &log, const std::string &path) const;

    std::unique_ptr<_xmlDoc, DocDeleter> m_doc;
    // The text around the root's children, and around a Data block's records.
    std::string m_head, m_tail;
    std::string m_dataHead, m_dataTail;
    // Every block written so far, in pieces of a few kilobytes.
    std::vector<std::string> m_blocks;
};

// BtnXmlClick: saves the log and confirms. On failure it throws and shows
// nothing; the caller runs it inside the DispatchGuard.
void WriteResult(ResultWriter &xmldoc, const MoveLog &log, MessageBoxes &boxes);
