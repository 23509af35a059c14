#include "support/recording_callbacks.h"

Callbacks RecordingCallbacks::callbacks()
{
    Callbacks cb;
    cb.yield = [this] { ++yields; };
    cb.panelChanged = [this](int panel, const QString& text) {
        panelLog << QStringLiteral("%1:%2").arg(panel).arg(text);
    };
    auto answer = [this](const QString& text) {
        questions << text;
        if (answers.empty())
            return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    };
    cb.askYesNo = answer;
    cb.askYesNoPlain = answer;
    cb.showMessage = [this](const QString& text) { messages << text; };
    cb.toggle = [this](int t) { return toggles[t]; };
    auto file = [this](const QString& title, const QString& filter, const QString& initial) {
        dialogs << title + QLatin1Char('|') + filter + QLatin1Char('|') + initial;
        if (fileNames.empty())
            return QString();
        const QString f = fileNames.front();
        fileNames.pop_front();
        return f;
    };
    cb.saveFileName = file;
    cb.openFileName = file;
    cb.pickFolder = [this](const QString& start) {
        dialogs << QStringLiteral("Pick a Folder|") + start;
        if (fileNames.empty())
            return QString();
        const QString f = fileNames.front();
        fileNames.pop_front();
        return f;
    };
    cb.showErrors = [this] { ++errorsShown; };
    cb.openFile = [this](const QString& path) { opened << path; };
    return cb;
}
