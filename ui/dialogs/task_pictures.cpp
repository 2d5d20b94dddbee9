// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "task_pictures.h"

#include <QFile>

#include <cstdio>

bool EnsureTaskPictures()
{
    if (QFile::exists(QStringLiteral(":/task_milk.bmp")))
        return true;
    static bool told = false;
    try {
        return Lazy<TaskPictures>().Registered();
    } catch (const LazyLibraryMissing &missing) {
        if (!told)
            std::fprintf(stderr, "%s\n", missing.what());
        told = true;
        return false;
    }
}
