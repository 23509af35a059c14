// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/wildcard.h"

#include "scan/text_case.h"

namespace {

using Element = Wildcard::Element;

// Parses a bracket list starting after "[" at 'at'; returns the index after "]" or -1.
qsizetype parseList(QStringView p, qsizetype at, Element& e)
{
    const qsizetype close = p.indexOf(u']', at);
    if (close < 0)
        return -1;
    QStringView list = p.sliced(at, close - at);
    if (list.size() > 1 && list[0] == u'!') {
        e.negate = true;
        list = list.sliced(1);
    }
    for (qsizetype i = 0; i < list.size(); ++i) {
        const char16_t from = list[i].unicode();
        if (i + 2 < list.size() && list[i + 1] == u'-') {
            const char16_t to = list[i + 2].unicode();
            if (to < from)
                return -1;
            e.ranges.emplace_back(from, to);
            i += 2;
        } else {
            e.ranges.emplace_back(from, from);
        }
    }
    return close + 1;
}

bool parse(QStringView p, Wildcard::Dialect dialect, std::vector<Element>& out)
{
    const bool like = dialect == Wildcard::Dialect::Like;
    for (qsizetype i = 0; i < p.size();) {
        const char16_t c = p[i].unicode();
        Element e{Element::Char, 0, false, {}};
        ++i;
        if (c == u'*') {
            if (!out.empty() && out.back().kind == Element::Star)
                continue;
            e.kind = Element::Star;
        } else if (c == u'?') {
            e.kind = Element::AnyOne;
        } else if (like && c == u'#') {
            e.kind = Element::Digit;
        } else if (like && c == u'[') {
            e.kind = Element::List;
            i = parseList(p, i, e);
            if (i < 0)
                return false;
            if (e.ranges.empty() && !e.negate)
                continue; // "[]" matches the empty text
        } else {
            e.ch = like ? c : upperUnit(c);
        }
        out.push_back(std::move(e));
    }
    return true;
}

} // namespace

Wildcard::Wildcard(QStringView pattern, Dialect dialect) : m_dialect(dialect)
{
    if (dialect == Dialect::FileName) {
        if (pattern.endsWith(u".*")) {
            const QStringView base = pattern.chopped(2);
            m_everyName = base.isEmpty() || base == u"*";
            parse(base, dialect, m_withoutDotAll);
        } else if (pattern.endsWith(u'.')) {
            m_noDot = true;
            pattern.chop(1);
        }
    }
    m_valid = parse(pattern, dialect, m_elements);
}

bool Wildcard::matches(QStringView text) const
{
    if (m_everyName)
        return true;
    if (!m_valid)
        return false;
    if (m_noDot && text.contains(u'.'))
        return false;
    if (matchElements(m_elements, text))
        return true;
    return !m_withoutDotAll.empty() && matchElements(m_withoutDotAll, text);
}

bool Wildcard::matchOne(const Element& e, char16_t c) const
{
    switch (e.kind) {
    case Element::AnyOne:
        return true;
    case Element::Digit:
        return c >= u'0' && c <= u'9';
    case Element::Char:
        return e.ch == (m_dialect == Dialect::FileName ? upperUnit(c) : c);
    case Element::List: {
        bool in = false;
        for (const auto& [from, to] : e.ranges)
            in = in || (c >= from && c <= to);
        return in != e.negate;
    }
    case Element::Star:
        break;
    }
    return false;
}

bool Wildcard::matchElements(const std::vector<Element>& elements, QStringView text) const
{
    // Greedy match with one backtracking point: the last star seen.
    const size_t m = elements.size();
    size_t pi = 0;
    qsizetype ti = 0;
    size_t starPi = SIZE_MAX;
    qsizetype starTi = 0;
    while (ti < text.size()) {
        if (pi < m && elements[pi].kind == Element::Star) {
            starPi = pi++;
            starTi = ti;
        } else if (pi < m && matchOne(elements[pi], text[ti].unicode())) {
            ++pi;
            ++ti;
        } else if (starPi != SIZE_MAX) {
            pi = starPi + 1;
            ti = ++starTi;
        } else {
            return false;
        }
    }
    while (pi < m && elements[pi].kind == Element::Star)
        ++pi;
    return pi == m;
}
