// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "message_boxes.h"
#include "move_log.h"
#include "xml_runtime.h"

#include <memory>
#include <string>

struct _xmlDoc;

inline constexpr const char *kResultFileName = "sosudnik.xml";
inline constexpr const char *kMsgFileWritten = "Файл \"sosudnik.xml\" записан";
inline constexpr const char *kCaptionFileWritten = "Запись файла";

// The document behind "Запись результата". It lives as long as the window,
// is inactive until the first save and is never reset: every save adds the
// current log to what is there and writes the whole document.
class ResultWriter {
public:
    ResultWriter();
    ~ResultWriter();
    ResultWriter(const ResultWriter &) = delete;
    ResultWriter &operator=(const ResultWriter &) = delete;

    bool Active() const { return m_doc != nullptr; }

    // Appends one Columns and one Data block for the log and writes the whole
    // document to path. Throws std::runtime_error with the engine's
    // description on failure; the blocks added stay for the next save.
    void Save(const MoveLog &log, const std::string &path = kResultFileName);

private:
    struct DocDeleter {
        void operator()(_xmlDoc *doc) const;
    };

    void Activate();

    std::unique_ptr<_xmlDoc, DocDeleter> m_doc;
};

// BtnXmlClick: saves the log and confirms. On failure it throws and shows
// nothing; the caller runs it inside the DispatchGuard.
void WriteResult(ResultWriter &xmldoc, const MoveLog &log, MessageBoxes &boxes);
