// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "check_report.h"
#include "record_check.h"

#include <QCollator>

#include <atomic>
#include <string>
#include <vector>

// A class's result files as the teacher names them: files, or folders that
// stand for the *.xml files in them.

// Names as a person sorts them in Russian, whatever the locale: case aside,
// and numbers by their value ("ученик 2" before "ученик 10").
QCollator NameCollator();

struct ClassFile {
    // As given, or the folder as given and the name found in it
    // ("7а/ivanova.xml"): the name the lines and the table show.
    std::string Path;
    // Why a folder has no file to check (it cannot be listed, or holds no
    // *.xml), in Russian; empty for a file.
    std::string Problem;
};

// The paths in the order given; a folder (or a link to one) stands for its
// *.xml files, not those of its subfolders nor hidden ones, in NameCollator
// order. Whatever else is there (a FIFO, a device, a loop of links, a
// folder named *.xml) is listed without being opened, and its check says
// what it is. stop, when it turns true, ends the listing early.
std::vector<ClassFile> ListClassFiles(const std::vector<std::string> &paths,
                                      const std::atomic<bool> *stop = nullptr);

// The check of one entry: a folder's problem is a file that is not read.
RecordCheck CheckClassFile(const RecordChecker &checker, const ClassFile &file,
                           const std::atomic<bool> *stop = nullptr);
