// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/name_bytes.h"
#include "profile/profile_file.h"
#include "support/backup_fixture.h"
#include "support/temp_tree.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <linux/capability.h>
#include <map>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

// The bad night, end to end: ketrano-cli sync run as cron runs it, with a fault injected into
// each run. After each, every destination must be its old or its new content whole; once the
// fault is gone, one more run must leave both trees equal.

namespace fs = std::filesystem;

namespace {

struct Tally : ::testing::Environment // printed at the end; a file lost fails the run
{
    int faults = 0, kills = 0, badInputs = 0, versionsKept = 0, lost = 0;
    void TearDown() override
    {
        std::printf("reliability: faults injected %d, kills survived %d, bad inputs tried %d, "
                    "versions kept %d, files lost %d\n",
                    faults, kills, badInputs, versionsKept, lost);
        EXPECT_EQ(lost, 0);
    }
};
Tally& g_tally = *static_cast<Tally*>(::testing::AddGlobalTestEnvironment(new Tally));

// In the child: root without its power over permission bits, as any user (exit 125 where the
// power cannot be taken away).
void asAnyUser()
{
    if (::geteuid() == 0 && (::prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE) != 0 ||
                             ::prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH) != 0))
        ::_exit(125);
}

// Relative path -> the hashes of every version kept of it, in any run.
std::multimap<QByteArray, size_t> versionsOf(const QString& root)
{
    std::multimap<QByteArray, size_t> kept;
    for (const auto& [inRun, hash] : snapshot(root + "/.ketrano-versions")) // "/<run>/<path>"
        kept.emplace(inRun.mid(inRun.indexOf('/', 1)), hash);
    return kept;
}

// Every old content that is no longer in its place is in the versions folder. Returns the
// number of old contents gone (lost), which also go to the tally; counts the versions found.
int checkVersionsKept(const QString& root, const Tree& now, const Tree& before)
{
    const std::multimap<QByteArray, size_t> kept = versionsOf(root);
    QByteArrayList lost;
    for (const auto& [name, hash] : before) {
        const auto there = now.find(name);
        if (there != now.end() && there->second == hash)
            continue;
        const auto [from, to] = kept.equal_range(name);
        if (std::any_of(from, to, [hash](const auto& v) { return v.second == hash; }))
            ++g_tally.versionsKept;
        else
            lost << "no version of " + name;
    }
    EXPECT_TRUE(lost.isEmpty()) << lost.join(", ").constData();
    g_tally.lost += int(lost.size());
    return int(lost.size());
}

// Every destination that was there is still there, and each is its old or its new content
// whole. Returns the number of files lost (missing or torn), which also go to the tally.
int checkWhole(const Tree& now, const Tree& before, const Tree& wanted)
{
    QByteArrayList lost;
    for (const auto& [name, hash] : before)
        if (!now.count(name))
            lost << "missing " + name;
    for (const auto& file : now)
        if (!std::count(before.begin(), before.end(), file) &&
            !std::count(wanted.begin(), wanted.end(), file))
            lost << "neither old nor new " + file.first;
    EXPECT_TRUE(lost.isEmpty()) << lost.join(", ").constData();
    g_tally.lost += int(lost.size());
    return int(lost.size());
}

// Whether the process has the file open (it is reading it).
bool holdsOpen(qint64 pid, const QString& file)
{
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    const QFileInfoList open = fds.entryInfoList(QDir::AllEntries | QDir::System);
    return std::any_of(open.begin(), open.end(),
                       [&](const QFileInfo& fd) { return fd.symLinkTarget() == file; });
}

