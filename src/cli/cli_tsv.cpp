// SPDX-License-Identifier: GPL-3.0-or-later
// The --tsv lines of the result lists. A scan may list millions of rows, so the lines are put
// together as UTF-8 in buffers of a few hundred kilobytes, with what rows share (a folder's two
// fields, the status texts, the small sizes) made once, and a long list on two threads.
#include "cli/cli_output.h"
#include "core/plain_text.h"
#include "results/display_format.h"

#include <QLocale>
#include <algorithm>
#include <array>
#include <atomic>
#include <semaphore>
#include <system_error>
#include <thread>

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

// The lines of runs of rows, each formatter with its own caches, so that two threads may
// format at once.
class TsvLines
{
public:
    explicit TsvLines(char number) : m_number(number)
    {
        ResultRow row;
        for (auto status : {ResultRow::Status::NewFile, ResultRow::Status::OverWrite}) {
            row.status = status;
            m_status[int(status)] = escapeForLine(row.statusText()).toUtf8();
        }
    }

    void append(QByteArray& out, const ResultRow* begin, const ResultRow* end)
    {
        for (const ResultRow* r = begin; r != end; ++r) {
            // The rows of a folder follow each other: its two folder fields are made once.
            if (!m_folder || r->folder() != m_folder) {
                m_folder = r->folder();
                m_folders = '\t' + escapeForLine(r->sourceFolder()).toUtf8() + '\t' +
                            escapeForLine(r->targetFolder()).toUtf8() + '\t';
            }
            out += m_number;
            out += '\t';
            appendName(out, r->nameView());
            out += m_folders;
            out += m_status[int(r->status)];
            out += '\t';
            appendLocalTime(out, r->modified);
            out += '\t';
            m_sizes.append(out, r->sizeKB());
            out += '\n';
        }
    }

private:
    char m_number;
    QByteArray m_status[2]; // by ResultRow::Status
    SizeTexts m_sizes;
    const RowFolder* m_folder = nullptr;
    QByteArray m_folders;
};

// Rows a block: the lines of one block are a few hundred kilobytes.
constexpr size_t Block = 4096;

} // namespace

void printTsv(const ResultListModel& list, char number)
{
    const std::vector<ResultRow>& rows = list.rows();
    TsvLines lines(number);
    QByteArray out;
    const auto alone = [&] {
        for (size_t at = 0; at < rows.size(); at += Block) {
            out.resize(0); // keeps its room
            lines.append(out, rows.data() + at, rows.data() + std::min(rows.size(), at + Block));
            if (!writeOut(out))
                return;
        }
    };
    if (rows.size() <= 2 * Block)
        return alone();
    // A long list is formatted on two threads: this one takes the even blocks and writes every
    // block in order, a helper formats the odd ones into two buffers in turn, at most two
    // blocks ahead of the writing.
    const size_t blocks = (rows.size() + Block - 1) / Block;
    const auto block = [&rows](size_t k) {
        return std::pair(rows.data() + k * Block,
                         rows.data() + std::min(rows.size(), (k + 1) * Block));
    };
    TsvLines helperLines(number);
    std::array<QByteArray, 2> ahead;
    std::counting_semaphore<> free(2);
    std::counting_semaphore<> ready(0);
    std::atomic<bool> stop{false};
    std::thread helper;
    try {
        helper = std::thread([&] {
            for (size_t k = 1, slot = 0; k < blocks; k += 2, slot ^= 1) {
                free.acquire();
                if (stop.load(std::memory_order_relaxed))
                    return;
                ahead[slot].resize(0); // keeps its room
                const auto [begin, end] = block(k);
                helperLines.append(ahead[slot], begin, end);
                ready.release();
            }
        });
    } catch (const std::system_error&) { // no thread to be had
        return alone();
    }
    bool written = true;
    for (size_t k = 0, slot = 0; k < blocks && written; ++k) {
        if (k % 2 == 0) {
            out.resize(0);
            const auto [begin, end] = block(k);
            lines.append(out, begin, end);
            written = writeOut(out);
        } else {
            ready.acquire();
            written = writeOut(ahead[slot]);
            slot ^= 1;
            free.release();
        }
    }
    if (!written) { // the output is gone: the helper stops at its next block
        stop = true;
        free.release(2);
    }
    helper.join();
}
