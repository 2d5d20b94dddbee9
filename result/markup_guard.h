// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The result format has at most four attributes on an element, elements
// three deep, a dozen names and no namespace. libxml2 takes time that grows
// with the square of the attributes (and namespace declarations) of one
// start tag, with the namespaces in scope, and with the number of different
// names it has seen (2.9 keeps them in a table that stops growing): a file of
// a few megabytes could keep a check busy for minutes. So the bytes are
// looked at before the parser gets them, as they are read, and a file that
// holds more of any of these than a file of the format could is refused
// there.
inline constexpr int kMaxAttributes = 16; // on one start tag, namespace declarations included
inline constexpr int kMaxDepth = 16;
// Different names of elements, attributes, processing instructions and
// entity references in the whole file.
inline constexpr std::size_t kMaxNames = 64;
inline constexpr std::size_t kMaxNameLength = 256;
inline constexpr int kMaxNamespaces = 16; // declarations in the whole file

// The scan reads markup as ASCII in one- or two-byte units: it could be
// fooled by an encoding that writes "<" or "=" some other way (UTF-7,
// EBCDIC, UCS-4). A file must be in one of these: UTF-8, UTF-16 (by its
// first bytes), windows-1251 and a few other encodings that keep ASCII as it
// is, named in its XML declaration; anything else is refused.
class MarkupGuard {
public:
    // Looks at the next bytes of the file. Returns why the file is refused, a
    // sentence in Russian, or nothing; once refused, stays refused.
    std::string Look(std::string_view bytes);

private:
    enum class Units { Unknown, Bytes, Utf16Le, Utf16Be };
    enum class State {
        Text,
        Open, // after "<"
        StartTag,
        Quoted, // an attribute value
        EndTag,
        Bang, // after "<!": a comment, CDATA or a declaration
        Comment,
        Cdata,
        Declaration, // DOCTYPE and the like: to the next ">"
        Instruction, // <? ... ?>
    };
    // What the name being read names.
    enum class Name { None, Element, Attribute, Target, Entity };

    std::string Refuse(std::string reason);
    bool Fail(std::string reason); // true
    std::string Start(std::string_view bytes);
    // One unit: c as ASCII (anything else as 0x80), unit as it is. True when
    // it refuses the file.
    bool Step(char c, unsigned unit);
    std::string CheckDeclaration();
    void BeginName(Name kind, unsigned unit);
    // The name read is complete: counted if new. True when it refuses the file.
    bool EndName();

    Units m_units = Units::Unknown;
    std::string m_head; // the first bytes, until there are four
    State m_state = State::Text;
    std::string m_problem;
    unsigned char m_pending = 0; // the first byte of a two-byte unit split between reads
    bool m_hasPending = false;
    bool m_first = true; // nothing seen yet but a byte order mark
    bool m_openedFirst = false; // the "<" being read was the first character
    char m_quote = 0;
    char m_previous = 0;
    char m_beforePrevious = 0;
    std::string m_bang; // what follows "<!", until it is known what it is
    int m_attributes = 0;
    int m_depth = 0;
    int m_namespaces = 0;
    Name m_name = Name::None;
    std::string m_token; // the name being read, as units
    std::size_t m_tokenUnits = 0;
    bool m_afterSpace = false; // in a start tag: a new attribute's name may begin
    bool m_ampersand = false; // an entity's name may begin
    bool m_targetNext = false; // a processing instruction's target begins
    std::vector<std::string> m_names; // at most kMaxNames
    // The XML declaration, while it is read: it is one only at the very start.
    bool m_inDeclaration = false;
    std::string m_declaration;
};
