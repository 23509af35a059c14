// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile/profile_file.h"

#include "core/trim_blanks.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <utility>

namespace ProfileFile {
namespace {

// Windows-1252 bytes 0x80..0x9F; the five unassigned bytes keep their own code.
const char16_t Cp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out += (b >= 0x80 && b <= 0x9F) ? QChar(Cp1252High[b - 0x80]) : QChar(b);
    }
    return out;
}

} // namespace

QByteArray encodeField(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.size() > FieldSize) {
        qsizetype cut = FieldSize;
        // Never split a character: back up to the first byte of the one that does not fit.
        while (cut > 0 && (static_cast<unsigned char>(bytes.at(cut)) & 0xC0) == 0x80)
            --cut;
        bytes.truncate(cut);
    }
    bytes.append(FieldSize - bytes.size(), ' ');
    return bytes;
}

QString decodeField(const QByteArray& field)
{
    const QByteArray bytes = trimBlanks(QByteArrayView(field)).toByteArray();
    // Every byte counts, a leading byte order mark included.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return fromWindows1252(bytes);
    return text;
}

QByteArray encodeRecord(const ProfileEntry& entry)
{
    return encodeField(entry.source) + encodeField(entry.target) + encodeField(entry.include) +
           encodeField(entry.exclude);
}

const char* damagedField(const ProfileEntry& entry)
{
    const std::pair<const char*, const QString*> fields[] = {{"Source", &entry.source},
                                                             {"Target", &entry.target},
                                                             {"Include", &entry.include},
                                                             {"Exclude", &entry.exclude}};
    for (const auto& [name, text] : fields)
        for (QChar c : *text)
            if (c.category() == QChar::Other_Control)
                return name;
    return nullptr;
}

std::vector<ProfileEntry> decode(const QByteArray& bytes, std::vector<SkippedRecord>* skipped,
                                 bool keepDamaged)
{
    std::vector<ProfileEntry> entries;
    const qsizetype count = bytes.size() / RecordSize;
    entries.reserve(size_t(count));
    for (qsizetype n = 0; n < count; ++n) {
        const qsizetype at = n * RecordSize;
        ProfileEntry entry{decodeField(bytes.mid(at, FieldSize)),
                           decodeField(bytes.mid(at + FieldSize, FieldSize)),
                           decodeField(bytes.mid(at + 2 * FieldSize, FieldSize)),
                           decodeField(bytes.mid(at + 3 * FieldSize, FieldSize))};
        const char* damaged = damagedField(entry);
        if (damaged && skipped)
            skipped->push_back({int(n + 1), QCoreApplication::translate(
                                                "Profile", "its %1 holds a control character")
                                                .arg(QLatin1String(damaged))});
        if (!damaged || keepDamaged)
            entries.push_back(std::move(entry));
    }
    if (skipped && bytes.size() % RecordSize != 0)
        skipped->push_back(
            {int(count + 1),
             QCoreApplication::translate("Profile", "the file ends in a partial record of %1 bytes")
                 .arg(bytes.size() % RecordSize)});
    return entries;
}

QString describe(const QString& path, const SkippedRecord& record)
{
    return QCoreApplication::translate("Profile", "record %1 of %2: %3")
        .arg(record.number)
        .arg(path, record.reason);
}

bool read(const QString& path, std::vector<ProfileEntry>& entries,
          std::vector<SkippedRecord>* skipped)
{
    // Only a regular file is a profile: a folder cannot be read, and a pipe or a device could
    // block or never end.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    entries = decode(file.readAll(), skipped);
    return file.error() == QFileDevice::NoError;
}

bool write(const QString& path, const std::vector<ProfileEntry>& entries, QString* error)
{
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    for (size_t i = 0; ok && i < entries.size(); ++i)
        ok = file.write(encodeRecord(entries[i])) == RecordSize;
    ok = ok && file.commit();
    if (!ok && error)
        *error = file.errorString();
    if (!ok)
        file.cancelWriting();
    return ok;
}

} // namespace ProfileFile

void LoadProfileFile(ProfileModel& list, const QString& path,
                     std::vector<ProfileFile::SkippedRecord>* skipped)
{
    // A profile named on the command line that does not exist yet starts out as an empty
    // file, as it always has. NewOnly: a file that appeared meanwhile is never truncated.
    if (!path.isEmpty() && !QFileInfo::exists(path)) {
        QFile create(path);
        if (create.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            create.close();
    }
    std::vector<ProfileEntry> entries;
    if (!ProfileFile::read(path, entries, skipped))
        return;
    for (const ProfileEntry& e : entries)
        list.append(e);
}