// The state letter of a process this test started: R, S or D running, T stopped, Z ended.
char processState(qint64 pid)
{
    const QByteArray text = TempTree::read(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype end = text.lastIndexOf(')');
    return end > 0 && end + 2 < text.size() ? text[end + 2] : 'Z';
}

void waitFor(const std::function<bool()>& condition)
{
    for (QDeadlineTimer deadline(20000); !condition() && !deadline.hasExpired();)
        QThread::usleep(100);
}

class Reliability : public BackupFixture
{
protected:
    Reliability() : BackupFixture("ketrano-reliability") {}
};

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
             put(src("/new.bin"), QByteArray(1000, 'r'), 1'700'000'000);
             ::rename(QFile::encodeName(src("/new.bin")).constData(), file.constData());
         }}};
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        QFile::remove(dst("/big.bin"));
        put(src("/big.bin"), QByteArray(size, 's'));
        const size_t whole = contentHash(file);
        bool during = false;
        size_t changed = 0;
        const CliRun r = runCli({"sync", "--json", profile}, {}, {}, [&](QProcess& p) {
            const qint64 pid = p.processId();
            waitFor([&] { return holdsOpen(pid, src("/big.bin")) || processState(pid) == 'Z'; });
            ::kill(pid_t(pid), SIGSTOP);
            waitFor([&] { return QByteArray("TZ").contains(processState(pid)); });
            // Still reading and nothing placed: the change comes during the copy.
            during = holdsOpen(pid, src("/big.bin")) && !QFile::exists(dst("/big.bin"));
            change();
            changed = QFile::exists(src("/big.bin")) ? contentHash(file) : 0;
            ++g_tally.faults;
            ::kill(pid_t(pid), SIGCONT);
        });
        // Opened but not yet looked at when it changed, the source is copied as its new
        // version, whole: no fault of the copy.
        const bool newVersion = during && r.status == 0;
        if (!during || newVersion)
            std::printf("[ note ] %s: the copy was %s the change\n", what,
                        during ? "still to begin at" : "over before");
        if (during && !newVersion) {
            EXPECT_EQ(r.status, 1);
            const QString reason = r.json()["failures"].toArray().at(0)["reason"].toString();
            EXPECT_TRUE(reason == "The source changed while it was copied" ||
                        reason.startsWith("Reading the source failed"))
                << r.out.constData();
            EXPECT_FALSE(QFile::exists(dst("/big.bin")));
        }
        EXPECT_EQ(snapshot(dst(), true), Tree());
        // A copy is the version it began with.
        checkWhole(snapshot(dst()), {}, {{"/big.bin", newVersion ? changed : whole}});
        expectSettled();
    }
}

