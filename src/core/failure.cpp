// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/failure.h"

#include <QCoreApplication>

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
    {ErrorKind::ProfileRecordSkipped, "profile-record-skipped",
     QT_TRANSLATE_NOOP("Failure", "Skipped a damaged record")},
    {ErrorKind::ProfileBusy, "profile-busy",
     QT_TRANSLATE_NOOP("Failure", "Another run of the profile is in progress")},
    {ErrorKind::FolderUnreadable, "folder-unreadable",
     QT_TRANSLATE_NOOP("Failure", "Scan: cannot read folder:")},
    {ErrorKind::FileUnreadable, "file-unreadable",
     QT_TRANSLATE_NOOP("Failure", "Scan: cannot read file:")},
    {ErrorKind::RootNotAbsolute, "root-not-absolute",
     QT_TRANSLATE_NOOP("Failure", "The folder is not an absolute path")},
    {ErrorKind::RootMissing, "root-missing",
     QT_TRANSLATE_NOOP("Failure", "The folder does not exist")},
    {ErrorKind::RootUnreadable, "root-unreadable",
     QT_TRANSLATE_NOOP("Failure", "Scan: cannot read folder:")},
    {ErrorKind::RootNotOnUsualDisk, "root-not-on-usual-disk",
     QT_TRANSLATE_NOOP("Failure", "The folder is not on its usual disk: is the disk mounted?")},
    {ErrorKind::RootNotChecked, "root-not-checked",
     QT_TRANSLATE_NOOP("Failure", "The folder cannot be checked to be on its usual disk")},
    {ErrorKind::FolderInTheWay, "folder-in-the-way",
     QT_TRANSLATE_NOOP("Failure", "A folder of that name is in the way")},
    {ErrorKind::RootMoved, "root-moved",
     QT_TRANSLATE_NOOP(
         "Failure",
         "The folder is no longer on the disk it was on at the scan: is the disk mounted?")},
    {ErrorKind::RootNotCreated, "root-not-created",
     QT_TRANSLATE_NOOP("Failure", "The folder does not exist")},
    {ErrorKind::SourceUnreadable, "source-unreadable",
     QT_TRANSLATE_NOOP("Failure", "Reading the source failed:")},
    {ErrorKind::SourceNotRegular, "source-not-regular",
     QT_TRANSLATE_NOOP("Failure", "The source is not a regular file")},
    {ErrorKind::SourceChanged, "source-changed",
     QT_TRANSLATE_NOOP("Failure", "The source changed while it was copied")},
    {ErrorKind::FolderNotCreated, "folder-not-created",
     QT_TRANSLATE_NOOP("Failure", "Creating the destination folder failed:")},
    {ErrorKind::FolderNotOpened, "folder-not-opened",
     QT_TRANSLATE_NOOP("Failure", "Opening the destination folder failed:")},
    {ErrorKind::LinkOutOfRoot, "link-out-of-root",
     QT_TRANSLATE_NOOP("Failure",
                       "The destination folder leads out of its root through a symbolic link")},
    {ErrorKind::FileInTheWay, "file-in-the-way",
     QT_TRANSLATE_NOOP("Failure", "A file of that name is in the way")},
    {ErrorKind::DestinationCheckFailed, "destination-check-failed",
     QT_TRANSLATE_NOOP("Failure", "Checking the destination failed:")},
    {ErrorKind::DestinationChanged, "destination-changed",
     QT_TRANSLATE_NOOP("Failure", "The destination changed after the scan")},
    {ErrorKind::DestinationDeleted, "destination-deleted",
     QT_TRANSLATE_NOOP("Failure", "The destination was deleted after the scan")},
    {ErrorKind::DestinationCreated, "destination-created",
     QT_TRANSLATE_NOOP("Failure", "The destination was created after the scan")},
    {ErrorKind::DestinationReadOnly, "destination-read-only",
     QT_TRANSLATE_NOOP("Failure", "The destination is read-only")},
    {ErrorKind::CaseClash, "case-clash",
     QT_TRANSLATE_NOOP("Failure", "The destination folder does not tell letter case apart")},
    {ErrorKind::WriteFailed, "write-failed",
     QT_TRANSLATE_NOOP("Failure", "Writing the destination failed:")},
    {ErrorKind::ReplaceFailed, "replace-failed",
     QT_TRANSLATE_NOOP("Failure", "Replacing the destination failed:")},
    {ErrorKind::CreateFailed, "create-failed",
     QT_TRANSLATE_NOOP("Failure", "Creating the destination failed:")},
    {ErrorKind::VersionNotKept, "version-not-kept",
     QT_TRANSLATE_NOOP("Failure", "Keeping the replaced file as a version failed:")},
    {ErrorKind::Stopped, "stopped", QT_TRANSLATE_NOOP("Failure", "Stopped")},
    {ErrorKind::FlushFailed, "flush-failed",
     QT_TRANSLATE_NOOP("Failure", "Writing the copies to disk failed:")},
    {ErrorKind::RootsNotRemembered, "roots-not-remembered",
     QT_TRANSLATE_NOOP("Failure", "Remembering the disks of the roots failed:")},
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

QString withSystemMessage(const QString& what, int error)
{
    return what + QLatin1String(": ") + QString::fromLocal8Bit(std::strerror(error));
}

Failure failure(ErrorKind kind, int error)
{
    // The window shows the text in its language; ketrano-cli, which loads no translation, and
    // the kind's name stay English.
    const QString text = QCoreApplication::translate("Failure", entry(kind).text);
    if (text.endsWith(QLatin1Char(':')))
        return {kind, error, withSystemMessage(text.chopped(1), error)};
    return {kind, error, text};
}

Failure failure(ErrorKind kind, int error, const QString& text)
{
    return {kind, error, text};
}
