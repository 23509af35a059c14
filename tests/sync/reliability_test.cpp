#include "core/name_bytes.h"
#include "profile/profile_file.h"
#include "support/temp_tree.h"
#include "sync/partial_copy_name.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <linux/capability.h>
#include <map>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// The bad night, end to end: ketrano-cli sync run as cron runs it, with a fault injected into
// each run (a full disk, a file size limit, sources written during their copy, SIGKILL,
// unreadable folders, names that are not text, an unmounted disk, damaged input files). After
// each, every destination must be its old or its new content whole, and once the fault is gone
// one more run must leave both trees equal.

namespace fs = std::filesystem;

namespace {

struct Tally
{
    int faults = 0, kills = 0, badInputs = 0, lost = 0;
} g_tally;

class ReportLine : public ::testing::Environment
{
    void TearDown() override
    {
        std::printf("reliability: faults injected %d, kills survived %d, bad inputs tried %d, "
                    "files lost %d\n",
                    g_tally.faults, g_tally.kills, g_tally.badInputs, g_tally.lost);
        EXPECT_EQ(g_tally.lost, 0);
    }
};
[[maybe_unused]] auto* const g_report = ::testing::AddGlobalTestEnvironment(new ReportLine);

struct CliRun
{
    bool crashed = true; // ended by a signal
    int status = -1;
    QString err;
    QByteArray out;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

void start(QProcess& p, const QStringList& args, const std::function<void()>& inChild = {})
{
    if (inChild)
        p.setChildProcessModifier(inChild);
    p.start(QStringLiteral(KETRANO_CLI), args);
}

CliRun finish(QProcess& p)
{
    EXPECT_TRUE(p.waitForFinished(120000));
    CliRun r;
    r.crashed = p.exitStatus() != QProcess::NormalExit;
    r.status = r.crashed ? -1 : p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

CliRun cli(const QStringList& args, const std::function<void()>& inChild = {})
{
    QProcess p;
    start(p, args, inChild);
    return finish(p);
}

// In the child: root without its power over permission bits, as any user (exit 125 where the
// power cannot be taken away).
void asAnyUser()
{
    if (::geteuid() == 0 && (::prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE) != 0 ||
                             ::prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH) != 0))
        ::_exit(125);
}

// A tmpfs of the given size over a folder, unmounted when the object goes.
struct TmpfsMount
{
    QByteArray at;
    bool mounted;
    TmpfsMount(const QString& folder, const char* options)
        : at(QFile::encodeName(folder)),
          mounted(::mount("tmpfs", at.constData(), "tmpfs", 0, options) == 0)
    {}
    bool resize(const char* options)
    {
        return ::mount("tmpfs", at.constData(), "tmpfs", MS_REMOUNT, options) == 0;
    }
    void unmount()
    {
        if (std::exchange(mounted, false))
            ::umount2(at.constData(), MNT_DETACH);
    }
    ~TmpfsMount() { unmount(); }
};

// The hash of a file's content, read a piece at a time (large files are read often).
size_t contentHash(const QByteArray& file)
{
    static char buffer[1 << 20];
    size_t hash = 0;
    const int fd = ::open(file.constData(), O_RDONLY | O_CLOEXEC);
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        hash = qHash(QByteArrayView(buffer, n), hash);
    ::close(fd);
    return hash;
}

// A file of 'size' bytes 'c', written a piece at a time.
void fill(const QString& file, qint64 size, char c, qint64 mtime = 1'700'000'000)
{
    TempTree::write(file, {}, mtime);
    const QByteArray piece(1 << 20, c);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    for (qint64 left = size; left > 0; left -= piece.size())
        f.write(piece.constData(), qMin(left, qint64(piece.size())));
    f.close();
    TempTree::setMtime(file, mtime);
}

// Relative path (bytes) -> hash of the content, for every file under root but the hidden
// partial copies, which go to 'partials'.
using Tree = std::map<QByteArray, size_t>;
Tree snapshot(const QString& root, QByteArrayList* partials = nullptr)
{
    Tree tree;
    const std::string base = nameBytes(root).toStdString();
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(base, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        if (!it->is_regular_file())
            continue;
        const QByteArray rel = QByteArray::fromStdString(it->path().native().substr(base.size()));
        if (!isPartialCopyName(nameText(it->path().filename().native())))
            tree[rel] = contentHash(QByteArray::fromStdString(it->path().native()));
        else if (partials)
            partials->append(rel);
    }
    return tree;
}

// Every destination that was there is still there, and each is its old or its new content
// whole. Returns the number of files lost (missing or torn), which also go to the tally.
int checkWhole(const Tree& now, const Tree& before, const Tree& wanted)
{
    int lost = 0;
    for (const auto& [name, hash] : before)
        if (!now.count(name)) {
            ADD_FAILURE() << "missing: " << name.constData();
            ++lost;
        }
    for (const auto& [name, hash] : now) {
        const auto old = before.find(name), fresh = wanted.find(name);
        if ((old == before.end() || old->second != hash) &&
            (fresh == wanted.end() || fresh->second != hash)) {
            ADD_FAILURE() << "neither old nor new: " << name.constData();
            ++lost;
        }
    }
    g_tally.lost += lost;
    return lost;
}

// Whether the process has the file open (it is reading it).
bool holdsOpen(qint64 pid, const QString& file)
{
    std::error_code ec;
    const fs::path target = QFile::encodeName(file).toStdString();
    for (auto it = fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec);
         !ec && it != fs::end(it); it.increment(ec))
        if (fs::read_symlink(it->path(), ec) == target)
            return true;
    return false;
}

bool waitFor(const std::function<bool()>& condition, int ms = 20000)
{
    QElapsedTimer t;
    t.start();
    while (!condition())
        if (t.elapsed() > ms)
            return false;
    return true;
}

class Reliability : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path("config")));
        qputenv("XDG_STATE_HOME", QFile::encodeName(path("state")));
        QDir().mkpath(src());
        QDir().mkpath(dst());
        ASSERT_TRUE(ProfileFile::write(profile, {{src(), dst(), "*", ""}}));
    }
    void TearDown() override
    {
        std::error_code ignored; // names that are not UTF-8 go by their bytes
        fs::remove_all(QFile::encodeName(dir.path()).toStdString(), ignored);
    }

    QString path(const QString& rel) const { return dir.filePath(rel); }
    QString src(const QString& rel = {}) const { return path("src" + rel); }
    QString dst(const QString& rel = {}) const { return path("dst" + rel); }
    static void put(const QString& file, const QByteArray& data, qint64 mtime = 1'600'000'000)
    {
        TempTree::write(file, data, mtime);
    }
    // A quiet sync after the fault is gone: exit 0, both trees equal, no partial copy left.
    void expectSettled()
    {
        const CliRun r = cli({"sync", "--quiet", profile});
        EXPECT_EQ(r.status, 0) << qPrintable(r.err);
        QByteArrayList partials;
        EXPECT_EQ(snapshot(dst(), &partials), snapshot(src(), &partials));
        EXPECT_EQ(partials, QByteArrayList());
    }

    // On a RAM file system where there is one: large files are quick to write and copy.
    QTemporaryDir dir{QDir("/dev/shm").exists() ? "/dev/shm/ketrano-reliability-XXXXXX"
                                                : QDir::tempPath() + "/ketrano-reliability-XXXXXX"};
    QString profile = path("backup.prf");
};

