// SPDX-License-Identifier: GPL-3.0-or-later
// The --tsv lines of the result lists. A scan may list millions of rows, so the lines are put
// together as UTF-8 in place, in a buffer of a few hundred kilobytes, with what rows share (a
// folder's two fields, the status texts, the small sizes) made once.
#include "cli/cli_output.h"
#include "core/plain_text.h"
#include "results/display_format.h"

#include <QLocale>
#include <algorithm>
#include <array>
#include <cstring>

namespace {

QByteArray escaped(const QString& text)
{
    return escapeForLine(text).toUtf8();
}

// A name as it is when it is printable ASCII (nearly always); null when it is to be escaped
// like any field.
QByteArrayView plainName(QAnyStringView name)
{
    return name.visit([](auto v) {
        if constexpr (std::is_same_v<decltype(v), QLatin1StringView>) {
            if (std::all_of(v.data(), v.data() + v.size(),
                            [](char c) { return plainForLine(char16_t(uchar(c))); }))
                return QByteArrayView(v.data(), v.size());
        }
        return QByteArrayView();
    });
}

// Sizes as the lists show them, in the locale's digits and groups; the small ones, which
// most files have, are made once each.
class SizeTexts
{
public:
    // The text of the size; 'scratch' holds it when it is not one of those kept.
    const QByteArray& text(qint64 kb, QByteArray& scratch)
    {
        if (kb < 0 || kb >= qint64(m_small.size()))
            return scratch = escaped(m_locale.toString(kb));
        QByteArray& text = m_small[size_t(kb)];
        if (text.isEmpty())
            text = escaped(m_locale.toString(kb));
        return text;
    }

private:
    QLocale m_locale; // the one formatKB() uses
    std::array<QByteArray, 4096> m_small;
};

} // namespace

void printTsv(const ResultListModel& list, char number)
{
    QByteArray out;
    constexpr qsizetype Chunk = 256 * 1024;
    out.reserve(Chunk + 8192);
    SizeTexts sizes;
    QByteArray statusTexts[2]; // by ResultRow::Status
    QByteArray scratch, escapedName;
    // The rows of a folder follow each other: its two folder fields are made once.
    const RowFolder* folder = nullptr;
    QByteArray folders;
    for (const ResultRow& r : list.rows()) {
        if (!folder || r.folder() != folder) {
            folder = r.folder();
            folders = '\t' + escaped(r.sourceFolder()) + '\t' + escaped(r.targetFolder()) + '\t';
        }
        QByteArrayView name = plainName(r.nameView());
        if (name.isNull())
            name = escapedName = escaped(r.name());
        QByteArray& status = statusTexts[int(r.status)];
        if (status.isEmpty())
            status = escaped(r.statusText());
        const QByteArray& size = sizes.text(r.sizeKB(), scratch);

        // The line is written in place: room for all of it, then cut to what it took.
        const qsizetype at = out.size();
        out.resize(at + 2 + name.size() + folders.size() + status.size() + 1 + LocalTimeRoom + 1 +
                   size.size() + 1);
        char* p = out.data() + at;
        const auto put = [&p](const char* data, qsizetype n) {
            std::memcpy(p, data, size_t(n));
            p += n;
        };
        *p++ = number;
        *p++ = '\t';
        put(name.data(), name.size());
        put(folders.constData(), folders.size());
        put(status.constData(), status.size());
        *p++ = '\t';
        p = putLocalTime(p, r.modified);
        *p++ = '\t';
        put(size.constData(), size.size());
        *p++ = '\n';
        out.resize(p - out.constData());
        if (out.size() >= Chunk) {
            if (!writeOut(out))
                return;
            out.resize(0); // keeps its room
        }
    }
    writeOut(out);
}
