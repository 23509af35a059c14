// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/copy_file.h"
#include "sync/destination_check.h"
#include "sync/partial_copy_name.h"

#include "core/name_bytes.h"
#include "support/temp_tree.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct stat statOf(const QString& path)
{
    struct stat st = {};
    ::stat(nameBytes(path).constData(), &st);
    return st;
}

// A row as the scan would make it, with the destination as it is on disk now.
struct Scanned
{
    ResultRow row;
    Destination dest;
};
Scanned scannedRow(const QString& name, const QString& from, const QString& to)
{
    Scanned s{ResultRow(name, from, to), {}};
    if (const struct stat st = statOf(s.row.targetPath()); st.st_nlink > 0) {
        s.dest = {true, st.st_mtim.tv_sec, qint32(st.st_mtim.tv_nsec), st.st_size};
        s.row.status = ResultRow::Status::OverWrite;
    }
    return s;
}

// The names in the folder, byte for byte (as nameText holds them), sorted.
QStringList entriesOf(const QString& folder)
{
    QStringList names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(nameBytes(folder).toStdString(), ec))
        names << nameText(e.path().filename().native());
    names.sort();
    return names;
}

class CopyFileTest : public ::testing::TestWithParam<bool>
{
protected:
    // The parameter: every file into an unnamed temporary file, or every file under a hidden
    // temporary name (as where the file system has no unnamed files).
    CopyPreparer preparer() const
    {
        return GetParam() ? CopyPreparer(0)
                          : CopyPreparer(std::numeric_limits<qint64>::max(), false);
    }
    QString src() const { return tree.path(QStringLiteral("src")); }
    QString dst() const { return tree.path(QStringLiteral("dst")); }
    // Prepares and places the copy of the row; 'between' runs every few MiB.
    QString copy(
        const Scanned& s, std::function<void()> between = [] {}) const
    {
        PreparedCopy prepared = preparer().prepare(s.row, s.dest, [&] {
            between();
            return true;
        });
        return CopyPlacer().place(s.row, prepared).text;
    }
    TempTree tree;
};

