// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/copy_ahead.h"

#include <chrono>

namespace {
// How far the worker may run ahead: a small lead is all the overlap needs, and little is
// thrown away when the user stops. Once that far ahead, it waits until the engine has taken
// half; the engine, once it waits, sleeps until half is ready. So with many small files each
// thread wakes the other once per batch, not once per file: a wake-up costs about as much as
// the copy of a small file.
constexpr size_t MaxAheadFiles = 64;
constexpr qint64 MaxAheadBytes = qint64(16) << 20;
constexpr size_t ResumeFiles = MaxAheadFiles / 2;
constexpr qint64 ResumeBytes = MaxAheadBytes / 2;
// The worker wakes a waiting engine once this many copies wait, or at once after a large one,
// when it cannot run further ahead, or after the last.
constexpr size_t WakeBatch = MaxAheadFiles / 2;
constexpr qint64 LargeBytes = qint64(1) << 20;
constexpr auto WaitSlice = std::chrono::milliseconds(10);
// A file this large is copied in several chunks: the window gets turns meanwhile.
constexpr qint64 LargeFileBytes = qint64(8) << 20;
} // namespace

CopyAhead::CopyAhead(CopyPreparer preparer, std::vector<Job> jobs, const std::atomic<bool>* abandon)
    : m_jobs(std::move(jobs)), m_preparer(std::move(preparer)), m_abandon(abandon)
{
    if (!m_jobs.empty())
        m_worker = std::thread([this] { work(); });
}

CopyAhead::~CopyAhead()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_room.notify_all();
    if (m_worker.joinable())
        m_worker.join();
}

bool CopyAhead::resumable() const
{
    return m_prepared.empty() ||
           (m_prepared.size() <= ResumeFiles && m_preparedBytes <= ResumeBytes);
}

int CopyAhead::nextIndex() const
{
    return m_taken < m_jobs.size() ? m_jobs[m_taken].index : -1;
}

void CopyAhead::work()
{
    // The program may end while the window is still busy closing: the copy stops at once, not
    // only when the engine gets back to it.
    const auto keepGoing = [this] {
        m_progressBytes += DataStepBytes;
        return !m_stop.load() && !abandoned();
    };
    for (size_t i = 0; i < m_jobs.size() && !abandoned(); ++i) {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (m_prepared.size() >= MaxAheadFiles || m_preparedBytes >= MaxAheadBytes) {
                m_workerWaiting = true;
                m_room.wait(lock, [this] { return m_stop || resumable(); });
                m_workerWaiting = false;
            }
            if (m_stop)
                return;
        }
        m_progressBytes = 0;
        m_progressJob = i;
        PreparedCopy copy = m_preparer.prepare(m_jobs[i].row, keepGoing, m_jobs[i].targetRoot);
        const qint64 bytes = copy.copied.sizeBytes;
        bool wake = false;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_stop)
                return; // 'copy' takes its temporary file along
            m_preparedBytes += bytes;
            m_prepared.push_back(std::move(copy));
            const bool full =
                m_prepared.size() >= MaxAheadFiles || m_preparedBytes >= MaxAheadBytes;
            wake = m_engineWaiting && (m_prepared.size() >= WakeBatch || full ||
                                       bytes >= LargeBytes || i + 1 == m_jobs.size());
        }
        if (wake)
            m_ready.notify_one();
    }
}

PreparedCopy CopyAhead::take(const std::function<void(qint64 bytesSoFar)>& waiting)
{
    if (m_taken >= m_jobs.size())
        return PreparedCopy(failure(ErrorKind::Stopped));
    // During a large file the window gets its turns, at least one; a small one is done in a
    // moment, so the engine just waits (and yields only after each copy, as ever).
    const bool large = m_jobs[m_taken].row.sizeBytes >= LargeFileBytes && waiting;
    const auto copiedSoFar = [this] {
        // Only while the worker copies this very job, before and after the count is read.
        const bool before = m_progressJob == m_taken;
        const qint64 bytes = m_progressBytes;
        return before && m_progressJob == m_taken ? bytes : 0;
    };
    if (large)
        waiting(0);
    std::unique_lock<std::mutex> lock(m_mutex);
    while (m_prepared.empty()) {
        if (abandoned())
            return PreparedCopy(failure(ErrorKind::Stopped));
        m_engineWaiting = true;
        m_ready.wait_for(lock, WaitSlice);
        m_engineWaiting = false;
        if (large && m_prepared.empty()) {
            lock.unlock();
            waiting(copiedSoFar());
            lock.lock();
        }
    }
    PreparedCopy copy = std::move(m_prepared.front());
    m_prepared.pop_front();
    m_preparedBytes -= copy.copied.sizeBytes;
    ++m_taken;
    const bool wake = m_workerWaiting && resumable();
    lock.unlock();
    if (wake)
        m_room.notify_one();
    return copy;
}
