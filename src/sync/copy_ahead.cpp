// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/copy_ahead.h"

#include <algorithm>
#include <chrono>

namespace {
// How far the copies may run ahead of the placing: a small lead is all the overlap needs, and
// little is thrown away when the user stops. Once that far ahead, a worker waits until the
// engine has taken half: with many small files it is woken once per batch, not once per file
// (a wake-up costs about as much as the copy of a small file).
constexpr size_t MaxAheadFiles = 64;
constexpr qint64 MaxAheadBytes = qint64(16) << 20;
constexpr size_t ResumeFiles = MaxAheadFiles / 2;
constexpr qint64 ResumeBytes = MaxAheadBytes / 2;
// Files of this size are copied one at a time, and only by the workers.
constexpr qint64 LargeBytes = qint64(1) << 20;
constexpr auto WaitSlice = std::chrono::milliseconds(10);
// A file this large is copied in several chunks: the window gets turns meanwhile.
constexpr qint64 LargeFileBytes = qint64(8) << 20;

// The engine copies too: one worker keeps two cores busy, two keep three.
int workerCount(int asked, size_t jobs)
{
    if (jobs == 0)
        return 0;
    const size_t wanted = asked > 0                                 ? size_t(asked)
                          : std::thread::hardware_concurrency() > 2 ? 2
                                                                    : 1;
    return int(std::min(wanted, jobs));
}
} // namespace

CopyAhead::CopyAhead(const CopyPreparer& preparer, std::vector<Job> jobs,
                     const std::atomic<bool>* abandon, int workers)
    : m_jobs(std::move(jobs)), m_abandon(abandon), m_enginePreparer(preparer),
      m_slots(MaxAheadFiles)
{
    const int count = workerCount(workers, m_jobs.size());
    for (int i = 0; i < count; ++i)
        m_workers.push_back(std::make_unique<Worker>(preparer));
    m_workersRunning = count;
    for (const std::unique_ptr<Worker>& w : m_workers)
        w->thread = std::thread([this, worker = w.get()] { work(*worker); });
}

CopyAhead::~CopyAhead()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
        m_stopFlag = true;
    }
    m_room.notify_all();
    for (const std::unique_ptr<Worker>& w : m_workers)
        w->thread.join();
}

bool CopyAhead::isLarge(size_t job) const
{
    return job < m_jobs.size() && m_jobs[job].row.sizeBytes >= LargeBytes;
}

bool CopyAhead::leadFull() const
{
    return m_claimed - m_taken >= MaxAheadFiles || m_aheadBytes >= MaxAheadBytes;
}

// The engine's next job may always begin; beyond it the lead is bounded, and a large file
// waits for the large one being copied.
bool CopyAhead::mayBegin() const
{
    if (m_stop || m_claimed >= m_jobs.size())
        return false;
    return m_claimed == m_taken || (!leadFull() && !(isLarge(m_claimed) && m_largeInProgress));
}

bool CopyAhead::copyNext(std::unique_lock<std::mutex>& lock, CopyPreparer& preparer,
                         const std::function<bool()>& keepGoing, Worker* worker)
{
    const size_t job = m_claimed++;
    const bool large = isLarge(job);
    m_largeInProgress = m_largeInProgress || large;
    m_aheadBytes += m_jobs[job].row.sizeBytes;
    lock.unlock();
    if (worker) {
        worker->bytes = 0;
        worker->job = job;
    }
    PreparedCopy copy = preparer.prepare(m_jobs[job].row, m_jobs[job].destination, keepGoing,
                                         m_jobs[job].targetRoot);
    lock.lock();
    if (m_stop)
        return false; // 'copy' takes its temporary file along
    if (large) {
        m_largeInProgress = false;
        m_room.notify_all();
    }
    m_slots[job % MaxAheadFiles].emplace(std::move(copy));
    if (m_engineWaiting && job == m_taken)
        m_ready.notify_one();
    return true;
}

int CopyAhead::nextIndex() const
{
    return m_taken < m_jobs.size() ? m_jobs[m_taken].index : -1;
}

void CopyAhead::work(Worker& worker)
{
    // The program may end while the window is still busy closing: the copy stops at once, not
    // only when the engine gets back to it.
    const std::function<bool()> keepGoing = [this, &worker] {
        worker.bytes += DataStepBytes;
        return !m_stopFlag.load(std::memory_order_relaxed) && !abandoned();
    };
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stop && !abandoned() && m_claimed < m_jobs.size()) {
        if (mayBegin()) {
            if (!copyNext(lock, worker.preparer, keepGoing, &worker))
                return;
            continue;
        }
        // Ahead as far as it may go: on until the engine has taken half. Held by a large
        // file: on when it is done.
        const bool full = leadFull();
        ++m_workersWaiting;
        m_room.wait(lock, [this, full] {
            if (m_stop || m_claimed >= m_jobs.size() || m_claimed == m_taken)
                return true;
            const size_t lead = m_claimed - m_taken;
            return full ? lead <= ResumeFiles && m_aheadBytes <= ResumeBytes : mayBegin();
        });
        --m_workersWaiting;
    }
    --m_workersRunning;
    m_ready.notify_one();
}

PreparedCopy CopyAhead::take(const std::function<void(qint64 bytesSoFar)>& waiting)
{
    if (m_taken >= m_jobs.size())
        return PreparedCopy(failure(ErrorKind::Stopped));
    // During a large file the window gets its turns, at least one; a small one is done in a
    // moment, so the engine just waits (and yields only after each copy, as ever).
    const bool large = m_jobs[m_taken].row.sizeBytes >= LargeFileBytes && waiting;
    const auto copiedSoFar = [this] {
        // Only while a worker copies this very job, before and after the count is read.
        for (const std::unique_ptr<Worker>& w : m_workers) {
            const bool before = w->job == m_taken;
            const qint64 bytes = w->bytes;
            if (before && w->job == m_taken)
                return bytes;
        }
        return qint64(0);
    };
    if (large)
        waiting(0);
    const std::function<bool()> keepGoing = [this] { return !abandoned(); };
    std::unique_lock<std::mutex> lock(m_mutex);
    std::optional<PreparedCopy>& slot = m_slots[m_taken % MaxAheadFiles];
    // The window gets its turn only between rows (and during a large file): while the next
    // copy is a small one, the engine copies at most one file itself, so a slow disk holds
    // the window no longer than it did when the engine only waited.
    bool copied = false;
    while (!slot) {
        if (abandoned())
            return PreparedCopy(failure(ErrorKind::Stopped));
        // Rather than wait, the engine copies the next small file itself.
        if (mayBegin() && !isLarge(m_claimed) && (large || !copied)) {
            copyNext(lock, m_enginePreparer, keepGoing, nullptr);
            copied = true;
        } else if (m_workersRunning == 0) {
            return PreparedCopy(failure(ErrorKind::Stopped));
        } else {
            m_engineWaiting = true;
            m_ready.wait_for(lock, WaitSlice);
            m_engineWaiting = false;
        }
        if (large && !slot) {
            lock.unlock();
            waiting(copiedSoFar());
            lock.lock();
        }
    }
    PreparedCopy copy = std::move(*slot);
    slot.reset();
    m_aheadBytes -= m_jobs[m_taken].row.sizeBytes;
    ++m_taken;
    const size_t lead = m_claimed - m_taken;
    const bool wake =
        m_workersWaiting > 0 && (lead == 0 || (lead <= ResumeFiles && m_aheadBytes <= ResumeBytes));
    lock.unlock();
    if (wake)
        m_room.notify_all();
    return copy;
}
