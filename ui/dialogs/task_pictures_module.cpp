// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The lazy library "pictures": the task dialog's pictures, registered among
// the resources by this library's own constructors as it is opened.
#include "task_pictures.h"

#include <QFile>

namespace {

class Library final : public TaskPictures {
public:
    bool Registered() const override { return QFile::exists(QStringLiteral(":/task_milk.bmp")); }
};

} // namespace

SOSUDNIK_LAZY_EXPORT(TaskPictures, Library);
