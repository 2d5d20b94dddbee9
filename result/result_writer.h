// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "atomic_file.h"
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

    // "Записать как…": writes to path the very bytes Save would write now,
    // with the same failures, but keeps nothing: the next Save writes as if
    // this had never run.
    void SaveCopy(const MoveLog &log, const std::string &path);

    // The blocks of this run so far, one a save.
    std::size_t BlockCount() const { return m_blockStarts.size(); }
    // Adds the log's block as Save does, without writing; path names the
    // file in a failure.
    void AddBlock(const MoveLog &log, const std::string &path);

    // A result file read back: its saves as this writer writes them, so a
    // file the game wrote comes out byte for byte as it was.
    struct Earlier {
        std::vector<std::string> Pieces;
        std::size_t Blocks = 0;
        std::string Problem; // why it is not a result file; empty when it is
    };
    // Reads the file at path with the safe reader. A file that is not there
    // has no blocks and no problem.
    Earlier ReadBack(const std::string &path);
    // Writes path with the earlier saves, then this run's blocks from first
    // on (0 <= first <= BlockCount()).
    void WriteWith(const std::string &path, const Earlier &earlier, std::size_t first, InPlace inPlace);

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
    // Every block written so far, in pieces of a few kilobytes, and where
    // in them each block starts.
    std::vector<std::string> m_blocks;
    std::vector<std::size_t> m_blockStarts;
};

// BtnXmlClick: saves the log and confirms. On failure it throws and shows
// nothing; the caller runs it inside the DispatchGuard.
void WriteResult(ResultWriter &xmldoc, const MoveLog &log, MessageBoxes &boxes);

// The confirmation for a file of another name: Файл "Иванова Маша.xml" записан
std::string FileWrittenText(std::string_view fileName);

// "Записать как…": writes what the stated save would write now to path (in
// the system's encoding) and confirms naming the file as shownName; a
// failure names it so too.
void WriteResultCopy(ResultWriter &xmldoc, const MoveLog &log, const std::string &path, const std::string &shownName,
                     MessageBoxes &boxes);