TEST_F(Reliability, AFullTargetFailsTheFileThatDoesNotFitAndKeepsItsOldVersion)
{
    TmpfsMount disk(dst(), "size=8m");
    if (!disk.mounted)
        GTEST_SKIP() << "needs root to mount a small tmpfs: " << std::strerror(errno);
    fill(dst("/big.bin"), 1 << 20, 'o', 1'600'000'000);
    fill(src("/big.bin"), 16 << 20, 'n');
    for (int i = 0; i < 20; ++i)
        put(src(QStringLiteral("/small/%1.txt").arg(i)), QByteArray(10000, char('a' + i)));
    const Tree before = snapshot(dst()), wanted = snapshot(src());

    const CliRun r = cli({"sync", "--json", profile});
    ++g_tally.faults;
    EXPECT_EQ(r.status, 1);
    const QJsonArray failures = r.json()["failures"].toArray();
    ASSERT_EQ(failures.size(), 1) << r.out.constData();
    EXPECT_EQ(failures[0]["name"].toString(), "big.bin");
    EXPECT_TRUE(failures[0]["reason"].toString().endsWith("No space left on device"));
    QByteArrayList partials;
    const Tree after = snapshot(dst(), &partials);
    EXPECT_EQ(checkWhole(after, before, wanted), 0);
    EXPECT_EQ(after.at("/big.bin"), before.at("/big.bin"));
    EXPECT_EQ(partials, QByteArrayList());
    EXPECT_EQ(after.size(), wanted.size()); // every small file copied, whole

    ASSERT_TRUE(disk.resize("size=64m"));
    expectSettled();
}

TEST_F(Reliability, AFileSizeLimitFailsTheLargeFileCleanly)
{
    fill(src("/large.bin"), 4 << 20, 'L');
    put(src("/a.txt"), "a");
    const CliRun r = cli({"sync", "--tsv", profile}, [] {
        const struct rlimit limit = {1 << 20, 1 << 20};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    ++g_tally.faults;
    ASSERT_FALSE(r.crashed) << "ended by a signal";
    EXPECT_EQ(r.status, 1);
    const QStringList lines = QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.contains("E\tlarge.bin\t" + src() + "\t" + dst() +
                               "\tWriting the destination failed: File too large"))
        << r.out.constData();
    EXPECT_TRUE(!lines.isEmpty() && lines.last().startsWith("#\tReady  \t\tErrors : 1\t"));
    QByteArrayList partials;
    EXPECT_EQ(snapshot(dst(), &partials),
              (Tree{{"/a.txt", contentHash(QFile::encodeName(src("/a.txt")))}}));
    EXPECT_EQ(partials, QByteArrayList());
    expectSettled();
}

// A large source written to while it is copied: the copy is stopped (SIGSTOP) once the source
// is open, the source changed, the copy let go on.
TEST_F(Reliability, ASourceChangedDuringItsCopyIsNeverCopiedTorn)
{
    const qint64 size = qint64(64) << 20;
    const QByteArray file = QFile::encodeName(src("/big.bin"));
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"grown", [&] { ::truncate(file.constData(), size + 4096); }},
        {"shrunk", [&] { ::truncate(file.constData(), size / 2); }},
        {"rewritten, time put back",
         [&] {
             struct stat st;
             ::stat(file.constData(), &st);
             const int fd = ::open(file.constData(), O_WRONLY);
             ::pwrite(fd, "rewritten", 9, size / 2);
             ::close(fd);
             TempTree::setMtime(src("/big.bin"), st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
         }},
        {"deleted", [&] { ::unlink(file.constData()); }},
        {"replaced", [&] {
             put(src("/new.bin"), QByteArray(1000, 'r'));
             ::rename(QFile::encodeName(src("/new.bin")).constData(), file.constData());
         }}};
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        fs::remove_all(QFile::encodeName(dst()).toStdString());
        QDir().mkpath(dst());
        fill(src("/big.bin"), size, 's');
        const size_t whole = contentHash(file);
        QProcess p;
        start(p, {"sync", "--json", profile});
        ASSERT_TRUE(p.waitForStarted());
        const qint64 pid = p.processId();
        ASSERT_GT(pid, 0);
        waitFor([&] { return holdsOpen(pid, src("/big.bin")) || p.state() != QProcess::Running; });
        ::kill(pid_t(pid), SIGSTOP);
        waitFor([&] {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
            return !stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") T ");
        });
        // Still reading and nothing placed: the change comes during the copy.
        const bool during = holdsOpen(pid, src("/big.bin")) && !QFile::exists(dst("/big.bin"));
        change();
        ++g_tally.faults;
        ::kill(pid_t(pid), SIGCONT);
        const CliRun r = finish(p);
        const size_t changed = contentHash(file);
        if (during) {
            EXPECT_EQ(r.status, 1);
            const QJsonArray failures = r.json()["failures"].toArray();
            const QString reason = failures.isEmpty() ? "" : failures[0]["reason"].toString();
            EXPECT_TRUE(reason == "The source changed while it was copied" ||
                        reason.startsWith("Reading the source failed"))
                << r.out.constData();
            EXPECT_FALSE(QFile::exists(dst("/big.bin")));
        } else {
            std::printf("[ note ] %s: the copy was over before the change\n", what);
        }
        QByteArrayList partials;
        const Tree after = snapshot(dst(), &partials);
        EXPECT_EQ(partials, QByteArrayList());
        if (after.count("/big.bin") && after.at("/big.bin") != whole &&
            after.at("/big.bin") != changed) {
            ADD_FAILURE() << "a torn copy";
            ++g_tally.lost;
        }
        expectSettled();
    }
}

