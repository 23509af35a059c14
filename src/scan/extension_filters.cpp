// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/extension_filters.h"

#include "core/trim_blanks.h"
#include "core/ui_yield.h"
#include "scan/text_case.h"

QStringList SplitItems(const QString& text)
{
    QStringList items = text.split(QLatin1Char(','));
    for (QString& item : items)
        item = trimBlanks(QStringView(item)).toString();
    return items;
}

bool IncludeAll(const QString& include)
{
    return trimBlanks(QStringView(include)) == QLatin1String("*");
}

bool ExcludeNone(const QString& exclude)
{
    return trimBlanks(QStringView(exclude)).isEmpty();
}

QStringList includePatterns(const QString& include)
{
    if (IncludeAll(include))
        return {QStringLiteral("*.*")};
    QStringList patterns = SplitItems(include);
    for (QString& p : patterns)
        p.prepend(QLatin1String("*."));
    return patterns;
}

ExclusionTest::ExclusionTest(const QStringList& items)
{
    for (QString item : items) {
        toUpperInPlace(item);
        const QString like = QLatin1String("*.") + item;
        m_items.push_back({QLatin1Char('.') + item, Wildcard(like, Wildcard::Dialect::Like)});
    }
}

bool ExclusionTest::excludes(const QString& upperPath) const
{
    for (const Item& item : m_items)
        if (upperPath.contains(item.dotted) || item.like.matches(upperPath))
            return true;
    return false;
}

void excludeLines(AppState& state, const Callbacks& cb, FileList& list, const QString& exclude)
{
    if (ExcludeNone(exclude))
        return;
    const ExclusionTest test(SplitItems(exclude));
    QString path;
    size_t kept = 0;
    size_t i = 0;
    for (; i < list.size(); ++i) {
        if (state.control.cancelled())
            break;
        uiYield(state.control, cb);
        list.relativePathInto(list[i], path);
        toUpperInPlace(path);
        if (test.excludes(path))
            continue;
        if (kept != i)
            list[kept] = list[i];
        ++kept;
    }
    // After a stop the lines not looked at stay, in order.
    for (; i < list.size(); ++i, ++kept)
        if (kept != i)
            list[kept] = list[i];
    list.resize(kept);
}