// SIGKILL at random instants of a run over many small and a few large files, among them names
// that are not text and case twins (the target's a.txt replaced, A.TXT new beside it): each
// arrives byte for byte.
TEST_F(Reliability, AKilledSyncLeavesEveryFileWholeAndTheNextRunFinishes)
{
    const QByteArray given = qgetenv("KETRANO_SEED");
    const quint32 seed = given.isEmpty() ? QRandomGenerator::global()->generate() : given.toUInt();
    std::printf("[ seed ] KETRANO_SEED=%u\n", seed);
    QRandomGenerator random(seed);
    std::map<QString, QByteArray> old; // the target as it was before each run
    for (int i = 0; i < 300; ++i) {
        const QString name = QStringLiteral("/d%1/f%2.txt").arg(i % 10).arg(i);
        put(src(name), QByteArray(100 + i * 7, char('A' + i % 26)), 1'700'000'000);
        if (i % 3 == 0)
            old[dst(name)] = QByteArray(50 + i, 'o');
    }
    put(src("/big/new.bin"), QByteArray(24 << 20, 'n'), 1'700'000'000);
    put(src("/big/replaced.bin"), QByteArray(24 << 20, 'n'), 1'700'000'000);
    old[dst("/big/replaced.bin")] = QByteArray(3 << 20, 'o');
    for (const char* name :
         {"/caf\xe9.txt", "/\xff\xfe\xfd", "/d\xe9j\xe0/inner.txt", "/\xc3(.txt"})
        put(src(nameText(name)), QByteArray("content of ") + name);
    old[dst(nameText("/back\xff.txt"))] = "from the target";
    old[dst("/a.txt")] = "old lower";
    put(src("/a.txt"), "newer lower", 1'600'000'100);
    put(src("/A.TXT"), "newest upper", 1'600'000'200);
    const auto reset = [&] {
        for (const auto& [name, data] : old)
            if (TempTree::read(name) != data)
                put(name, data);
        for (const auto& [name, hash] : snapshot(dst()))
            if (!old.count(dst(nameText(name))))
                ::unlink(nameBytes(dst(nameText(name))).constData());
    };
    reset();
    const Tree before = snapshot(dst()), wanted = snapshot(src());

    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(runCli({"sync", "--quiet", profile}).status, 0);
    const qint64 runNs = qMax<qint64>(timer.nsecsElapsed(), 1'000'000);
    // Its new files got their sources' times after the flush: nothing is left to copy.
    ASSERT_EQ(runCli({"scan", "--quiet", "--exit-code", profile}).status, 0);
    for (int kill = 0; kill < 50; ++kill) {
        reset();
        bool running = false;
        runCli({"sync", "--quiet", profile}, {}, {}, [&](QProcess& p) {
            QThread::usleep(random.bounded(quint64(runNs / 1250))); // mostly before the end
            if ((running = processState(p.processId()) != 'Z'))
                p.kill();
        });
        ++g_tally.faults;
        const Tree now = snapshot(dst());
        g_tally.kills += (checkWhole(now, before, wanted) == 0) &
                         (checkVersionsKept(dst(), now, before) == 0) & running;
        fs::remove_all(nameBytes(dst("/.ketrano-versions")).toStdString());
    }
    expectSettled();
}

// Damaged profiles are refused; a damaged setting reads as the program's default (both copy
// directions on). Nothing is created, copied or overwritten that was not asked for.
TEST_F(Reliability, DamagedInputFilesAreRefusedOrReadAsDefaults)
{
    put(src("/a.txt"), "a");
    put(dst("/b.txt"), "b");
    const QByteArray sound = ProfileFile::encodeRecord({src(), dst(), "*", ""});
    QByteArray binary(3 * ProfileFile::RecordSize, '\0');
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(binary.data()), binary.size() / 4);
    const QString prf = path("damaged.prf"), key = path("config/ketrano/registry/HKEY_CURRENT_USER/"
                                                        "Software/Quillmark/Ketrano/Copy Target");
    // The file, its bytes (null: a folder), its permission bits. A "Copy Target" value read as
    // 1 would turn target-to-source off; 400 characters are too long to be read.
    const std::tuple<QString, QByteArray, mode_t> inputs[] = {
        {prf, sound.left(ProfileFile::RecordSize - 100), 0644},
        {prf, sound + sound + "junk", 0644},
        {prf, binary, 0644},
        {prf, QByteArray(sound).replace(' ', '\0'), 0644},
        {prf, sound, 0},
        {key, "\xff" + binary.left(200), 0644},
        {key, QByteArray(399, '0') + "1", 0644},
        {key, QByteArray(3, '\0') + "1", 0644},
        {key, QByteArray(), 0755},
        {key, "1", 0}};
    for (const auto& [file, bytes, mode] : inputs) {
        SCOPED_TRACE(qPrintable(file.right(12) + ": " + bytes.left(20).toHex()));
        fs::remove_all(QFile::encodeName(file).toStdString());
        QFile::remove(dst("/a.txt"));
        QFile::remove(src("/b.txt"));
        bytes.isNull() ? void(QDir().mkpath(file)) : put(file, bytes);
        ::chmod(QFile::encodeName(file).constData(), mode);
        const bool isProfile = file == prf;
        const CliRun r = runCli({"sync", "--json", isProfile ? prf : profile}, {}, asAnyUser);
        ++g_tally.badInputs;
        if (r.status == 125)
            GTEST_SKIP() << "cannot run the program without root's power over permission bits";
        EXPECT_EQ(r.status, isProfile ? 2 : 0) << qPrintable(r.err); // never -1, a crash
        EXPECT_TRUE(!isProfile || (r.err.contains(prf) && r.out.isEmpty())) << qPrintable(r.err);
        EXPECT_EQ(TempTree::read(dst("/a.txt")), isProfile ? "" : "a");
        EXPECT_EQ(TempTree::read(src("/b.txt")), isProfile ? "" : "b");
        EXPECT_EQ(TempTree::read(file), bytes);
    }
}

} // namespace
