// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help_window.h"
#include "app/mainform.h"
#include "app/run_log_window.h"
#include "app/translations.h"
#include "app/versions_window.h"
#include "profile/srctgtform.h"
#include "run/app_state.h"
#include "sync/errorsform.h"

#include <QtTest>
#include <QtWidgets>

#include <map>
#include <memory>

// The window in German, as the test's environment asks for (LANG=de_DE.UTF-8): the program's
// own texts and Qt's, and no text a person reads left out of the translation.

namespace {

// The translations of the German .ts file by source text (any context).
std::multimap<QString, QString> translationsOfTsFile()
{
    std::multimap<QString, QString> found;
    QFile file(QStringLiteral(KETRANO_TS_FILE));
    if (!file.open(QIODevice::ReadOnly))
        return found;
    QXmlStreamReader xml(&file);
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const bool unfinished =
                xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished");
            const QString text = xml.readElementText();
            found.emplace(source, unfinished || text.isEmpty() ? QString() : text);
        }
    }
    return found;
}

// Every text a person reads in the window and its dialogs (captions, tooltips, names for
// screen readers, window titles, list headings), by where it is shown.
std::map<QString, QString> visibleTexts(QWidget* top)
{
    // Objects are told apart by their name and their place in the window's (fixed) order.
    std::map<QString, QString> texts;
    std::map<const QObject*, int> order;
    const auto add = [&texts, &order](const QObject* o, const char* what, const QString& text) {
        const int place = order.emplace(o, int(order.size())).first->second;
        if (!text.trimmed().isEmpty())
            texts[o->objectName() + QLatin1Char('.') + QLatin1String(what) + QLatin1Char('#') +
                  QString::number(place)] = text;
    };
    QList<QWidget*> widgets = top->findChildren<QWidget*>();
    widgets.prepend(top);
    for (int i = 0; i < widgets.size(); ++i) {
        QWidget* w = widgets[i];
        add(w, "name", w->accessibleName());
        add(w, "tip", w->toolTip());
        if (w->isWindow())
            add(w, "title", w->windowTitle());
        if (const auto* b = qobject_cast<QAbstractButton*>(w))
            add(w, "text", b->text());
        if (const auto* l = qobject_cast<QLabel*>(w))
            add(w, "text", l->text());
        if (const auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model())
            for (int c = 0; c < view->model()->columnCount(); ++c)
                texts[view->objectName() + QStringLiteral(".heading%1").arg(c)] =
                    view->model()->headerData(c, Qt::Horizontal).toString();
    }
    for (const QAction* a : top->findChildren<QAction*>()) {
        add(a, "action", a->text());
        add(a, "actiontip", a->toolTip());
    }
    return texts;
}

// The windows whose texts are checked, made anew for the language loaded.
std::map<QString, QString> textsOfEveryWindow(AppState& state, const Callbacks& cb)
{
    std::map<QString, QString> all;
    const auto take = [&all](const QString& window, QWidget* w) {
        for (const auto& [where, text] : visibleTexts(w))
            all[window + QLatin1Char('/') + where] = text;
        delete w;
    };
    take(QStringLiteral("main"), new MainForm(QString()));
    take(QStringLiteral("entry"), new SrcTgtForm(state, cb));
    take(QStringLiteral("errors"), new ErrorsForm(&state.errorRows, nullptr));
    take(QStringLiteral("about"), createAboutDialog(nullptr));
    take(QStringLiteral("runlog"), new RunLogWindow(nullptr));
    take(QStringLiteral("keep"), new KeepVersionsDialog(nullptr));
    return all;
}

} // namespace

class TranslationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every text of the .ts file is translated. With the locale's translation, the window speaks
    // German, Qt's own buttons too; a text that reads the same as in English is one the
    // translation keeps on purpose (a name, "OK"), never one that escaped it.
    void theWindowIsGermanThroughout()
    {
        QCOMPARE(QLocale().language(), QLocale::German); // from LANG, as a user's session sets it
        AppState state;
        Callbacks cb;
        installTranslations(QLocale::c());
        const std::map<QString, QString> english = textsOfEveryWindow(state, cb);
        installTranslations();
        const std::map<QString, QString> german = textsOfEveryWindow(state, cb);

        const QString qtGerman =
            QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_de.qm");
        if (QFileInfo::exists(qtGerman))
            QCOMPARE(QDialogButtonBox(QDialogButtonBox::Cancel).buttons().at(0)->text(),
                     QStringLiteral("Abbrechen"));
        else
            qWarning("Qt's own German not checked: %s is not installed (qt6-translations-l10n)",
                     qPrintable(qtGerman));

        const std::multimap<QString, QString> ts = translationsOfTsFile(); // all translated
        QVERIFY2(ts.size() > 100, KETRANO_TS_FILE);
        for (const auto& [source, translation] : ts)
            QVERIFY2(!translation.isEmpty(), qPrintable(QStringLiteral("untranslated: ") + source));
        QCOMPARE(german.size(), english.size());
        int same = 0;
        QStringList missing;
        for (const auto& [where, text] : english) {
            QVERIFY2(german.count(where), qPrintable(where));
            if (german.at(where) != text)
                continue;
            ++same;
            // Kept the same on purpose: the .ts file gives it as its own translation.
            bool kept = false;
            for (auto [i, end] = ts.equal_range(text); i != end; ++i)
                kept = kept || i->second == text;
            const bool noWords = !text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2}")));
            if (!kept && !noWords)
                missing << where + QStringLiteral(": \"") + text + QLatin1Char('"');
        }
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not translated: ") +
                                               missing.join(QStringLiteral(", "))));
        QVERIFY2(same < int(english.size()) / 4, "most texts read the same in German");
    }
};

QTEST_MAIN(TranslationTest)
#include "translation_test.moc"
