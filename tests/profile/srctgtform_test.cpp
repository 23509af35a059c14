#include "profile/srctgtform.h"
#include "support/recording_callbacks.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The entry editor driven as a user would: typing, clicking, Enter, Esc and the close box.
// Message boxes and the folder picker are answered by RecordingCallbacks.

namespace {

struct Editor
{
    AppState state;
    RecordingCallbacks rec;
    Callbacks cb;
    std::unique_ptr<SrcTgtForm> form;

    explicit Editor(const EntryBuffer& start, bool changed = false)
    {
        state.entryBuffer = start;
        state.ProfileChanged = changed;
        cb = rec.callbacks();
        form = std::make_unique<SrcTgtForm>(state, cb);
        form->show();
        QApplication::processEvents();
    }
    QLineEdit* text(const char* name) const { return form->findChild<QLineEdit*>(name); }
    QPushButton* button(const char* name) const { return form->findChild<QPushButton*>(name); }
    void type(const char* name, const QString& value) const
    {
        text(name)->clear();
        QTest::keyClicks(text(name), value);
    }
    EntryBuffer shown() const
    {
        return {text("SourceText")->text(), text("TargetText")->text(), text("IncludeText")->text(),
                text("ExcludeText")->text()};
    }
};

const EntryBuffer Start{QStringLiteral("/src"), QStringLiteral("/dst"), QStringLiteral("doc"),
                        QStringLiteral("tmp")};

} // namespace

class SrcTgtFormTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void controlsAndTexts();
    void tabOrderAndArrangement();
    void readsBufferOnCreation();
    void okValidation_data();
    void okValidation();
    void okKeepsTextsUntrimmedAndMarksChanged();
    void enterConfirms();
    void cancelPathsChangeNothing_data();
    void cancelPathsChangeNothing();
    void defaultButtons();
    void browse_data();
    void browse();
    void browseStartFolder();
};

void SrcTgtFormTest::controlsAndTexts()
{
    Editor e(Start);
    QCOMPARE(e.form->windowTitle(), QStringLiteral("Source and Target Folders"));
    const struct
    {
        const char* name;
        const char* text;
    } buttons[] = {{"OKCmd", "OK"},
                   {"Cancelcmd", "Cancel"},
                   {"SourceBrowse", "Browse"},
                   {"TargetBrowse", "Browse"},
                   {"IncludeDefault", "Default"},
                   {"ExcludeDefault", "Default"}};
    for (const auto& b : buttons) {
        QPushButton* button = e.button(b.name);
        QVERIFY2(button, b.name);
        QCOMPARE(button->text(), QString::fromLatin1(b.text));
        QCOMPARE(button->accessibleName(), QString::fromLatin1(b.name));
    }
    for (const char* name : {"SourceText", "TargetText", "IncludeText", "ExcludeText"}) {
        QVERIFY2(e.text(name), name);
        QCOMPARE(e.text(name)->accessibleName(), QString::fromLatin1(name));
        QCOMPARE(e.text(name)->maxLength(), 32767); // Qt's default: no limit of our own
    }
    QVERIFY(e.button("OKCmd")->isDefault());

    QStringList labels;
    for (const QLabel* label : e.form->findChildren<QLabel*>())
        labels << label->text();
    for (const char* expected :
         {"Source", "Target", "Include", "Exclude",
          "Type Source and Target Folders or Browse to get them",
          "Type Included and Excludes extentions seperated by comma eg.:  doc,xls,ppt"})
        QVERIFY2(labels.contains(QString::fromLatin1(expected)), expected);
    // Each field label stands for its text box.
    for (const QLabel* label : e.form->findChildren<QLabel*>()) {
        if (label->buddy())
            QCOMPARE(label->buddy()->objectName(), label->text() + QStringLiteral("Text"));
    }
}

