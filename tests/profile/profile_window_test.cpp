// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile/srctgtform.h"
#include "support/recording_callbacks.h"

#include <QtTest>
#include <QtWidgets>

// The entry editor driven as a user would (the profile list and its toolbar in the window are
// on the road of tests/app/window_road_test).

namespace {

const auto text = [](const EntryBuffer& e) {
    return QStringList{e.source, e.target, e.include, e.exclude}.join(',');
};
const auto click = [](const QWidget* parent, const char* button) {
    QTest::mouseClick(parent->findChild<QAbstractButton*>(button), Qt::LeftButton);
};

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
};

QTEST_MAIN(ProfileWindowTest)
#include "profile_window_test.moc"
