// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "save_failure.h"

#include <cerrno>

namespace {

struct Reason {
    int Cause;
    const char *Text;
};

// Every reason the player can be given, in the player's words. The system's
// own texts follow the locale and, for most errors, name only a symptom.
constexpr Reason kReasons[] = {
    { EACCES, "нет прав на запись" },
    { EPERM, "нет прав на запись" },
    { ENOSPC, "на диске нет свободного места" },
    { EDQUOT, "на диске нет свободного места" },
    { EFBIG, "файл превысил допустимый размер" },
    { EROFS, "диск доступен только для чтения" },
    { ENOENT, "папки, в которой он должен быть, нет" },
    { ENOTDIR, "папки, в которой он должен быть, нет" },
    { EISDIR, "под этим именем папка" },
    { kCauseNotRegularFile, "под этим именем не обычный файл, а устройство, канал или сокет" },
    { kCauseForeignLink, "это ссылка другого пользователя в общей папке" },
    { ENOMEM, "не хватает памяти" },
    { EIO, "ошибка ввода-вывода" },
    { kCauseXmlFailure, "не удалось составить документ XML" },
    { kCauseLockHeld, "его слишком долго записывает другая программа" },
    { kCauseNoFreeName, "ни его, ни запасные имена «(2)»…«(99)» дополнить нельзя" },
};

std::string ReasonText(int cause)
{
    for (const Reason &reason : kReasons)
        if (reason.Cause == cause)
            return reason.Text;
    return "ошибка системы (код " + std::to_string(cause) + ")";
}

} // namespace

std::string SaveFailureText(std::string_view fileName, int cause)
{
    return "Файл \"" + std::string(fileName) + "\" не записан: " + ReasonText(cause);
}

SaveFailure::SaveFailure(std::string_view fileName, int cause)
    : std::runtime_error(SaveFailureText(fileName, cause))
    , m_cause(cause)
{ }