void SrcTgtFormTest::tabOrderAndArrangement()
{
    Editor e(Start);
    QStringList order;
    QWidget* w = e.text("SourceText");
    for (int i = 0; i < 10; ++i) {
        order << w->objectName();
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible());
    }
    QCOMPARE(order, QStringList({"SourceText", "TargetText", "IncludeText", "ExcludeText", "OKCmd",
                                 "Cancelcmd", "SourceBrowse", "TargetBrowse", "IncludeDefault",
                                 "ExcludeDefault"}));

    auto rect = [&](QWidget* widget) {
        return QRect(widget->mapTo(e.form.get(), QPoint(0, 0)), widget->size());
    };
    const std::pair<const char*, const char*> rows[] = {{"SourceText", "SourceBrowse"},
                                                        {"TargetText", "TargetBrowse"},
                                                        {"IncludeText", "IncludeDefault"},
                                                        {"ExcludeText", "ExcludeDefault"}};
    for (const auto& [textName, buttonName] : rows) {
        const QRect t = rect(e.text(textName)), b = rect(e.button(buttonName));
        QVERIFY2(b.left() >= t.right(), buttonName);
        QVERIFY2(b.top() <= t.center().y() && t.center().y() <= b.bottom(), buttonName);
        QVERIFY(rect(e.button("OKCmd")).left() > b.right());
    }
    QVERIFY(rect(e.button("OKCmd")).bottom() < rect(e.button("Cancelcmd")).top());
    QVERIFY(rect(e.text("SourceText")).bottom() < rect(e.text("IncludeText")).top());
}

void SrcTgtFormTest::readsBufferOnCreation()
{
    Editor e(Start);
    QCOMPARE(e.shown(), Start);
}

void SrcTgtFormTest::okValidation_data()
{
    QTest::addColumn<QString>("exclude");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("asterisk alone") << "*" << false;
    QTest::newRow("blank before") << " *" << true;
    QTest::newRow("blank after") << "* " << true;
    QTest::newRow("with more") << "*,doc" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("extensions") << "bak,tmp" << true;
}

void SrcTgtFormTest::okValidation()
{
    QFETCH(QString, exclude);
    QFETCH(bool, accepted);
    Editor e(Start);
    e.type("SourceText", QStringLiteral("/new"));
    e.type("ExcludeText", exclude);
    QTest::mouseClick(e.button("OKCmd"), Qt::LeftButton);

    QCOMPARE(e.form->isVisible(), !accepted);
    QCOMPARE(e.state.ProfileChanged, accepted);
    if (accepted) {
        QVERIFY(e.rec.messages.isEmpty());
        QCOMPARE(e.form->result(), int(QDialog::Accepted));
        QCOMPARE(e.state.entryBuffer.exclude, exclude);
        QCOMPARE(e.state.entryBuffer.source, QStringLiteral("/new"));
    } else {
        QCOMPARE(e.rec.messages, QStringList{"Error in Excluded Extentions"});
        QCOMPARE(e.state.entryBuffer, Start);
        // The dialog keeps what was typed, and a corrected Exclude goes through.
        QCOMPARE(e.text("SourceText")->text(), QStringLiteral("/new"));
        QCOMPARE(e.text("ExcludeText")->text(), QStringLiteral("*"));
        e.type("ExcludeText", QStringLiteral("bak"));
        QTest::mouseClick(e.button("OKCmd"), Qt::LeftButton);
        QVERIFY(!e.form->isVisible());
        QCOMPARE(e.state.entryBuffer.exclude, QStringLiteral("bak"));
        QCOMPARE(e.rec.messages.size(), 1);
    }
}

void SrcTgtFormTest::okKeepsTextsUntrimmedAndMarksChanged()
{
    {
        Editor e(Start);
        const EntryBuffer typed{QStringLiteral("  /a b/ "), QString(), QStringLiteral(" doc , xls"),
                                QStringLiteral("\t")};
        e.type("SourceText", typed.source);
        e.type("TargetText", typed.target);
        e.type("IncludeText", typed.include);
        e.text("ExcludeText")->setText(typed.exclude);
        QTest::mouseClick(e.button("OKCmd"), Qt::LeftButton);
        QCOMPARE(e.state.entryBuffer, typed);
        QVERIFY(e.state.ProfileChanged);
    }
    {
        Editor e(Start); // nothing altered: still counts as a change
        QTest::mouseClick(e.button("OKCmd"), Qt::LeftButton);
        QCOMPARE(e.state.entryBuffer, Start);
        QVERIFY(e.state.ProfileChanged);
    }
}

void SrcTgtFormTest::enterConfirms()
{
    Editor e(Start);
    e.type("TargetText", QStringLiteral("/elsewhere"));
    QTest::keyClick(e.text("TargetText"), Qt::Key_Return);
    QVERIFY(!e.form->isVisible());
    QCOMPARE(e.form->result(), int(QDialog::Accepted));
    QCOMPARE(e.state.entryBuffer.target, QStringLiteral("/elsewhere"));
    QVERIFY(e.state.ProfileChanged);
}

