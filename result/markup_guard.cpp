// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "markup_guard.h"

#include "wording.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <utility>

namespace {

// Encodings in which every ASCII character is its own single byte, as the
// scan reads them; and UTF-16, which the first bytes tell.
constexpr std::array kEncodings = {
    "UTF-8",      "UTF8",       "UTF-16",     "UTF-16LE",  "UTF-16BE", "US-ASCII",     "ASCII",
    "ISO-8859-1", "ISO_8859-1", "LATIN1",     "ISO-8859-5", "WINDOWS-1251", "CP1251", "WINDOWS-1252",
    "CP1252",     "KOI8-R",     "KOI8-U",     "CP866",     "IBM866",
};

constexpr std::size_t kMaxDeclaration = 256;

const std::string kEncodingsWords = "файлы результата читаются в windows-1251, UTF-8 и UTF-16";

bool Space(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Upper(std::string_view text)
{
    std::string upper(text);
    for (char &c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

// The value of encoding="..." once its closing quote is there, else nothing.
std::optional<std::string_view> EncodingValue(std::string_view declaration)
{
    const std::size_t name = declaration.find("encoding");
    if (name == std::string_view::npos)
        return std::nullopt;
    std::size_t at = name + 8;
    while (at < declaration.size() && Space(declaration[at]))
        ++at;
    if (at >= declaration.size() || declaration[at] != '=')
        return std::nullopt;
    ++at;
    while (at < declaration.size() && Space(declaration[at]))
        ++at;
    if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\''))
        return std::nullopt;
    const std::size_t close = declaration.find(declaration[at], at + 1);
    if (close == std::string_view::npos)
        return std::nullopt;
    return declaration.substr(at + 1, close - at - 1);
}

// Whatever may stand in a name as far as the scan is concerned: the parser
// refuses the rest.
constexpr std::array<bool, 256> kNameChars = [] {
    std::array<bool, 256> table{};
    for (std::size_t c = 0; c < table.size(); ++c)
        table[c] = true;
    for (const char c : std::string_view(" \t\r\n<>/=?;&'\"!"))
        table[static_cast<unsigned char>(c)] = false;
    return table;
}();

bool NameChar(char c)
{
    return kNameChars[static_cast<unsigned char>(c)];
}

// A unit as it is, so that names differing in any character differ here.
void AppendUnit(std::string &text, unsigned unit)
{
    text += static_cast<char>(unit & 0xFF);
    if (unit > 0xFF)
        text += static_cast<char>(unit >> 8);
}

} // namespace

std::string MarkupGuard::Refuse(std::string reason)
{
    m_problem = std::move(reason);
    return m_problem;
}

bool MarkupGuard::Fail(std::string reason)
{
    Refuse(std::move(reason));
    return true;
}

// Tells the units by the first bytes, as the parser does, and steps past a
// byte order mark.
std::string MarkupGuard::Start(std::string_view bytes)
{
    const auto at = [&](std::size_t i) { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0x100u; };
    const auto zeros = std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(bytes.size(), 4)), '\0');
    // "<" in UCS-4 of any byte order, or a UCS-4 byte order mark; "<?xm" in EBCDIC.
    const bool ucs4 = zeros >= 3 || (at(0) == 0 && at(1) == 0) || (at(2) == 0 && at(3) == 0 && (at(0) == 0xFF || at(0) == 0xFE))
        || (at(0) == 0x4C && at(1) == 0x6F && at(2) == 0xA7 && at(3) == 0x94);
    if (bytes.size() >= 4 && ucs4)
        return Refuse("Кодировка файла (UCS-4 или EBCDIC) не поддерживается: " + kEncodingsWords + ".");
    std::size_t skip = 0;
    if (at(0) == 0xFE && at(1) == 0xFF) {
        m_units = Units::Utf16Be, skip = 2;
    } else if (at(0) == 0xFF && at(1) == 0xFE) {
        m_units = Units::Utf16Le, skip = 2;
    } else if (at(0) == '<' && at(1) == 0 && at(2) == '?' && at(3) == 0) {
        m_units = Units::Utf16Le;
    } else if (at(0) == 0 && at(1) == '<' && at(2) == 0 && at(3) == '?') {
        m_units = Units::Utf16Be;
    } else {
        m_units = Units::Bytes;
        if (at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF)
            skip = 3;
    }
    return Look(bytes.substr(std::min(skip, bytes.size())));
}