// SIGKILL at random instants of a run over many small and a few large files.
TEST_F(Reliability, AKilledSyncLeavesEveryFileWholeAndTheNextRunFinishes)
{
    const quint32 seed = qEnvironmentVariableIsSet("KETRANO_SEED")
                             ? quint32(qEnvironmentVariableIntValue("KETRANO_SEED"))
                             : QRandomGenerator::global()->generate();
    std::printf("[ seed ] KETRANO_SEED=%u\n", seed);
    QRandomGenerator random(seed);
    std::map<QString, QByteArray> old; // the target as it was before each run
    for (int i = 0; i < 300; ++i) {
        const QString name = QStringLiteral("/d%1/f%2.txt").arg(i % 10).arg(i);
        put(src(name), QByteArray(100 + i * 7, char('A' + i % 26)), 1'700'000'000);
        if (i % 3 == 0)
            old[dst(name)] = QByteArray(50 + i, 'o');
    }
    fill(src("/big/new.bin"), 24 << 20, 'N');
    fill(src("/big/replaced.bin"), 24 << 20, 'R');
    old[dst("/big/replaced.bin")] = QByteArray(3 << 20, 'o');
    const auto reset = [&] {
        for (const auto& [name, data] : old)
            if (TempTree::read(name) != data)
                put(name, data);
        for (const auto& [name, hash] : snapshot(dst()))
            if (!old.count(dst(QString::fromUtf8(name))))
                QFile::remove(dst(QString::fromUtf8(name)));
    };
    reset();
    const Tree before = snapshot(dst()), wanted = snapshot(src());

    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(cli({"sync", "--quiet", profile}).status, 0);
    const qint64 runNs = qMax<qint64>(timer.nsecsElapsed(), 1'000'000);
    for (int kill = 0; kill < 50; ++kill) {
        reset();
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        start(p, {"sync", "--quiet", profile});
        ASSERT_TRUE(p.waitForStarted());
        QThread::usleep(random.bounded(quint64(runNs / 1000)));
        const bool running = p.state() == QProcess::Running && p.processId() > 0;
        if (running)
            p.kill();
        ASSERT_TRUE(p.waitForFinished(60000));
        ++g_tally.faults;
        if (checkWhole(snapshot(dst()), before, wanted) == 0 && running)
            ++g_tally.kills;
    }
    expectSettled();
}

// Unreadable folders on both sides, the program run as any user.
TEST_F(Reliability, UnreadableFoldersAreReportedAndNothingIsWrittenIntoThem)
{
    put(src("/closed/secret.txt"), "s");
    put(src("/shut/new.txt"), "n");
    put(dst("/shut/old.txt"), "o");
    put(src("/open/a.txt"), "a");
    put(dst("/open/b.txt"), "b");
    for (const QString& folder : {src("/closed"), dst("/shut")})
        ::chmod(QFile::encodeName(folder).constData(), 0);
    const CliRun r = cli({"sync", "--json", profile}, asAnyUser);
    g_tally.faults += 2;
    for (const QString& folder : {src("/closed"), dst("/shut")})
        ::chmod(QFile::encodeName(folder).constData(), 0755);
    if (r.status == 125)
        GTEST_SKIP() << "cannot run the program without root's power over permission bits";
    EXPECT_EQ(r.status, 1);
    for (const QString& folder : {src("/closed"), dst("/shut")})
        EXPECT_TRUE(r.err.contains("Scan: cannot read folder " + folder + ": Permission denied"))
            << qPrintable(r.err);
    EXPECT_EQ(QDir(dst("/shut")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"old.txt"});
    EXPECT_FALSE(QFile::exists(dst("/closed/secret.txt")));
    EXPECT_FALSE(QFile::exists(src("/shut/old.txt")));
    EXPECT_EQ(TempTree::read(dst("/open/a.txt")), "a");
    EXPECT_EQ(TempTree::read(src("/open/b.txt")), "b");
    expectSettled();
}

TEST_F(Reliability, NamesThatAreNotTextAndCaseTwinsArriveByteForByte)
{
    for (const char* name :
         {"/caf\xe9.txt", "/\xff\xfe\xfd", "/d\xe9j\xe0/inner.txt", "/\xc3(.txt"})
        put(src(nameText(name)), QByteArray("content of ") + name);
    put(dst(nameText("/back\xff.txt")), "from the target");
    put(dst("/a.txt"), "old lower", 1'600'000'000);
    put(src("/a.txt"), "newer lower", 1'600'000'100);
    put(src("/A.TXT"), "newest upper", 1'600'000'200);

    const CliRun r = cli({"sync", "--quiet", profile});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    EXPECT_EQ(TempTree::read(dst("/a.txt")), "newer lower");
    EXPECT_EQ(snapshot(dst()), snapshot(src()));
    EXPECT_EQ(snapshot(dst()).size(), 7u);
    EXPECT_EQ(cli({"scan", "--quiet", "--exit-code", profile}).status, 0);
}

// A backup disk mounted over a folder, synchronized once, then not mounted.
TEST_F(Reliability, AnUnmountedDiskIsNeitherFilledNorCreated)
{
    const QString backup = path("disk/Backup");
    QDir().mkpath(path("disk"));
    TmpfsMount disk(path("disk"), "size=4m");
    if (!disk.mounted)
        GTEST_SKIP() << "needs root to mount a tmpfs: " << std::strerror(errno);
    QDir().mkpath(backup);
    ASSERT_TRUE(ProfileFile::write(profile, {{src(), backup, "*", ""}}));
    put(src("/a.txt"), "a");
    ASSERT_EQ(cli({"sync", "--quiet", profile}).status, 0);
    disk.unmount();
    put(src("/b.txt"), "b");

    for (const bool folderThere : {true, false}) {
        SCOPED_TRACE(folderThere ? "the mount point's folder recreated" : "no folder");
        if (folderThere)
            QDir().mkpath(backup);
        const CliRun r = cli({"sync", "--quiet", profile});
        ++g_tally.faults;
        EXPECT_EQ(r.status, 1);
        if (folderThere) {
            EXPECT_TRUE(r.err.contains(backup + " is not on its usual disk: is the disk mounted?"))
                << qPrintable(r.err);
            EXPECT_EQ(
                QDir(backup).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                QStringList());
        }
        QDir(backup).removeRecursively();
    }
    EXPECT_FALSE(QFile::exists(backup));
}

// Damaged profiles are refused; damaged settings read as the program's defaults (both copy
// directions on). Nothing is created, copied or overwritten that was not asked for.
TEST_F(Reliability, DamagedInputFilesAreRefusedOrReadAsDefaults)
{
    put(src("/a.txt"), "a");
    put(dst("/b.txt"), "b");
    const QByteArray sound = ProfileFile::encodeRecord({src(), dst(), "*", ""});
    QByteArray binary(3 * ProfileFile::RecordSize, '\0');
    QRandomGenerator random(7);
    for (char& c : binary)
        c = char(random.bounded(256));
    QByteArray nulPadded = sound;
    nulPadded.replace(' ', '\0');
    const std::pair<const char*, QByteArray> profiles[] = {
        {"truncated", sound.left(ProfileFile::RecordSize - 100)},
        {"oversized", sound + sound + "junk"},
        {"binary", binary},
        {"NUL-padded", nulPadded},
        {"unreadable", sound}};
    for (const auto& [what, bytes] : profiles) {
        SCOPED_TRACE(what);
        const QString file = path(QStringLiteral("%1.prf").arg(what));
        put(file, bytes);
        if (QByteArray(what) == "unreadable")
            ::chmod(QFile::encodeName(file).constData(), 0);
        const CliRun r = cli({"sync", file}, asAnyUser);
        ++g_tally.badInputs;
        if (r.status == 125)
            GTEST_SKIP() << "cannot run the program without root's power over permission bits";
        EXPECT_FALSE(r.crashed);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.err.contains(file)) << qPrintable(r.err);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(TempTree::read(file), bytes);
        EXPECT_FALSE(QFile::exists(dst("/a.txt")) || QFile::exists(src("/b.txt")));
    }

    const QString key = path("config/ketrano/registry/HKEY_CURRENT_USER/Software/Quillmark/"
                             "Ketrano/Copy Target");
    const std::pair<const char*, QByteArray> settings[] = {{"binary", "\xff" + binary.left(200)},
                                                           {"too long", QByteArray(399, '0') + "1"},
                                                           {"NUL first", QByteArray(3, '\0') + "1"},
                                                           {"a folder", {}},
                                                           {"unreadable", "1"}};
    for (const auto& [what, bytes] : settings) {
        SCOPED_TRACE(what);
        QFile::remove(dst("/a.txt"));
        QFile::remove(src("/b.txt"));
        QDir(key).removeRecursively();
        QFile::remove(key);
        if (QByteArray(what) == "a folder")
            QDir().mkpath(key);
        else
            put(key, bytes);
        if (QByteArray(what) == "unreadable")
            ::chmod(QFile::encodeName(key).constData(), 0);
        const CliRun r = cli({"sync", "--json", profile}, asAnyUser);
        ++g_tally.badInputs;
        EXPECT_FALSE(r.crashed);
        EXPECT_EQ(r.status, 0) << qPrintable(r.err);
        EXPECT_TRUE(r.json()["directions"].toObject()["targetToSource"].toObject()["on"].toBool())
            << r.out.constData();
        EXPECT_EQ(TempTree::read(src("/b.txt")), "b");
        EXPECT_EQ(TempTree::read(dst("/a.txt")), "a");
        if (!bytes.isEmpty()) {
            EXPECT_EQ(TempTree::read(key), bytes);
        }
    }
}

} // namespace
