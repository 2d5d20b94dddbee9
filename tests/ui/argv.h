// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// argv as main gets it: the program's name first, a null pointer last.
class Argv {
public:
    explicit Argv(const QStringList &arguments)
    {
        m_bytes.push_back(QByteArrayLiteral("sosudnik"));
        for (const QString &a : arguments)
            m_bytes.push_back(a.toLocal8Bit());
        for (QByteArray &b : m_bytes)
            m_pointers.push_back(b.data());
        m_pointers.push_back(nullptr);
    }

    int Count() const { return static_cast<int>(m_bytes.size()); }
    char **Values() { return m_pointers.data(); }

private:
    std::vector<QByteArray> m_bytes;
    std::vector<char *> m_pointers;
};