std::string MarkupGuard::Look(std::string_view bytes)
{
    if (!m_problem.empty())
        return m_problem;
    if (bytes.empty())
        return {};
    if (m_units == Units::Unknown) {
        // The first four bytes tell the encoding, however the reads cut them.
        m_head.append(bytes);
        if (m_head.size() < 4)
            return {};
        const std::string head = std::move(m_head);
        return Start(head);
    }
    if (m_units == Units::Bytes) {
        const char *at = bytes.data();
        const char *const end = at + bytes.size();
        while (at < end) {
            // A name's characters at once, up to the first that ends it.
            if (m_name != Name::None) {
                const char *next = at;
                while (next < end && kNameChars[static_cast<unsigned char>(*next)])
                    ++next;
                const auto length = static_cast<std::size_t>(next - at);
                if (length > 0) {
                    m_tokenUnits += length;
                    if (m_tokenUnits > kMaxNameLength)
                        return Refuse("Имя длиннее " + std::to_string(kMaxNameLength)
                                      + " знаков, а в файле результата имена короткие.");
                    m_token.append(at, length);
                    m_beforePrevious = length > 1 ? next[-2] : m_previous;
                    m_previous = next[-1];
                    at = next;
                    continue;
                }
            }
            if (!m_ampersand && m_name == Name::None) {
                // Most of a file is attribute values and the text between
                // tags: skipped to the next character that matters there.
                if (m_state == State::Text || m_state == State::Quoted) {
                    const char stop = m_state == State::Text ? '<' : m_quote;
                    const char *next = at;
                    while (next < end && *next != stop && *next != '&')
                        ++next;
                    if (next != at) {
                        m_first = false;
                        m_beforePrevious = m_previous = 0;
                        at = next;
                        continue;
                    }
                    if (m_state == State::Quoted && *at == m_quote) {
                        m_state = State::StartTag;
                        m_beforePrevious = m_previous = 0;
                        ++at;
                        continue;
                    }
                }
                // The blanks and quotes between a tag's names, as Step reads them.
                if (m_state == State::StartTag && (Space(*at) || *at == '"' || *at == '\'')) {
                    const char c = *at++;
                    m_beforePrevious = m_previous;
                    m_previous = c;
                    m_afterSpace = Space(c);
                    if (!m_afterSpace) {
                        m_quote = c;
                        m_state = State::Quoted;
                    }
                    continue;
                }
            }
            const auto byte = static_cast<unsigned char>(*at++);
            if (Step(byte < 0x80 ? static_cast<char>(byte) : '\x80', byte))
                return m_problem;
        }
        return {};
    }
    const bool little = m_units == Units::Utf16Le;
    const auto step = [&](unsigned first, unsigned second) {
        const unsigned unit = little ? first | second << 8 : first << 8 | second;
        return Step(unit < 0x80 ? static_cast<char>(unit) : '\x80', unit);
    };
    std::size_t i = 0;
    if (m_hasPending) {
        m_hasPending = false;
        i = 1;
        if (step(m_pending, static_cast<unsigned char>(bytes[0])))
            return m_problem;
    }
    for (; i + 1 < bytes.size(); i += 2) {
        if (step(static_cast<unsigned char>(bytes[i]), static_cast<unsigned char>(bytes[i + 1])))
            return m_problem;
    }
    if (i < bytes.size()) {
        m_pending = static_cast<unsigned char>(bytes[i]);
        m_hasPending = true;
    }
    return {};
}

std::string MarkupGuard::CheckDeclaration()
{
    if (m_declaration.size() > kMaxDeclaration)
        return Refuse("Объявление XML в начале файла длиннее " + std::to_string(kMaxDeclaration)
                      + " знаков: в файлах результата такого не бывает.");
    const std::optional<std::string_view> encoding = EncodingValue(m_declaration);
    if (!encoding)
        return {};
    m_inDeclaration = false; // the encoding is the one thing wanted of it
    const std::string name = Upper(*encoding);
    if (std::find(kEncodings.begin(), kEncodings.end(), name) == kEncodings.end())
        return Refuse("Кодировка " + Quoted(*encoding) + " не поддерживается: " + kEncodingsWords + ".");
    return {};
}

void MarkupGuard::BeginName(Name kind, unsigned unit)
{
    m_name = kind;
    m_token.clear();
    m_tokenUnits = 1;
    AppendUnit(m_token, unit);
}

bool MarkupGuard::EndName()
{
    const Name kind = std::exchange(m_name, Name::None);
    if (kind == Name::Attribute && (m_token == "xmlns" || m_token.rfind("xmlns:", 0) == 0)
        && ++m_namespaces > kMaxNamespaces)
        return Fail("В файле больше " + std::to_string(kMaxNamespaces)
                    + " объявлений пространств имен, а в файле результата их нет.");
    // A few names, used over and over: a look along them beats hashing.
    const auto known = std::find(m_names.begin(), m_names.end(), m_token);
    if (known != m_names.end())
        return false;
    if (m_names.size() == kMaxNames)
        return Fail("В файле больше " + std::to_string(kMaxNames)
                    + " разных имен элементов и атрибутов, а в файле результата их около десяти.");
    m_names.push_back(m_token);
    return false;
}

