// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "xml_runtime.h"

#include <libxml/parser.h>

#include <atomic>

namespace {
// Set on the GUI thread before any other thread reads a file; checked by
// those threads too.
std::atomic<bool> g_started = false;
} // namespace

void XmlRuntime::Start()
{
    if (g_started)
        return;
    xmlInitParser();
    g_started = true;
}

bool XmlRuntime::Started()
{
    return g_started;
}

XmlRuntime::~XmlRuntime()
{
    if (!g_started)
        return;
    xmlCleanupParser();
    g_started = false;
}
