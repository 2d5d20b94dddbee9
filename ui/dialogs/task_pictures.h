// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lazy_library.h"

// The task dialog's two pictures and their double-size twins, nearly a
// megabyte, in the lazy library "pictures" (libsosudnik_pictures.so): in the
// game's own file they sat beside the code that runs at start and were
// mapped with it at every start. Opening the library adds them to the
// resources (":/task_milk.bmp", ":/task_kvass.bmp", ":/task_milk@2x.png",
// ":/task_kvass@2x.png"); programs that link them in never open it.
class TaskPictures {
public:
    // Whether the pictures are among the resources now.
    virtual bool Registered() const = 0;

protected:
    ~TaskPictures() = default;
};

SOSUDNIK_LAZY_NAME(TaskPictures, "pictures");

// Makes sure the pictures are among the resources, opening the library when
// they are not; false, with the reason told on the error output once, when
// they cannot be had (the dialog then shows its texts without them).
bool EnsureTaskPictures();
