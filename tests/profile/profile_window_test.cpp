#include "app/mainform.h"
#include "profile/srctgtform.h"
#include "support/recording_callbacks.h"

#include <QtTest>
#include <QtWidgets>

// The entry editor driven as a user would, and the profile list and its toolbar in the window.

namespace {

const char* const Boxes[] = {"SourceText", "TargetText", "IncludeText", "ExcludeText"};

// The four texts of an open editor, "source,target,include,exclude".
QString boxes(const QWidget* form)
{
    QStringList texts;
    for (const char* name : Boxes)
        texts << form->findChild<QLineEdit*>(name)->text();
    return texts.join(',');
}

const auto text = [](const EntryBuffer& e) {
    return QStringList{e.source, e.target, e.include, e.exclude}.join(',');
};
const auto click = [](const QWidget* parent, const char* button) {
    QTest::mouseClick(parent->findChild<QAbstractButton*>(button), Qt::LeftButton);
};

// Answers the next entry editor: notes its texts in 'shown', then types 'ok' (four texts) and
// clicks OK, or cancels when 'ok' is empty.
void answerEditor(QString& shown, const QString& ok)
{
    QTimer::singleShot(0, [&shown, ok] {
        auto* form = qobject_cast<SrcTgtForm*>(QApplication::activeModalWidget());
        if (!form)
            return;
        shown = boxes(form);
        if (ok.isEmpty())
            return form->reject();
        for (int i = 0; i < 4; ++i)
            form->findChild<QLineEdit*>(Boxes[i])->setText(ok.section(',', i, i));
        click(form, "OKCmd");
    });
}

} // namespace

class ProfileWindowTest : public QObject
{
    Q_OBJECT
    AppState state;
    RecordingCallbacks rec;
    Callbacks cb = rec.callbacks(); // answers through 'rec' whenever it is replaced
    std::unique_ptr<SrcTgtForm> form;

    // A fresh editor over the entry "/src,/dst,doc,tmp".
    void openEditor()
    {
        state.entryBuffer = {"/src", "/dst", "doc", "tmp"};
        state.ProfileChanged = false;
        rec = RecordingCallbacks();
        form = std::make_unique<SrcTgtForm>(state, cb);
        form->show();
    }
    QLineEdit* box(const char* name) const { return form->findChild<QLineEdit*>(name); }

private Q_SLOTS:
    void editorControlsDefaultAndBrowse()
    {
        openEditor();
        QCOMPARE(boxes(form.get()), "/src,/dst,doc,tmp");

        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath("a b")));
        click(form.get(), "IncludeDefault");
        click(form.get(), "ExcludeDefault");
        QCOMPARE(text(state.entryBuffer), "/src,/dst,doc,tmp"); // only OK hands the texts over
        box("SourceText")->setText(dir.filePath("a b/not yet"));
        click(form.get(), "SourceBrowse"); // cancelled: the text stays
        rec.fileNames = {"/"};
        click(form.get(), "TargetBrowse"); // the chosen folder as given
        QCOMPARE(rec.dialogs,
                 QStringList({"Pick a Folder|" + dir.filePath("a b"), "Pick a Folder|/"}));
        click(form.get(), "OKCmd");
        QCOMPARE(text(state.entryBuffer), dir.filePath("a b/not yet") + ",/,*,");
    }

    void okAndCancel()
    {
        // Typed Source and Exclude, then a click, a key (Return for the default button) or close.
        const std::tuple<QString, QString, QByteArray> cases[] = {
            {"/new", "*", "OKCmd"},    {" /new ", " *", "Return"}, {"", "*,doc", "OKCmd"},
            {"/src", "tmp", "Return"}, {"/new", "x", "Cancelcmd"}, {"/new", "x", "Escape"},
            {"/new", "x", "close"}};
        for (const auto& [source, exclude, how] : cases) {
            openEditor();
            box("SourceText")->clear();
            QTest::keyClicks(box("SourceText"), source);
            box("ExcludeText")->setText(exclude);
            if (how.endsWith("cmd") || how == "OKCmd")
                click(form.get(), how);
            else if (how == "close")
                form->close();
            else
                QTest::keyClick(form.get(), how == "Escape" ? Qt::Key_Escape : Qt::Key_Return);
            const bool ok = how == "OKCmd" || how == "Return", refused = ok && exclude == "*";
            const QString typed = source + ",/dst,doc," + exclude;
            QCOMPARE(rec.messages,
                     refused ? QStringList{"Error in Excluded Extentions"} : QStringList{});
            QCOMPARE(form->isVisible(), refused);
            QCOMPARE(text(state.entryBuffer), ok && !refused ? typed : "/src,/dst,doc,tmp");
            QCOMPARE(state.ProfileChanged, ok && !refused); // also when nothing differs
        }
    }

    void profileListAndToolbar()
    {
        form.reset();
        MainForm window{QString()}; // not loaded: no settings read or written
        window.show();
        rec = RecordingCallbacks();
        window.callbacks() = cb;
        ProfileModel& profile = window.state().ProfileList;
        auto* list = window.findChild<QTreeView*>("ProfileList");
        const auto select = [&](int row) { list->setCurrentIndex(profile.index(row, 0)); };
        profile.append({"/a", "/A", "*", ""});
        profile.append({"/b", "/B", "doc", "tmp"});
        select(0);
        QString shown;
        answerEditor(shown, ""); // New, then Cancel
        click(&window, "TbrProfile_1");
        answerEditor(shown, "  ,/t,*,"); // OK with a blank Source: changed, but no row
        click(&window, "TbrProfile_1");
        QVERIFY(window.state().ProfileChanged);
        answerEditor(shown, " /n,/N ,*,x "); // kept as typed, at the end
        click(&window, "TbrProfile_1");
        QCOMPARE(shown, ",,*,");
        QCOMPARE(list->font().pointSize(), 8);
        select(1);
        answerEditor(shown, ",/B2,*,");
        click(&window, "TbrProfile_2");
        QCOMPARE(shown, "/b,/B,doc,tmp");
        const QPoint third = list->visualRect(profile.index(2, 0)).center();
        answerEditor(shown, "");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, third);
        QCOMPARE(shown, " /n,/N ,*,x ");
        shown.clear();
        list->selectionModel()->clearSelection(); // no selected row: no editor, no delete
        answerEditor(shown, "/x,/y,*,");
        click(&window, "TbrProfile_2");
        click(&window, "TbrProfile_3");
        QApplication::processEvents();
        QCOMPARE(shown, "");
        QCOMPARE(profile.entries(),
                 std::vector<EntryBuffer>(
                     {{"/a", "/A", "*", ""}, {"", "/B2", "*", ""}, {" /n", "/N ", "*", "x "}}));

        click(&window, "tbrMain_2"); // the edits make Open ask, and New (Open was cancelled)
        click(&window, "tbrMain_1");
        QCOMPARE(window.windowTitle(), "Ketrano Backup   [New Profile]");
        profile.append({"/a", "/A", "*", ""});
        select(0);
        click(&window, "TbrProfile_3"); // a delete alone makes nothing ask
        QCOMPARE(profile.size(), 0);
        click(&window, "tbrMain_1");
        QTemporaryDir dir;
        rec.fileNames = {dir.filePath("x.prf")};
        click(&window, "tbrMain_2");
        QCOMPARE(window.windowTitle(), "Ketrano Backup [" + dir.filePath("x.prf") + "]");
        QCOMPARE(rec.questions, QStringList(2, "Profile has changed, Do you want to save?"));
    }
};

QTEST_MAIN(ProfileWindowTest)
#include "profile_window_test.moc"
