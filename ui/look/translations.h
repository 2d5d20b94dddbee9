// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

class QCoreApplication;

// Qt's own texts (context menus, standard buttons) in Russian whatever the
// locale, as the rest of the game. False when Qt's translation is missing.
bool InstallQtRussian(QCoreApplication &app);
