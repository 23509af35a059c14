// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/copy_file.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Copies the checked rows of a pass into their temporary files on worker threads, a few rows
// ahead of the copy engine, which takes them in row order and places each one itself. So the
// reading and writing of the next files overlaps with the placing, counting and showing of
// the current one, while everything the user sees happens as it would one file after the
// other: a destination is created or replaced only when the engine places it, and what was
// prepared beyond a stop is thrown away with its temporary files.
//
// The copying of a file costs more than its placing, so the engine does not wait idle for a
// worker: while the next copy is not ready, it copies the next small file that no worker has
// begun itself (one per row, or more while a large file is copied; the placing still goes in
// row order). A worker, and the engine, begins the next row not yet begun; where the machine
// has more than two cores, two workers copy side by side. Only one file of a megabyte or more
// is copied at a time, so that a spinning disk is not read in two places at once.
//
// The workers tell how far the copy of a large file has come, so the window can show it. When
// the program ends meanwhile ('abandon' set), the copy in progress stops within a step of
// copy_data and is thrown away, and the engine stops waiting for it at once.
class CopyAhead
{
public:
    struct Job
    {
        int index; // row index in the list
        ResultRow row;
        Destination destination; // as scanned
        QString targetRoot;      // the root of the side written to (see CopyPreparer::prepare)
    };

    // Each worker copies with a preparer of its own, made from 'preparer'. 'abandon', when
    // given, is read by all threads and outlives this object. 'workers' 0: as many as suit
    // the machine.
    CopyAhead(const CopyPreparer& preparer, std::vector<Job> jobs,
              const std::atomic<bool>* abandon = nullptr, int workers = 0);
    ~CopyAhead(); // stops the workers and drops what they prepared
    CopyAhead(const CopyAhead&) = delete;
    CopyAhead& operator=(const CopyAhead&) = delete;

    // The row index of the next job to take, or -1 when all have been taken.
    int nextIndex() const;
    // The prepared copy of the next job. For a large file 'waiting' runs at once and then
    // about every 10 ms until the copy is ready (the window repaints there), with the bytes
    // copied so far. Once 'abandon' is set it returns at once, with a copy that failed.
    PreparedCopy take(const std::function<void(qint64 bytesSoFar)>& waiting);

private:
    struct Worker
    {
        explicit Worker(const CopyPreparer& p) : preparer(p) {}
        CopyPreparer preparer; // the worker's own
        // Shared: the job it copies and its bytes so far, for the progress of a large file.
        std::atomic<size_t> job{SIZE_MAX};
        std::atomic<qint64> bytes{0};
        std::thread thread;
    };
    void work(Worker& worker);
    bool abandoned() const { return m_abandon && m_abandon->load(std::memory_order_relaxed); }
    bool isLarge(size_t job) const;
    // Whether job m_claimed may be begun now, and whether the lead is what stops it (m_mutex
    // held for both).
    bool mayBegin() const;
    bool leadFull() const;
    // Begins job m_claimed, copies it with 'preparer' (m_mutex unlocked meanwhile) and puts it
    // in its slot. False when the pass was stopped meanwhile (the copy is thrown away).
    bool copyNext(std::unique_lock<std::mutex>& lock, CopyPreparer& preparer,
                  const std::function<bool()>& keepGoing, Worker* worker);

    // Read by all threads, never changed.
    const std::vector<Job> m_jobs;
    const std::atomic<bool>* m_abandon;
    std::vector<std::unique_ptr<Worker>> m_workers;
    // The engine's own, for the small files it copies while it would wait.
    CopyPreparer m_enginePreparer;

    // Shared, behind m_mutex: the next job to claim, the jobs taken by the engine, the bytes
    // of the jobs claimed and not yet taken, whether a large file is being copied, the
    // prepared copies in a ring of slots (job number modulo its size), and who is waiting.
    std::mutex m_mutex;
    std::condition_variable m_ready; // a prepared copy is waiting, or the workers are done
    std::condition_variable m_room;  // the engine took one, or a large copy ended
    size_t m_claimed = 0;
    size_t m_taken = 0;
    qint64 m_aheadBytes = 0;
    bool m_largeInProgress = false;
    std::vector<std::optional<PreparedCopy>> m_slots;
    bool m_engineWaiting = false;
    int m_workersWaiting = 0;
    int m_workersRunning = 0;
    bool m_stop = false;
    std::atomic<bool> m_stopFlag{false}; // m_stop, for the copy in progress to read
};
