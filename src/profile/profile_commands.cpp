// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile/profile_commands.h"

#include "core/status_bar.h"
#include "profile/profile_file.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
const QString Filter = QCoreApplication::translate("Profile", "Profiles(*.prf)");

// The result lists, status panels and progress bar as the window starts: the rows of a scan
// belong to the profile that was scanned, and Synchronize must not copy them under another.
void resetResults(AppState& state, const Callbacks& cb)
{
    state.sourceRows.clear();
    state.targetRows.clear();
    state.errorRows.clear();
    state.scannedEntries.clear();
    state.profileProblems.clear();
    state.SourceFileCount = state.TargetFileCount = 0;
    state.SourceSizeKB = state.TargetSizeKB = 0;
    setPanel(state.status, cb, 1, QCoreApplication::translate("Profile", "Ready"));
    for (int panel = 2; panel <= 5; ++panel)
        setPanel(state.status, cb, panel, QString());
    setProgressRange(state.status, cb, 0, 1);
    setProgressValue(state.status, cb, 0);
}
} // namespace

void loadCurrentProfile(AppState& state)
{
    std::vector<ProfileFile::SkippedRecord> skipped;
    LoadProfileFile(state.profileEntries, state.ProfileFileName, &skipped);
    state.profileProblems.clear();
    const QFileInfo file(state.ProfileFileName);
    for (const ProfileFile::SkippedRecord& r : skipped) {
        state.profileProblems << QCoreApplication::translate("Profile", "Skipped %1")
                                     .arg(ProfileFile::describe(state.ProfileFileName, r));
        state.errorRows.append({.fileName = file.fileName(),
                                .source = file.path(),
                                .error = state.profileProblems.last(),
                                .kind = ErrorKind::ProfileRecordSkipped,
                                .origin = ErrorRow::Origin::Profile});
    }
}

bool isNoProfileFile(const QString& profileFileName)
{
    return profileFileName.isEmpty() || profileFileName == QLatin1String("*.prf");
}

QString profileCaption(const QString& profileFileName)
{
    return QCoreApplication::translate("Profile", "Ketrano Backup [%1]").arg(profileFileName);
}

void saveQuestion(AppState& state, const Callbacks& cb)
{
    if (!state.ProfileChanged)
        return;
    if (cb.askYesNoPlain && cb.askYesNoPlain(QCoreApplication::translate(
                                "Profile", "Profile has changed, Do you want to save?")))
        SaveProfile(state, cb);
}

QString NewProfile(AppState& state, const Callbacks& cb)
{
    saveQuestion(state, cb);
    state.profileEntries.clear();
    resetResults(state, cb);
    state.ProfileChanged = false;
    return QCoreApplication::translate("Profile", "Ketrano Backup   [New Profile]");
}

QString OpenProfile(AppState& state, const Callbacks& cb)
{
    const QString chosen =
        cb.openFileName ? cb.openFileName(QCoreApplication::translate("Profile", "Open File Name"),
                                          Filter, QStringLiteral("*.prf"))
                        : QString();
    if (isNoProfileFile(chosen))
        return {}; // cancelled: the current profile, its file name and its changes stay
    state.ProfileFileName = chosen;
    state.profileEntries.clear();
    resetResults(state, cb);
    loadCurrentProfile(state);
    state.ProfileChanged = false;
    return profileCaption(state.ProfileFileName);
}

bool SaveProfile(AppState& state, const Callbacks& cb)
{
    const QString chosen =
        cb.saveFileName
            ? cb.saveFileName(QCoreApplication::translate("Profile", "Save to File Name"), Filter,
                              state.ProfileFileName)
            : QString();
    if (isNoProfileFile(chosen))
        return false; // cancelled: nothing is written, the changes are still unsaved
    QString error;
    if (!ProfileFile::write(chosen, state.profileEntries.entries(), &error)) {
        // The old file is untouched; say so rather than let the user believe it was saved.
        if (cb.showMessage)
            cb.showMessage(
                QCoreApplication::translate("Profile", "The profile could not be saved to %1:\n%2")
                    .arg(chosen, error));
        return false;
    }
    state.ProfileFileName = chosen;
    state.ProfileChanged = false;
    return true;
}
