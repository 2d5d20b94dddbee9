// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "xml_runtime.h"

#include <libxml/parser.h>

XmlRuntime::XmlRuntime()
{
    xmlInitParser();
}

XmlRuntime::~XmlRuntime()
{
    xmlCleanupParser();
}
