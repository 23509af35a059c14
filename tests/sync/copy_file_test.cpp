#include "sync/copy_file.h"
#include "sync/destination_check.h"
#include "sync/partial_copy_name.h"

#include "core/name_bytes.h"
#include "support/temp_tree.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void writeFile(const QString& path, const QByteArray& data, qint64 mtime, long ns = 0,
               mode_t mode = 0644)
{
    TempTree::write(path, data, mtime, ns, mode);
}

struct stat statOf(const QString& path)
{
    struct stat st = {};
    ::stat(nameBytes(path).constData(), &st);
    return st;
}

// A row as the scan would make it, with the destination as it is on disk now.
ResultRow scannedRow(const QString& name, const QString& from, const QString& to)
{
    ResultRow row;
    row.name = name;
    row.sourceFolder = from;
    row.targetFolder = to;
    struct stat st;
    if (::stat(nameBytes(row.targetPath()).constData(), &st) == 0) {
        row.destExists = true;
        row.destModified = st.st_mtim.tv_sec;
        row.destModifiedNs = st.st_mtim.tv_nsec;
        row.destSizeBytes = st.st_size;
        row.status = ResultRow::Status::OverWrite;
    }
    return row;
}

// The names in the folder, byte for byte (as nameText holds them), sorted.
QStringList entriesOf(const QString& folder)
{
    QStringList names;
    if (DIR* d = ::opendir(nameBytes(folder).constData())) {
        while (const dirent* e = ::readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                names << nameText(e->d_name);
        ::closedir(d);
    }
    names.sort();
    return names;
}

class CopyFileTest : public ::testing::TestWithParam<bool>
{
protected:
    // The parameter: every file into an unnamed temporary file, or every file under a hidden
    // temporary name.
    qint64 unnamedFrom() const { return GetParam() ? 0 : std::numeric_limits<qint64>::max(); }
    QString src() const { return tree.path(QStringLiteral("src")); }
    QString dst() const { return tree.path(QStringLiteral("dst")); }
    // Prepares and places the copy of the row; 'between' runs every few MiB.
    QString copy(const ResultRow& row, std::function<void()> between = {}) const
    {
        PreparedCopy prepared = CopyPreparer(unnamedFrom()).prepare(row, [&between] {
            if (between)
                between();
            return true;
        });
        return CopyPlacer().place(row, prepared);
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
        writeFile(in + "/" + name, data, 1'600'000'000, 123'456'789, mode);

        EXPECT_EQ(copy(scannedRow(name, in, out)), QString());

        EXPECT_EQ(TempTree::read(out + "/" + name), data);
        const struct stat st = statOf(out + "/" + name);
        EXPECT_EQ(st.st_mtim.tv_sec, 1'600'000'000);
        EXPECT_EQ(st.st_mtim.tv_nsec, 123'456'789);
        EXPECT_EQ(st.st_mode & 07777, mode);
    }
    ::umask(oldMask);
    EXPECT_EQ(entriesOf(out), entriesOf(in));
}

// A destination as the scan found it is replaced, also one whose read-only bits an earlier
// copy carried over from its source; one made read-only on its own is protected.
TEST_P(CopyFileTest, ReplacesADestinationUnlessItWasMadeReadOnly)
{
    // Source bits, destination bits, replaced.
    for (const auto& [source, destination, replaced] : {std::tuple(0644, 0600, true),
                                                        {0444, 0444, true},
                                                        {0644, 0444, false},
                                                        {0444, 0440, false}}) {
        SCOPED_TRACE(destination);
        writeFile(src() + "/b.dat", "new contents", 2'000'000'000, 5, mode_t(source));
        writeFile(dst() + "/b.dat", "old", 1'000'000'000, 7, mode_t(destination));
        EXPECT_EQ(copy(scannedRow("b.dat", src(), dst())),
                  replaced ? QString() : "The destination is read-only");
        EXPECT_EQ(TempTree::read(dst() + "/b.dat"), replaced ? "new contents" : "old");
        EXPECT_EQ(statOf(dst() + "/b.dat").st_mode & 07777,
                  mode_t(replaced ? source : destination));
        EXPECT_EQ(entriesOf(dst()), QStringList{"b.dat"});
    }
}

// Each case prepares the trees (and possibly spoils the scanned row), then copies "f.txt";
// the copy must fail with the text given, leave the destination folder with exactly the
// entries it had and an existing destination with its old contents.
struct FailureCase
{
    const char* title;
    std::function<void(const QString& src, const QString& dst, ResultRow& row)> spoil;
    QString expected;
};

TEST_P(CopyFileTest, FailuresLeaveTheDestinationAsItWasAndNoTemporary)
{
    const std::vector<FailureCase> cases = {
        {"source vanished after the scan",
         [](const QString& s, const QString&, ResultRow&) { QFile::remove(s + "/f.txt"); },
         "Reading the source failed: No such file or directory"},
        {"source became a folder",
         [](const QString& s, const QString&, ResultRow&) {
             QFile::remove(s + "/f.txt");
             QDir().mkpath(s + "/f.txt");
         },
         "Reading the source failed: Is a directory"},
        {"source became a FIFO (must not hang)",
         [](const QString& s, const QString&, ResultRow&) {
             QFile::remove(s + "/f.txt");
             ::mkfifo(QFile::encodeName(s + "/f.txt").constData(), 0644);
         },
         "The source is not a regular file"},
        {"destination folder is a regular file",
         [](const QString&, const QString& d, ResultRow& row) {
             row.targetFolder = d + "/f.txt";
             row.destExists = false;
         },
         "Opening the destination folder failed: Not a directory"},
        {"destination edited after the scan",
         [](const QString&, const QString& d, ResultRow&) {
             TempTree::setMtime(d + "/f.txt", 1'700'000'000, 1);
         },
         "The destination changed after the scan"},
        {"destination changed only in its nanoseconds",
         [](const QString&, const QString&, ResultRow& row) { row.destModifiedNs += 1; },
         "The destination changed after the scan"},
        {"destination changed only in its size",
         [](const QString&, const QString&, ResultRow& row) { row.destSizeBytes += 1; },
         "The destination changed after the scan"},
        {"destination deleted after the scan: not made again",
         [](const QString&, const QString& d, ResultRow&) { QFile::remove(d + "/f.txt"); },
         "The destination was deleted after the scan"},
        {"destination appeared after the scan of a new file",
         [](const QString&, const QString&, ResultRow& row) { row.destExists = false; },
         "The destination was created after the scan"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.title);
        TempTree t;
        const QString s = t.path("s"), d = t.path("d");
        writeFile(s + "/f.txt", "fresh data", 1'650'000'000);
        writeFile(d + "/f.txt", "old data", 1'600'000'000, 0, 0644);
        ResultRow row = scannedRow("f.txt", s, d);
        c.spoil(s, d, row);
        const QStringList before = entriesOf(d);
        const QByteArray oldData = TempTree::read(d + "/f.txt");

        EXPECT_EQ(copy(row), c.expected);

        EXPECT_EQ(entriesOf(d), before);
        EXPECT_EQ(TempTree::read(d + "/f.txt"), oldData);
    }
}

// The scan pairs names regardless of letter case: the row "Report.TXT" replaces the file
// "report.txt" it was paired with, under that file's own name, unless that is ambiguous.
TEST_P(CopyFileTest, DestinationSpeltInOtherLetterCase)
{
    writeFile(src() + "/Report.TXT", "new", 1'700'000'000);
    writeFile(dst() + "/report.txt", "old", 1'600'000'000);
    ResultRow row = scannedRow("report.txt", src(), dst());
    row.name = "Report.TXT";
    ASSERT_TRUE(row.destExists);

    EXPECT_TRUE(copy(row).isNull());
    EXPECT_EQ(entriesOf(dst()), QStringList{"report.txt"});
    EXPECT_EQ(TempTree::read(dst() + "/report.txt"), QByteArray("new"));

    writeFile(dst() + "/report.txt", "old", 1'600'000'000);
    writeFile(dst() + "/REPORT.txt", "old", 1'600'000'000);
    EXPECT_EQ(copy(row), "The destination was deleted after the scan");
    EXPECT_EQ(TempTree::read(dst() + "/report.txt"), QByteArray("old"));
    EXPECT_EQ(TempTree::read(dst() + "/REPORT.txt"), QByteArray("old"));
    EXPECT_EQ(entriesOf(dst()).size(), 2);

    // A name that is not UTF-8 has no letter case: "CAF\xE9" is not "caf\xE9".
    const QString lower = nameText("caf\xE9"), upper = nameText("CAF\xE9");
    writeFile(src() + "/" + upper, "new", 1'700'000'000);
    writeFile(dst() + "/" + lower, "old", 1'600'000'000);
    row = scannedRow(lower, src(), dst());
    row.name = upper;
    EXPECT_EQ(copy(row), "The destination was deleted after the scan");
    EXPECT_EQ(TempTree::read(dst() + "/" + lower), QByteArray("old"));
}

// A new file whose name the folder turns out to hold: created meanwhile, or the same name in
// other letters on a folder that does not tell letter case apart (asked of a folder that
// holds "a.txt" and "caf\xE9").
TEST(NameTaken, SaysWhetherTheFolderIgnoresLetterCase)
{
    TempTree t;
    t.add({{"a.txt", 1}, {nameText("caf\xE9"), 1}});
    const int dir = ::open(nameBytes(t.root()).constData(), O_PATH | O_DIRECTORY);
    ASSERT_GE(dir, 0);
    const QString created = "The destination was created after the scan";
    for (const auto& [name, expected] :
         {std::pair<QByteArray, QString>("a.txt", created),
          {"A.TXT",
           "The destination folder does not tell letter case apart: it holds a.txt already"},
          {"CAF\xE9", created}})
        EXPECT_EQ(nameTakenText(dir, name), expected) << name.constData();
    ::close(dir);
}

TEST_P(CopyFileTest, LargeFileLetsTheWindowInBetweenAndKeepsItsBytes)
{
    QByteArray data(20 << 20, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char((i * 7919) >> 5);
    writeFile(src() + "/big.bin", data, 1'650'000'000, 42);
    QDir().mkpath(dst());
    int turns = 0;
    EXPECT_TRUE(copy(scannedRow("big.bin", src(), dst()), [&turns] { ++turns; }).isNull());
    EXPECT_GE(turns, 2);
    EXPECT_EQ(TempTree::read(dst() + "/big.bin"), data);
}

TEST_P(CopyFileTest, SparseFileAbove2GiBKeepsItsSizeDataAndHoles)
{
    const qint64 size = (qint64(5) << 29) + 3; // 2.5 GiB and a bit
    const QString from = src() + "/sparse.img";
    tree.add({"src/sparse.img", size, 1'650'000'000});
    {
        QFile f(from);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(qint64(3) << 29);
        f.write("island");
    }
    TempTree::setMtime(from, 1'650'000'000, 9);
    QDir().mkpath(dst());

    EXPECT_TRUE(copy(scannedRow("sparse.img", src(), dst())).isNull());

    const QString to = dst() + "/sparse.img";
    const struct stat st = statOf(to);
    EXPECT_EQ(st.st_size, size);
    EXPECT_EQ(st.st_mtim.tv_nsec, 9);
    EXPECT_LT(qint64(st.st_blocks) * 512, qint64(64) << 20); // holes stayed holes
    QFile f(to);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    f.seek(qint64(3) << 29);
    EXPECT_EQ(f.read(6), QByteArray("island"));
}

INSTANTIATE_TEST_SUITE_P(Temporaries, CopyFileTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Unnamed" : "HiddenName";
                         });

TEST(PartialCopyName, RecognisesOnlyTheTemporaryNames)
{
    const struct
    {
        const char* name;
        bool partial;
    } cases[] = {
        {".report.pdf.ketrano-partial-a1B2c3", true},
        {"..ketrano-partial-ZZZZZZ", true},
        {".ketrano-partial-abcdef", false}, // nothing before the marker but the dot
        {"report.pdf.ketrano-partial-a1B2c3", false},
        {".report.pdf.ketrano-partial-a1B2c", false},
        {".report.pdf.ketrano-partial-a1B2c!", false},
        {".report.pdf", false},
        {"report.pdf", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isPartialCopyName(QString::fromUtf8(c.name)), c.partial) << c.name;

    // Made names are recognised, fit NAME_MAX and keep the UTF-8 of a cut name whole.
    for (const QString& name : {QString("a.txt"), QString(), "x" + QString(200, QChar(0x00E9))}) {
        const QByteArray made = partialCopyName(name.toUtf8());
        EXPECT_LE(made.size(), 255);
        const QString decoded = QString::fromUtf8(made);
        EXPECT_EQ(decoded.toUtf8(), made);
        EXPECT_TRUE(isPartialCopyName(decoded)) << made.constData();
        EXPECT_TRUE(decoded.startsWith("." + name.left(20)));
    }
}

} // namespace
