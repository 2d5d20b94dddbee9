// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "check_table.h"
#include "lazy_library.h"

#include <string>

// The lazy library "xlsx" (xlsx_module.cpp): a check's table as an .xlsx
// file, through libxlsxwriter.
class SheetWriter {
public:
    // The table as the bytes of an .xlsx file; false, and the reason in
    // problem, when they cannot be made.
    virtual bool Bytes(const CheckTable &table, std::string &bytes, std::string &problem) const = 0;

protected:
    ~SheetWriter() = default;
};

SOSUDNIK_LAZY_NAME(SheetWriter, "xlsx");