bool MarkupGuard::Step(char c, unsigned unit)
{
    const bool first = std::exchange(m_first, false);
    const char previous = m_previous;
    const char beforePrevious = m_beforePrevious;
    m_beforePrevious = previous;
    m_previous = c;
    // A name goes on to the first character that cannot be in one, which is
    // then read as markup.
    if (m_name != Name::None) {
        if (NameChar(c)) {
            if (++m_tokenUnits > kMaxNameLength)
                return Fail("Имя длиннее " + std::to_string(kMaxNameLength)
                            + " знаков, а в файле результата имена короткие.");
            AppendUnit(m_token, unit);
            return false;
        }
        if (EndName())
            return true;
    }
    // "&name;" names an entity; "&#..." is a character.
    if (std::exchange(m_ampersand, false) && c != '#' && NameChar(c)) {
        BeginName(Name::Entity, unit);
        return false;
    }
    switch (m_state) {
    case State::Text:
        if (c == '<') {
            m_state = State::Open;
            m_openedFirst = first;
        } else if (c == '&') {
            m_ampersand = true;
        }
        break;
    case State::Open:
        if (c == '/') {
            m_state = State::EndTag;
            m_depth = std::max(m_depth - 1, 0);
        } else if (c == '!') {
            m_state = State::Bang;
            m_bang.clear();
        } else if (c == '?') {
            m_state = State::Instruction;
            m_targetNext = true;
            // Only at the very start is it the XML declaration.
            m_inDeclaration = m_openedFirst;
            m_declaration.clear();
            m_previous = 0;
        } else {
            m_state = State::StartTag;
            m_attributes = 0;
            m_afterSpace = false;
            if (++m_depth > kMaxDepth)
                return Fail("Элементы вложены глубже " + std::to_string(kMaxDepth)
                            + " уровней, а в файле результата их три.");
            if (NameChar(c))
                BeginName(Name::Element, unit);
        }
        break;
    case State::StartTag: {
        const bool afterSpace = std::exchange(m_afterSpace, false);
        if (c == '"' || c == '\'') {
            m_quote = c;
            m_state = State::Quoted;
        } else if (c == '=') {
            if (++m_attributes > kMaxAttributes)
                return Fail("У элемента больше " + std::to_string(kMaxAttributes)
                            + " атрибутов (с объявлениями пространств имен), а в файле результата их не больше "
                              "четырех.");
        } else if (c == '>') {
            m_state = State::Text;
            if (previous == '/')
                m_depth = std::max(m_depth - 1, 0);
        } else if (Space(c)) {
            m_afterSpace = true;
        } else if (afterSpace && NameChar(c)) {
            BeginName(Name::Attribute, unit);
        }
        break;
    }
    case State::Quoted:
        if (c == m_quote)
            m_state = State::StartTag;
        else if (c == '&')
            m_ampersand = true;
        m_previous = 0; // a "/" in a value does not close the tag
        break;
    case State::EndTag:
    case State::Declaration:
        if (c == '>')
            m_state = State::Text;
        break;
    case State::Bang:
        m_bang += c;
        if (m_bang == "--") {
            m_state = State::Comment;
            m_previous = 0;
        } else if (m_bang == "[CDATA[") {
            m_state = State::Cdata;
            m_previous = 0;
        } else if (std::string_view("--").substr(0, m_bang.size()) != m_bang
                   && std::string_view("[CDATA[").substr(0, m_bang.size()) != m_bang) {
            m_state = c == '>' ? State::Text : State::Declaration;
        }
        break;
    case State::Comment:
        if (c == '>' && previous == '-' && beforePrevious == '-')
            m_state = State::Text;
        break;
    case State::Cdata:
        if (c == '>' && previous == ']' && beforePrevious == ']')
            m_state = State::Text;
        break;
    case State::Instruction:
        if (std::exchange(m_targetNext, false) && NameChar(c)) {
            BeginName(Name::Target, unit);
        } else if (c == '>' && previous == '?') {
            m_state = State::Text;
            m_inDeclaration = false;
        } else if (m_inDeclaration) {
            m_declaration += c;
            if (c == '"' || c == '\'' || m_declaration.size() > kMaxDeclaration)
                return !CheckDeclaration().empty();
        }
        break;
    }
    return false;
}
