#include "scan/extension_filters.h"

#include "core/ui_yield.h"
#include "scan/text_case.h"

int CountItems(const QString& text)
{
    return int(text.count(QLatin1Char(','))) + 1;
}

QStringList SplitItems(const QString& text)
{
    const int n = CountItems(text);
    QStringList items(n);
    const int length = int(text.size());
    int index = 0;
    int start = 1;
    for (;;) {
        int comma = int(text.indexOf(QLatin1Char(','), start - 1)) + 1;
        if (comma == 0)
            comma = length + 1;
        if (index < n)
            items[index] = ExtractField(text, start, comma - start);
        if (comma >= length)
            break;
        start = comma + 1;
        ++index;
    }
    return items;
}

QString ExtractField(const QString& text, int start, int length)
{
    if (text.isEmpty() || start < 1 || length < 0)
        return {};
    return trimBlanks(QStringView(text).mid(start - 1, length));
}

bool IncludeAll(const QString& include)
{
    return trimBlanks(include) == QLatin1String("*");
}

bool ExcludeNone(const QString& exclude)
{
    return trimBlanks(exclude).isEmpty();
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
        if (state.CancelRequested.load(std::memory_order_relaxed))
            break;
        uiYield(state, cb);
        list[i].relativePathInto(path);
        toUpperInPlace(path);
        if (test.excludes(path))
            continue;
        if (kept != i)
            list[kept] = std::move(list[i]);
        ++kept;
    }
    // After a stop the lines not looked at stay, in order.
    for (; i < list.size(); ++i, ++kept)
        if (kept != i)
            list[kept] = std::move(list[i]);
    list.resize(kept);
}
