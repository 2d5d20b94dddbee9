// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "save_failure.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {

struct ReasonCase {
    int Cause;
    const char *Reason;
};

TEST(SaveFailureText, NamesTheFileAndTheCauseInRussian)
{
    const ReasonCase cases[] = {
        {EACCES, "нет прав на запись"},
        {EPERM, "нет прав на запись"},
        {ENOSPC, "на диске нет свободного места"},
        {EDQUOT, "на диске нет свободного места"},
        {EFBIG, "файл превысил допустимый размер"},
        {EROFS, "диск доступен только для чтения"},
        {ENOENT, "папки, в которой он должен быть, нет"},
        {ENOTDIR, "папки, в которой он должен быть, нет"},
        {EISDIR, "под этим именем папка"},
        {kCauseNotRegularFile, "под этим именем не обычный файл, а устройство, канал или сокет"},
        {kCauseForeignLink, "это ссылка другого пользователя в общей папке"},
        {ENOMEM, "не хватает памяти"},
        {EIO, "ошибка ввода-вывода"},
        {kCauseXmlFailure, "не удалось составить документ XML"},
        {ELOOP, "ошибка системы (код 40)"},
        {ETXTBSY, "ошибка системы (код 26)"},
        {0, "ошибка системы (код 0)"},
    };
    for (const ReasonCase &c : cases)
        EXPECT_EQ(SaveFailureText("sosudnik.xml", c.Cause), std::string("Файл \"sosudnik.xml\" не записан: ") + c.Reason)
            << c.Cause;
}

TEST(SaveFailureText, UsesTheNameItIsGiven)
{
    EXPECT_EQ(SaveFailureText("/home/ученик/итог.xml", EROFS),
        "Файл \"/home/ученик/итог.xml\" не записан: диск доступен только для чтения");

    const SaveFailure failure("sosudnik.xml", ENOSPC);
    EXPECT_STREQ(failure.what(), "Файл \"sosudnik.xml\" не записан: на диске нет свободного места");
    EXPECT_EQ(failure.Cause(), ENOSPC);
}

} // namespace
