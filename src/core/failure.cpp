// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/failure.h"

#include <cstring>
#include <iterator>

namespace {

// Each kind once: its machine name, and either its fixed text or (ending in ':') what failed,
// to be followed by the system's message.
struct KindText
{
    ErrorKind kind;
    const char* name;
    const char* text;
};

constexpr KindText Kinds[] = {
    {ErrorKind::None, "none", ""},
    {ErrorKind::ProfileRecordSkipped, "profile-record-skipped", "Skipped a damaged record"},
    {ErrorKind::ProfileBusy, "profile-busy", "Another run of the profile is in progress"},
    {ErrorKind::FolderUnreadable, "folder-unreadable", "Scan: cannot read folder:"},
    {ErrorKind::FileUnreadable, "file-unreadable", "Scan: cannot read file:"},
    {ErrorKind::RootNotAbsolute, "root-not-absolute", "The folder is not an absolute path"},
    {ErrorKind::RootMissing, "root-missing", "The folder does not exist"},
    {ErrorKind::RootUnreadable, "root-unreadable", "Scan: cannot read folder:"},
    {ErrorKind::RootNotOnUsualDisk, "root-not-on-usual-disk",
     "The folder is not on its usual disk: is the disk mounted?"},
    {ErrorKind::RootNotChecked, "root-not-checked",
     "The folder cannot be checked to be on its usual disk"},
    {ErrorKind::FolderInTheWay, "folder-in-the-way", "A folder of that name is in the way"},
    {ErrorKind::RootMoved, "root-moved",
     "The folder is no longer on the disk it was on at the scan: is the disk mounted?"},
    {ErrorKind::RootNotCreated, "root-not-created", "The folder does not exist"},
    {ErrorKind::SourceUnreadable, "source-unreadable", "Reading the source failed:"},
    {ErrorKind::SourceNotRegular, "source-not-regular", "The source is not a regular file"},
    {ErrorKind::SourceChanged, "source-changed", "The source changed while it was copied"},
    {ErrorKind::FolderNotCreated, "folder-not-created", "Creating the destination folder failed:"},
    {ErrorKind::FolderNotOpened, "folder-not-opened", "Opening the destination folder failed:"},
    {ErrorKind::LinkOutOfRoot, "link-out-of-root",
     "The destination folder leads out of its root through a symbolic link"},
    {ErrorKind::FileInTheWay, "file-in-the-way", "A file of that name is in the way"},
    {ErrorKind::DestinationCheckFailed, "destination-check-failed",
     "Checking the destination failed:"},
    {ErrorKind::DestinationChanged, "destination-changed",
     "The destination changed after the scan"},
    {ErrorKind::DestinationDeleted, "destination-deleted",
     "The destination was deleted after the scan"},
    {ErrorKind::DestinationCreated, "destination-created",
     "The destination was created after the scan"},
    {ErrorKind::DestinationReadOnly, "destination-read-only", "The destination is read-only"},
    {ErrorKind::CaseClash, "case-clash", "The destination folder does not tell letter case apart"},
    {ErrorKind::WriteFailed, "write-failed", "Writing the destination failed:"},
    {ErrorKind::ReplaceFailed, "replace-failed", "Replacing the destination failed:"},
    {ErrorKind::CreateFailed, "create-failed", "Creating the destination failed:"},
    {ErrorKind::VersionNotKept, "version-not-kept",
     "Keeping the replaced file as a version failed:"},
    {ErrorKind::Stopped, "stopped", "Stopped"},
    {ErrorKind::FlushFailed, "flush-failed", "Writing the copies to disk failed:"},
    {ErrorKind::RootsNotRemembered, "roots-not-remembered",
     "Remembering the disks of the roots failed:"},
};

static_assert(std::size(Kinds) == size_t(ErrorKind::RootsNotRemembered) + 1, "every kind once");

const KindText& entry(ErrorKind kind)
{
    for (const KindText& k : Kinds)
        if (k.kind == kind)
            return k;
    return Kinds[0];
}

} // namespace

const char* errorKindName(ErrorKind kind)
{
    return entry(kind).name;
}

QString withSystemMessage(const char* what, int error)
{
    return QLatin1String(what) + QLatin1String(": ") + QString::fromLocal8Bit(std::strerror(error));
}

Failure failure(ErrorKind kind, int error)
{
    const char* text = entry(kind).text;
    const size_t length = std::strlen(text);
    if (length > 0 && text[length - 1] == ':') {
        const QByteArray what(text, qsizetype(length - 1));
        return {kind, error, withSystemMessage(what.constData(), error)};
    }
    return {kind, error, QLatin1String(text)};
}

Failure failure(ErrorKind kind, int error, const QString& text)
{
    return {kind, error, text};
}
