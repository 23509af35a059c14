#include "profile/profile_commands.h"

#include "app/status_bar.h"
#include "profile/profile_file.h"

namespace {
const QString Filter = QStringLiteral("Profiles(*.prf)");
}

bool isNoProfileFile(const QString& profileFileName)
{
    return profileFileName.isEmpty() || profileFileName == QLatin1String("*.prf");
}

QString profileCaption(const QString& profileFileName)
{
    return QStringLiteral("Ketrano Backup [") + profileFileName + QLatin1Char(']');
}

void saveQuestion(AppState& state, const Callbacks& cb)
{
    if (!state.ProfileChanged)
        return;
    if (cb.askYesNoPlain &&
        cb.askYesNoPlain(QStringLiteral("Profile has changed, Do you want to save?")))
        SaveProfile(state, cb);
}

QString NewProfile(AppState& state, const Callbacks& cb)
{
    saveQuestion(state, cb);
    state.ProfileList.clear();
    state.ListView1.clear();
    state.ListView2.clear();
    state.ProfileChanged = false;
    setProgressRange(state, cb, 0, 1);
    return QStringLiteral("Ketrano Backup   [New Profile]");
}

QString OpenProfile(AppState& state, const Callbacks& cb)
{
    const QString chosen = cb.openFileName ? cb.openFileName(QStringLiteral("Open File Name"),
                                                             Filter, QStringLiteral("*.prf"))
                                           : QString();
    if (chosen.isEmpty() || isNoProfileFile(chosen))
        return {}; // cancelled: the current profile and its file name stay
    state.ProfileFileName = chosen;
    state.ProfileList.clear();
    LoadProfileFile(state.ProfileList, state.ProfileFileName);
    return profileCaption(state.ProfileFileName);
}

void SaveProfile(AppState& state, const Callbacks& cb)
{
    const QString chosen = cb.saveFileName ? cb.saveFileName(QStringLiteral("Save to File Name"),
                                                             Filter, state.ProfileFileName)
                                           : QString();
    if (chosen.isEmpty() || isNoProfileFile(chosen))
        return; // cancelled: nothing is written
    state.ProfileFileName = chosen;
    QString error;
    if (ProfileFile::write(chosen, state.ProfileList.entries(), &error)) {
        state.ProfileChanged = false;
    } else if (cb.showMessage) {
        cb.showMessage(
            QStringLiteral("The profile could not be saved to %1: %2").arg(chosen, error));
    }
}