void SrcTgtFormTest::cancelPathsChangeNothing_data()
{
    QTest::addColumn<int>("how");
    QTest::addColumn<bool>("changedBefore");
    QTest::newRow("Cancel") << 0 << false;
    QTest::newRow("Esc") << 1 << false;
    QTest::newRow("close box") << 2 << false;
    QTest::newRow("Cancel, already changed") << 0 << true;
}

void SrcTgtFormTest::cancelPathsChangeNothing()
{
    QFETCH(int, how);
    QFETCH(bool, changedBefore);
    Editor e(Start, changedBefore);
    e.type("SourceText", QStringLiteral("/typed"));
    QTest::mouseClick(e.button("IncludeDefault"), Qt::LeftButton);
    if (how == 0)
        QTest::mouseClick(e.button("Cancelcmd"), Qt::LeftButton);
    else if (how == 1)
        QTest::keyClick(e.text("SourceText"), Qt::Key_Escape);
    else
        e.form->close();
    QVERIFY(!e.form->isVisible());
    QCOMPARE(e.form->result(), int(QDialog::Rejected));
    QCOMPARE(e.state.entryBuffer, Start);
    QCOMPARE(e.state.ProfileChanged, changedBefore);
    QVERIFY(e.rec.messages.isEmpty());
}

void SrcTgtFormTest::defaultButtons()
{
    Editor e(Start);
    QTest::mouseClick(e.button("IncludeDefault"), Qt::LeftButton);
    QTest::mouseClick(e.button("ExcludeDefault"), Qt::LeftButton);
    QCOMPARE(e.text("IncludeText")->text(), QStringLiteral("*"));
    QCOMPARE(e.text("ExcludeText")->text(), QString());
    QCOMPARE(e.state.entryBuffer, Start); // only OK hands them over
    QVERIFY(!e.state.ProfileChanged);
    QTest::mouseClick(e.button("OKCmd"), Qt::LeftButton);
    QCOMPARE(e.state.entryBuffer,
             (EntryBuffer{Start.source, Start.target, QStringLiteral("*"), QString()}));
}

void SrcTgtFormTest::browse_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("box");
    QTest::newRow("source") << "SourceBrowse"
                            << "SourceText";
    QTest::newRow("target") << "TargetBrowse"
                            << "TargetText";
}

void SrcTgtFormTest::browse()
{
    QFETCH(QString, button);
    QFETCH(QString, box);
    QTemporaryDir dir;
    const QString typed = dir.path() + QStringLiteral("/with blank");
    QVERIFY(QDir().mkpath(typed));
    Editor e(Start);
    QLineEdit* text = e.text(qPrintable(box));
    text->setText(typed);

    // Cancelled picker: the text stays; the picker started at the typed folder.
    QTest::mouseClick(e.button(qPrintable(button)), Qt::LeftButton);
    QCOMPARE(e.rec.dialogs, QStringList{"Pick a Folder|" + typed});
    QCOMPARE(text->text(), typed);

    // A chosen folder replaces the text as given, root included.
    e.rec.fileNames = {QStringLiteral("/")};
    QTest::mouseClick(e.button(qPrintable(button)), Qt::LeftButton);
    QCOMPARE(text->text(), QStringLiteral("/"));
    QCOMPARE(e.state.entryBuffer, Start);
    QVERIFY(e.form->isVisible());
    const int other = box == QLatin1String("SourceText") ? 1 : 0;
    QCOMPARE(e.shown().source, other == 1 ? QStringLiteral("/") : Start.source);
    QCOMPARE(e.shown().target, other == 0 ? QStringLiteral("/") : Start.target);
}

void SrcTgtFormTest::browseStartFolder()
{
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.path() + QStringLiteral("/a b")));
    const struct
    {
        QString typed;
        QString start;
    } cases[] = {
        {QString(), QString()},
        {QStringLiteral("   "), QString()},
        {dir.path() + QStringLiteral("/a b"), dir.path() + QStringLiteral("/a b")},
        {dir.path() + QStringLiteral("/a b/"), dir.path() + QStringLiteral("/a b")},
        {" " + dir.path() + QStringLiteral("/a b "), dir.path() + QStringLiteral("/a b")},
        {dir.path() + QStringLiteral("/a b/not/yet"), dir.path() + QStringLiteral("/a b")},
        {QStringLiteral("/no-such-folder-anywhere"), QStringLiteral("/")},
    };
    for (const auto& c : cases)
        QCOMPARE(SrcTgtForm::browseStart(c.typed), c.start);
}

QTEST_MAIN(SrcTgtFormTest)
#include "srctgtform_test.moc"
