#include "core/name_bytes.h"
#include "profile/profile_file.h"
#include "support/temp_tree.h"
#include "sync/partial_copy_name.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
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
#include <optional>
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

struct
{
    int faults = 0, kills = 0, badInputs = 0, lost = 0;
} g_tally;

struct ReportLine : ::testing::Environment
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
    int status = -1; // -1: ended by a signal
    QString err;
    QByteArray out;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

CliRun finish(QProcess& p)
{
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardError()), p.readAllStandardOutput()};
}

CliRun cli(const QStringList& args, const std::function<void()>& inChild = {})
{
    QProcess p;
    if (inChild)
        p.setChildProcessModifier(inChild);
    p.start(QStringLiteral(KETRANO_CLI), args);
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

// 'size' bytes (up to 64 MiB) without a copy of them: large files are written often.
QByteArray large(qint64 size)
{
    static const QByteArray data(64 << 20, 'L');
    return QByteArray::fromRawData(data.constData(), size);
}

// Relative path (bytes) -> hash of the content, for every file under root but the hidden
// partial copies, or for the partial copies only.
using Tree = std::map<QByteArray, size_t>;
Tree snapshot(const QString& root, bool partials = false)
{
    Tree tree;
    const std::string base = nameBytes(root).toStdString();
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(base, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        const std::string& file = it->path().native();
        if (it->is_regular_file() &&
            isPartialCopyName(nameText(it->path().filename().native())) == partials)
            tree[QByteArray::fromStdString(file.substr(base.size()))] =
                contentHash(QByteArray::fromStdString(file));
    }
    return tree;
}

// Every destination that was there is still there, and each is its old or its new content
// whole. Returns the number of files lost (missing or torn), which also go to the tally.
int checkWhole(const Tree& now, const Tree& before, const Tree& wanted)
{
    const auto holds = [](const Tree& tree, const QByteArray& name, size_t hash) {
        const auto it = tree.find(name);
        return it != tree.end() && it->second == hash;
    };
    QByteArrayList lost;
    for (const auto& [name, hash] : before)
        if (!now.count(name))
            lost << "missing " + name;
    for (const auto& [name, hash] : now)
        if (!holds(before, name, hash) && !holds(wanted, name, hash))
            lost << "neither old nor new " + name;
    EXPECT_TRUE(lost.isEmpty()) << lost.join(", ").constData();
    g_tally.lost += int(lost.size());
    return int(lost.size());
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
    for (; !condition(); QThread::usleep(100))
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
        EXPECT_EQ(snapshot(dst()), snapshot(src()));
        EXPECT_EQ(snapshot(dst(), true), Tree());
    }

    // On a RAM file system where there is one: large files are quick to write and copy.
    QTemporaryDir dir{QDir("/dev/shm").exists() ? "/dev/shm/ketrano-reliability-XXXXXX"
                                                : QDir::tempPath() + "/ketrano-reliability-XXXXXX"};
    QString profile = path("backup.prf");
};

