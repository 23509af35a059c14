// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <utility>
#include <vector>

// A compiled wildcard pattern. Two dialects:
//  - FileName: the directory search's rules. Case-insensitive; "*" any run of characters, "?"
//    one character; a pattern ending in ".*" also matches the names without that extension
//    (so "*.*" matches every name) and one ending in "." only names without a dot ("*.").
//  - Like: the rules of the exclusion test. Exact (callers upper-case both sides); "*" any
//    run, "?" one character, "#" one digit, "[abc]" / "[a-z]" one character of the list,
//    "[!abc]" one character not in it, "[]" nothing. A malformed pattern ("[" without "]", a
//    descending range) matches nothing.
class Wildcard
{
public:
    enum class Dialect { FileName, Like };

    Wildcard(QStringView pattern, Dialect dialect);
    bool matches(QStringView text) const;
    bool matchesEveryName() const { return m_everyName; }

    struct Element
    {
        enum Kind { Star, AnyOne, Digit, Char, List } kind;
        char16_t ch = 0;
        bool negate = false;
        std::vector<std::pair<char16_t, char16_t>> ranges;
    };

private:
    bool matchElements(const std::vector<Element>& elements, QStringView text) const;
    bool matchOne(const Element& e, char16_t c) const;

    Dialect m_dialect;
    bool m_valid = true;
    bool m_everyName = false;
    bool m_noDot = false;                 // FileName pattern ending in "."
    std::vector<Element> m_elements;      // the whole pattern (or without its final ".")
    std::vector<Element> m_withoutDotAll; // FileName pattern ending in ".*": without it
};
