// SPDX-License-Identifier: GPL-3.0-or-later
// The --tsv lines of the result lists. A scan may list millions of rows, so the lines are put
// together as UTF-8 in one buffer, with what rows share (a folder's two fields, the status
// texts, the small sizes) made once.
#include "cli/cli_output.h"
#include "core/plain_text.h"
#include "results/display_format.h"

#include <QLocale>
#include <algorithm>
#include <array>

namespace {

void appendEscaped(QByteArray& out, const QString& text)
{
    out += escapeForLine(text).toUtf8();
}

// A name as it is when it is printable ASCII (nearly always), else escaped like any field.
void appendName(QByteArray& out, QAnyStringView name)
{
    const bool plain = name.visit([&out](auto v) {
        if constexpr (std::is_same_v<decltype(v), QLatin1StringView>) {
            if (std::all_of(v.data(), v.data() + v.size(),
                            [](char c) { return plainForLine(char16_t(uchar(c))); })) {
                out.append(v.data(), v.size());
                return true;
            }
        }
        return false;
    });
    if (!plain)
        appendEscaped(out, name.toString());
}

// Sizes as the lists show them, in the locale's digits and groups; the small ones, which
// most files have, are made once each.
class SizeTexts
{
public:
    void append(QByteArray& out, qint64 kb)
    {
        if (kb < 0 || kb >= qint64(m_small.size())) {
            appendEscaped(out, m_locale.toString(kb));
            return;
        }
        QByteArray& text = m_small[size_t(kb)];
        if (text.isEmpty())
            text = escapeForLine(m_locale.toString(kb)).toUtf8();
        out += text;
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
    out.reserve(Chunk + 4096);
    SizeTexts sizes;
    QByteArray statusTexts[2]; // "New File", "OverWrite"
    // The rows of a folder follow each other: its two folder fields are made once.
    const RowFolder* folder = nullptr;
    QByteArray folders;
    for (const ResultRow& r : list.rows()) {
        if (!folder || r.folder() != folder) {
            folder = r.folder();
            folders = '\t' + escapeForLine(r.sourceFolder()).toUtf8() + '\t' +
                      escapeForLine(r.targetFolder()).toUtf8() + '\t';
        }
        out += number;
        out += '\t';
        appendName(out, r.nameView());
        out += folders;
        QByteArray& status = statusTexts[r.status == ResultRow::Status::NewFile ? 0 : 1];
        if (status.isEmpty())
            status = escapeForLine(r.statusText()).toUtf8();
        out += status;
        out += '\t';
        appendLocalTime(out, r.modified);
        out += '\t';
        sizes.append(out, r.sizeKB());
        out += '\n';
        if (out.size() >= Chunk) {
            if (!writeOut(out))
                return;
            out.resize(0); // keeps its room
        }
    }
    writeOut(out);
}