// Writes that fail part-way: a file size limit (ulimit -f), then a target that fills up. The
// large file fails its row with the reason, its old version stays whole, the rest is copied.
TEST_F(Reliability, AWriteThatFailsPartWayKeepsTheOldVersionWhole)
{
    put(dst("/big.bin"), QByteArray(1 << 20, 'o'));
    put(src("/big.bin"), large(16 << 20), 1'700'000'000);
    for (int i = 0; i < 20; ++i)
        put(src(QStringLiteral("/small/%1.txt").arg(i)), QByteArray(10000, char('a' + i)));
    const Tree before = snapshot(dst()), wanted = snapshot(src());
    for (const bool fullDisk : {false, true}) {
        SCOPED_TRACE(fullDisk ? "a full disk" : "a file size limit");
        std::optional<TmpfsMount> disk; // shows an empty target
        if (fullDisk && !disk.emplace(dst(), "size=8m").mounted)
            GTEST_SKIP() << "needs root to mount a small tmpfs: " << std::strerror(errno);
        if (fullDisk)
            put(dst("/big.bin"), QByteArray(1 << 20, 'o'));
        const CliRun r = cli({"sync", "--json", profile}, [fullDisk] {
            const struct rlimit limit = {4 << 20, 4 << 20};
            if (!fullDisk)
                ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        ++g_tally.faults;
        EXPECT_EQ(r.status, 1) << "-1: ended by a signal";
        const QJsonArray failures = r.json()["failures"].toArray();
        ASSERT_EQ(failures.size(), 1) << r.out.constData();
        EXPECT_EQ(failures[0]["name"].toString(), "big.bin");
        EXPECT_TRUE(failures[0]["reason"].toString().endsWith(fullDisk ? ": No space left on device"
                                                                       : ": File too large"));
        EXPECT_EQ(r.json()["totals"].toObject()["errors"].toInt(), 1); // the summary
        const Tree after = snapshot(dst());
        EXPECT_EQ(checkWhole(after, before, wanted), 0);
        EXPECT_EQ(after.at("/big.bin"), before.at("/big.bin"));
        EXPECT_EQ(after.size(), wanted.size()); // every small file copied, whole
        EXPECT_EQ(snapshot(dst(), true), Tree());
        if (fullDisk)
            ASSERT_EQ(::mount("tmpfs", disk->at.constData(), "tmpfs", MS_REMOUNT, "size=64m"), 0);
        expectSettled();
    }
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
             QFile f(src("/big.bin"));
             EXPECT_TRUE(f.open(QIODevice::ReadWrite) && f.seek(size / 2) && f.write("new") == 3);
             f.close();
             TempTree::setMtime(src("/big.bin"), 1'600'000'000);
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
        put(src("/big.bin"), large(size));
        const size_t whole = contentHash(file);
        QProcess p;
        p.start(QStringLiteral(KETRANO_CLI), {"sync", "--json", profile});
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
            const QString reason = r.json()["failures"].toArray().at(0)["reason"].toString();
            EXPECT_TRUE(reason == "The source changed while it was copied" ||
                        reason.startsWith("Reading the source failed"))
                << r.out.constData();
            EXPECT_FALSE(QFile::exists(dst("/big.bin")));
        } else {
            std::printf("[ note ] %s: the copy was over before the change\n", what);
        }
        EXPECT_EQ(snapshot(dst(), true), Tree());
        const Tree after = snapshot(dst());
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
    put(src("/big/new.bin"), large(24 << 20), 1'700'000'000);
    put(src("/big/replaced.bin"), large(24 << 20), 1'700'000'000);
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
        p.start(QStringLiteral(KETRANO_CLI), {"sync", "--quiet", profile});
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
    QDir().mkpath(backup); // the empty mount point's folder, made again
    put(src("/b.txt"), "b");

    const CliRun r = cli({"sync", "--quiet", profile});
    ++g_tally.faults;
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(backup + " is not on its usual disk: is the disk mounted?"))
        << qPrintable(r.err);
    EXPECT_EQ(QDir(backup).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList());
}

// Damaged profiles are refused; a damaged setting reads as the program's default (both copy
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
    const QString prf = path("damaged.prf"), key = path("config/ketrano/registry/HKEY_CURRENT_USER/"
                                                        "Software/Quillmark/Ketrano/Copy Target");
    // The file, its bytes (null: a folder), whether it is unreadable. A "Copy Target" value
    // read as 1 would turn target-to-source off.
    const std::tuple<QString, QByteArray, bool> inputs[] = {
        {prf, sound.left(ProfileFile::RecordSize - 100), false},
        {prf, sound + sound + "junk", false},
        {prf, binary, false},
        {prf, QByteArray(sound).replace(' ', '\0'), false},
        {prf, sound, true},
        {key, "\xff" + binary.left(200), false},
        {key, QByteArray(399, '0') + "1", false}, // too long to be read
        {key, QByteArray(3, '\0') + "1", false},
        {key, QByteArray(), false},
        {key, "1", true}};
    for (const auto& [file, bytes, unreadable] : inputs) {
        SCOPED_TRACE(qPrintable(QFileInfo(file).fileName() + ": " + bytes.left(20).toHex()));
        fs::remove_all(QFile::encodeName(file).toStdString());
        QFile::remove(dst("/a.txt"));
        QFile::remove(src("/b.txt"));
        bytes.isNull() ? void(QDir().mkpath(file)) : put(file, bytes);
        if (unreadable)
            ::chmod(QFile::encodeName(file).constData(), 0);
        const bool isProfile = file == prf;
        const CliRun r = cli({"sync", "--json", isProfile ? prf : profile}, asAnyUser);
        ++g_tally.badInputs;
        if (r.status == 125)
            GTEST_SKIP() << "cannot run the program without root's power over permission bits";
        EXPECT_EQ(r.status, isProfile ? 2 : 0) << qPrintable(r.err); // never -1, a crash
        if (isProfile) {
            EXPECT_TRUE(r.err.contains(prf) && r.out.isEmpty()) << qPrintable(r.err);
        } else {
            const QJsonObject back = r.json()["directions"].toObject()["targetToSource"].toObject();
            EXPECT_TRUE(back["on"].toBool()) << r.out.constData();
        }
        EXPECT_EQ(TempTree::read(dst("/a.txt")), isProfile ? "" : "a");
        EXPECT_EQ(TempTree::read(src("/b.txt")), isProfile ? "" : "b");
        EXPECT_EQ(TempTree::read(file), bytes);
    }
}

} // namespace