TEST_P(CopyFileTest, CarriesDataTimeToTheNanosecondPermissionBitsAndAnyName)
{
    // Bits the umask (022 here) would take, none, setuid, and no permission at all; names
    // with blanks, beyond ASCII and not UTF-8 at all, in a folder that has them too; an empty
    // file.
    const mode_t oldMask = ::umask(022);
    const QString in = src() + "/Ordner ä " + nameText("\xFF"),
                  out = dst() + "/Ordner ä " + nameText("\xFF");
    TempTree::makeFolders(out);
    const std::pair<QString, mode_t> files[] = {
        {"with blanks .txt", 0751},  {"Ünïcödé ßtraße.doc", 0666},
        {"日本語のファイル", 0400},  {" leading blank", 04755},
        {"setgid", 02775},           {"xy" + QString(120, u'é'), 0},
        {nameText("caf\xE9"), 0644}, {nameText("caf\xE8"), 0640}};
    for (const auto& [name, mode] : files) {
        SCOPED_TRACE(qPrintable(name));
        const QByteArray data = mode == 0 ? QByteArray() : nameBytes(name);
        TempTree::write(in + "/" + name, data, 1'600'000'000, 123'456'789, mode);

        // New, the copy carries an older time until its run has put it on disk (the time
        // it then gets: sync_test); replacing, it takes the source's time at once.
        for (const long seconds : {1'600'000'000L - 10, 1'600'000'000L}) {
            EXPECT_EQ(copy(scannedRow(name, in, out)), QString());
            EXPECT_EQ(TempTree::read(out + "/" + name), data);
            const struct stat st = statOf(out + "/" + name);
            EXPECT_EQ(std::tuple(st.st_mtim.tv_sec, st.st_mtim.tv_nsec, st.st_mode & 07777),
                      std::tuple(seconds, 123'456'789L, mode));
        }
    }
    ::umask(oldMask);
    EXPECT_EQ(entriesOf(out), entriesOf(in));
}

// A destination as the scan found it is replaced, also one whose read-only bits an earlier
// copy carried over from its source; one made read-only on its own is protected.
TEST_P(CopyFileTest, ReplacesADestinationUnlessItWasMadeReadOnly)
{
    // Source bits, destination bits, replaced.
    const std::tuple<mode_t, mode_t, bool> cases[] = {
        {0644, 0600, true}, {0444, 0444, true}, {0644, 0444, false}, {0444, 0440, false}};
    for (const auto& [source, destination, replaced] : cases) {
        SCOPED_TRACE(destination);
        TempTree::write(src() + "/b.dat", "new contents", 2'000'000'000, 5, source);
        TempTree::write(dst() + "/b.dat", "old", 1'000'000'000, 7, destination);
        EXPECT_EQ(copy(scannedRow("b.dat", src(), dst())),
                  replaced ? QString() : "The destination is read-only");
        EXPECT_EQ(TempTree::read(dst() + "/b.dat"), replaced ? "new contents" : "old");
        EXPECT_EQ(statOf(dst() + "/b.dat").st_mode & 07777, replaced ? source : destination);
        EXPECT_EQ(entriesOf(dst()), QStringList{"b.dat"});
    }
}

// Each case spoils the trees or the scanned row of "f.txt"; the copy must fail with the text
// given and leave the destination folder with exactly the entries and contents it had.
TEST_P(CopyFileTest, FailuresLeaveTheDestinationAsItWasAndNoTemporary)
{
    const QString from = src() + "/f.txt", to = dst() + "/f.txt",
                  changed = "The destination changed after the scan";
    const std::pair<std::function<void(Scanned&)>, QString> cases[] = {
        {[&](Scanned&) { QFile::remove(from); },
         "Reading the source failed: No such file or directory"},
        {[&](Scanned&) { QFile::remove(from), QDir().mkpath(from); },
         "Reading the source failed: Is a directory"},
        {[&](Scanned&) { QFile::remove(from), ::mkfifo(nameBytes(from).constData(), 0644); },
         "The source is not a regular file"}, // and does not hang
        {[&](Scanned& s) {
             s.row = s.row.withPaths(s.row.name(), s.row.sourceFolder(), to), s.dest = {};
         },
         "A file of that name is in the way"},
        {[&](Scanned&) { TempTree::setMtime(to, 1'700'000'000, 1); }, changed},
        {[&](Scanned& s) { s.dest.modifiedNs += 1; }, changed},
        {[&](Scanned& s) { s.dest.sizeBytes += 1; }, changed},
        {[&](Scanned&) { QFile::remove(to); }, "The destination was deleted after the scan"},
        {[&](Scanned& s) { s.dest.exists = false; }, "The destination was created after the scan"},
        {[&](Scanned& s) { QFile::remove(to), QDir().mkpath(to), s.dest.exists = false; },
         "A folder of that name is in the way"}};
    for (const auto& [spoil, expected] : cases) {
        SCOPED_TRACE(qPrintable(expected));
        QDir(src()).removeRecursively();
        TempTree::write(from, "fresh data", 1'650'000'000);
        TempTree::write(to, "old data", 1'600'000'000);
        Scanned row = scannedRow("f.txt", src(), dst());
        spoil(row);
        const QStringList before = entriesOf(dst());
        const QByteArray oldData = TempTree::read(to);
        EXPECT_EQ(copy(row), expected);
        EXPECT_EQ(entriesOf(dst()), before);
        EXPECT_EQ(TempTree::read(to), oldData);
    }
}

// The scan pairs names regardless of letter case: the row "Report.TXT" replaces the file
// "report.txt" it was paired with, under that file's own name, unless that is ambiguous. A
// name that is not UTF-8 has no letter case: "CAF\xE9" is not "caf\xE9".
TEST_P(CopyFileTest, DestinationSpeltInOtherLetterCase)
{
    const QString deleted = "The destination was deleted after the scan";
    for (const auto& [name, paired, twin, expected] :
         {std::tuple(QString("Report.TXT"), QString("report.txt"), QString(), QString()),
          {"Report.TXT", "report.txt", "REPORT.txt", deleted},
          {nameText("CAF\xE9"), nameText("caf\xE9"), QString(), deleted}}) {
        SCOPED_TRACE(qPrintable(name + twin));
        QDir(dst()).removeRecursively();
        TempTree::write(src() + "/" + name, "new", 1'700'000'000);
        for (const QString& old : {paired, twin})
            if (!old.isEmpty())
                TempTree::write(dst() + "/" + old, "old", 1'600'000'000);
        Scanned row = scannedRow(paired, src(), dst());
        row.row = row.row.withPaths(name, row.row.sourceFolder(), row.row.targetFolder());
        EXPECT_EQ(copy(row), expected);
        EXPECT_EQ(TempTree::read(dst() + "/" + paired), expected.isNull() ? "new" : "old");
        EXPECT_EQ(TempTree::read(dst() + "/" + twin), twin.isEmpty() ? "" : "old");
        EXPECT_EQ(entriesOf(dst()).size(), twin.isEmpty() ? 1 : 2);
    }
}

// A new file whose name the folder turns out to hold: the same name in other letters on a
// folder that does not tell letter case apart, or created meanwhile (a name that is not UTF-8
// has no letter case).
TEST(NameTaken, SaysWhetherTheFolderIgnoresLetterCase)
{
    TempTree t;
    t.add({{"a.txt", 1}, {nameText("caf\xE9"), 1}});
    const int dir = ::open(nameBytes(t.root()).constData(), O_PATH | O_DIRECTORY);
    const QString created = "The destination was created after the scan";
    EXPECT_EQ(nameTaken(dir, "a.txt").text, created);
    EXPECT_EQ(nameTaken(dir, "CAF\xE9").text, created);
    EXPECT_EQ(nameTaken(dir, "A.TXT").text,
              "The destination folder does not tell letter case apart: it holds a.txt already");
    ::close(dir);
}

TEST_P(CopyFileTest, LargeFileLetsTheWindowInBetweenAndKeepsItsBytes)
{
    QByteArray data(20 << 20, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char((i * 7919) >> 5);
    TempTree::write(src() + "/big.bin", data, 1'650'000'000, 42);
    QDir().mkpath(dst());
    int turns = 0;
    EXPECT_TRUE(copy(scannedRow("big.bin", src(), dst()), [&turns] { ++turns; }).isNull());
    EXPECT_GE(turns, 2);
    EXPECT_EQ(TempTree::read(dst() + "/big.bin"), data);
}

TEST_P(CopyFileTest, SparseFileAbove2GiBKeepsItsSizeDataAndHoles)
{
    const qint64 size = (qint64(5) << 29) + 3, island = qint64(3) << 29; // 2.5 GiB and a bit
    tree.add({"src/sparse.img", size});
    QFile f(src() + "/sparse.img");
    ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.seek(island) && f.write("island") == 6);
    f.close();
    TempTree::setMtime(f.fileName(), 1'650'000'000, 9);
    QDir().mkpath(dst());

    EXPECT_TRUE(copy(scannedRow("sparse.img", src(), dst())).isNull());

    f.setFileName(dst() + "/sparse.img");
    const struct stat st = statOf(f.fileName());
    EXPECT_EQ(std::tuple(st.st_size, st.st_mtim.tv_nsec), std::tuple(size, 9L));
    EXPECT_LT(qint64(st.st_blocks) * 512, qint64(64) << 20); // holes stayed holes
    ASSERT_TRUE(f.open(QIODevice::ReadOnly) && f.seek(island));
    EXPECT_EQ(f.read(6), QByteArray("island"));
}

INSTANTIATE_TEST_SUITE_P(Temporaries, CopyFileTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Unnamed" : "HiddenName";
                         });

TEST(PartialCopyName, RecognisesOnlyTheTemporaryNames)
{
    for (const char* name : {".report.pdf.ketrano-partial-a1B2c3", "..ketrano-partial-ZZZZZZ"})
        EXPECT_TRUE(isPartialCopyName(QString::fromUtf8(name))) << name;
    for (const char* name :
         {".ketrano-partial-abcdef", "report.pdf.ketrano-partial-a1B2c3",
          ".report.pdf.ketrano-partial-a1B2c", ".report.pdf.ketrano-partial-a1B2c!", ".report.pdf"})
        EXPECT_FALSE(isPartialCopyName(QString::fromUtf8(name))) << name;
    // Made names are recognised, fit NAME_MAX and keep the UTF-8 of a cut name whole.
    for (const QString& name : {QString("a.txt"), QString(), "x" + QString(200, QChar(0x00E9))}) {
        const QByteArray made = partialCopyName(name.toUtf8());
        const QString text = QString::fromUtf8(made);
        EXPECT_TRUE(made.size() <= 255 && text.toUtf8() == made && isPartialCopyName(text) &&
                    text.startsWith("." + name.left(20)))
            << made.constData();
    }
}

} // namespace
