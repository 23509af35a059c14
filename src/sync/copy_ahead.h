// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/copy_file.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

// Copies the checked rows of a pass into their temporary files on a worker thread, a few rows
// ahead of the copy engine, which takes them in row order and places each one itself. So the
// reading and writing of the next files overlaps with the placing, counting and showing of
// the current one, while everything the user sees happens as it would one file after the
// other: a destination is created or replaced only when the engine places it, and what was
// prepared beyond a stop is thrown away with its temporary files.
//
// The worker tells how far the copy of a large file has come, so the window can show it. When
// the program ends meanwhile ('abandon' set), the copy in progress stops within a step of
// copy_data and is thrown away, and the engine stops waiting for it at once.
class CopyAhead
{
public:
    struct Job
    {
        int index; // row index in the list
        ResultRow row;
        QString targetRoot; // the root of the side written to (see CopyPreparer::prepare)
    };

    // The worker copies with 'preparer', which is its own from now on. 'abandon', when given,
    // is read by both threads and outlives this object.
    CopyAhead(CopyPreparer preparer, std::vector<Job> jobs,
              const std::atomic<bool>* abandon = nullptr);
    ~CopyAhead(); // stops the worker and drops what it prepared
    CopyAhead(const CopyAhead&) = delete;
    CopyAhead& operator=(const CopyAhead&) = delete;

    // The row index of the next job to take, or -1 when all have been taken.
    int nextIndex() const;
    // The prepared copy of the next job. For a large file 'waiting' runs at once and then
    // about every 10 ms until the copy is ready (the window repaints there), with the bytes
    // copied so far. Once 'abandon' is set it returns at once, with a copy that failed.
    PreparedCopy take(const std::function<void(qint64 bytesSoFar)>& waiting);

private:
    void work();
    bool abandoned() const { return m_abandon && m_abandon->load(std::memory_order_relaxed); }
    // Whether a worker that ran as far ahead as it may goes on (m_mutex held).
    bool resumable() const;

    // Read by both threads, never changed.
    const std::vector<Job> m_jobs;
    // The worker's own.
    CopyPreparer m_preparer;
    // The engine's own: jobs taken so far.
    size_t m_taken = 0;
    const std::atomic<bool>* m_abandon;
    // Shared: how far the worker is with the job it copies (its index in m_jobs, and bytes).
    std::atomic<size_t> m_progressJob{0};
    std::atomic<qint64> m_progressBytes{0};
    // Shared: the prepared copies waiting to be taken, behind m_mutex, and the stop flag.
    std::mutex m_mutex;
    std::condition_variable m_ready; // a prepared copy is waiting, or the worker is done
    std::condition_variable m_room;  // the engine took one
    std::deque<PreparedCopy> m_prepared;
    qint64 m_preparedBytes = 0;
    bool m_engineWaiting = false;
    bool m_workerWaiting = false;
    std::atomic<bool> m_stop{false};
    std::thread m_worker;
};
