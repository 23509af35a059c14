#include "results/result_order.h"

#include "results/result_model.h"

#include <QChar>
#include <algorithm>
#include <string_view>

// Sorting a million rows has to stay well under half a second, so no comparison folds letter
// case or allocates: every text is case-folded once into one shared buffer, and its first four
// folded characters are packed into an integer that decides most comparisons by itself.
// Consecutive rows that share one string (the rows of one folder share their folder texts)
// are folded and sorted once, as a run.

namespace {

struct TextRun
{
    quint64 prefix = 0; // first four folded UTF-16 units, most significant first
    quint32 offset = 0; // folded text in the buffer
    quint32 length = 0;
    quint32 first = 0; // first row of the run
    quint32 count = 0;
};

void appendFolded(std::u16string& buffer, const QString& text)
{
    const qsizetype n = text.size();
    const char16_t* s = reinterpret_cast<const char16_t*>(text.constData());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (c < 0x80) {
            buffer.push_back(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(c, s[i + 1]));
            buffer.push_back(QChar::highSurrogate(folded));
            buffer.push_back(QChar::lowSurrogate(folded));
            ++i;
        } else {
            buffer.push_back(QChar::toCaseFolded(c));
        }
    }
}

template <typename TextOf> std::vector<int> byText(const std::vector<ResultRow>& rows, TextOf text)
{
    std::vector<TextRun> runs;
    std::u16string folded;
    const QString* previous = nullptr;
    for (size_t r = 0; r < rows.size(); ++r) {
        const QString& t = text(rows[r]);
        if (previous && t.constData() == previous->constData() && t.size() == previous->size()) {
            ++runs.back().count;
            continue;
        }
        previous = &t;
        TextRun run;
        run.offset = quint32(folded.size());
        appendFolded(folded, t);
        run.length = quint32(folded.size() - run.offset);
        for (quint32 k = 0; k < 4; ++k) {
            const quint64 unit = k < run.length ? folded[run.offset + k] : 0;
            run.prefix = (run.prefix << 16) | unit;
        }
        run.first = quint32(r);
        run.count = 1;
        runs.push_back(run);
    }
    const char16_t* base = folded.data();
    std::sort(runs.begin(), runs.end(), [base](const TextRun& a, const TextRun& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        const int c = std::u16string_view(base + a.offset, a.length)
                          .compare(std::u16string_view(base + b.offset, b.length));
        return c != 0 ? c < 0 : a.first < b.first;
    });
    std::vector<int> order;
    order.reserve(rows.size());
    for (const TextRun& run : runs)
        for (quint32 k = 0; k < run.count; ++k)
            order.push_back(int(run.first + k));
    return order;
}

struct NumberKey
{
    qint64 major;
    qint64 minor;
    int row;
    bool operator<(const NumberKey& o) const
    {
        if (major != o.major)
            return major < o.major;
        if (minor != o.minor)
            return minor < o.minor;
        return row < o.row;
    }
};

template <typename KeyOf> std::vector<int> byNumber(const std::vector<ResultRow>& rows, KeyOf keyOf)
{
    std::vector<NumberKey> keys;
    keys.reserve(rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        NumberKey k = keyOf(rows[r]);
        k.row = int(r);
        keys.push_back(k);
    }
    std::sort(keys.begin(), keys.end());
    std::vector<int> order;
    order.reserve(rows.size());
    for (const NumberKey& k : keys)
        order.push_back(k.row);
    return order;
}

} // namespace

std::vector<int> sortedRowOrder(const std::vector<ResultRow>& rows, int column)
{
    switch (column) {
    case ResultListModel::Name:
        return byText(rows, [](const ResultRow& r) -> const QString& { return r.name; });
    case ResultListModel::Source:
        return byText(rows, [](const ResultRow& r) -> const QString& { return r.sourceFolder; });
    case ResultListModel::Target:
        return byText(rows, [](const ResultRow& r) -> const QString& { return r.targetFolder; });
    case ResultListModel::Status:
        // "New File" before "OverWrite".
        return byNumber(rows, [](const ResultRow& r) {
            return NumberKey{r.status == ResultRow::Status::NewFile ? 0 : 1, 0, 0};
        });
    case ResultListModel::LastModified:
        return byNumber(rows, [](const ResultRow& r) { return NumberKey{r.modified, 0, 0}; });
    case ResultListModel::SizeKB:
        return byNumber(rows, [](const ResultRow& r) {
            return NumberKey{r.sizeKB, r.sizeBytes, 0};
        });
    default: {
        std::vector<int> order(rows.size());
        for (size_t r = 0; r < rows.size(); ++r)
            order[r] = int(r);
        return order;
    }
    }
}
