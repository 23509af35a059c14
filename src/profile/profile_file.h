// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profile/profile_model.h"

#include <QByteArray>
#include <QString>
#include <vector>

// Profile files: headerless sequences of 1200-byte records, each four 300-byte fields
// (Source, Target, Include, Exclude), space padded, UTF-8; a field that is not valid UTF-8 is
// read as Windows-1252 so profiles written on Windows still load.
namespace ProfileFile {

constexpr int FieldSize = 300;
constexpr int RecordSize = 4 * FieldSize;

QByteArray encodeField(const QString& text);  // cut to 300 bytes at a character boundary, padded
QString decodeField(const QByteArray& field); // spaces trimmed at both ends
QByteArray encodeRecord(const ProfileEntry& entry);

// A record that was not loaded, and why. Records are numbered from 1.
struct SkippedRecord
{
    int number;
    QString reason;
};

// The sound records of a profile file's bytes. A record whose field holds a NUL or another
// control character is damaged (a path cut at a NUL would name another folder than the one
// shown), and so is a partial record at the end: both are listed in 'skipped', and damaged
// records are left out unless 'keepDamaged' (to show what the file holds).
std::vector<ProfileEntry> decode(const QByteArray& bytes,
                                 std::vector<SkippedRecord>* skipped = nullptr,
                                 bool keepDamaged = false);
// The first field of the entry that holds a control character ("Source", ...), or null.
const char* damagedField(const ProfileEntry& entry);

// Reads the sound entries of a file; false when it cannot be read (missing, a folder, no
// access).
bool read(const QString& path, std::vector<ProfileEntry>& entries,
          std::vector<SkippedRecord>* skipped = nullptr);

// "record N of FILE: reason", for messages about a skipped record.
QString describe(const QString& path, const SkippedRecord& record);
// Writes the whole profile atomically; false (and the old file untouched) on failure.
bool write(const QString& path, const std::vector<ProfileEntry>& entries, QString* error = nullptr);

} // namespace ProfileFile

// Appends the sound entries of the file at path to the list. A missing file is created
// empty; a file that can be read but not written still loads. Damaged records are listed in
// 'skipped'.
void LoadProfileFile(ProfileModel& list, const QString& path,
                     std::vector<ProfileFile::SkippedRecord>* skipped = nullptr);
