// The result files' own writer. The number push answers a camera on the device SDK's thread and must
// not wait for a file there: it hands each request's entry line to this writer and returns at once. A
// thread of the writer's own adds the lines to their files in the order they came, all the lines that
// wait for one file in one rewrite. A file that another program holds (a viewer, a copy), or whose
// status cannot be read, is tried again after a pause that grows from 50 ms to 500 ms, with no lock
// held in between; lines for other files go on meanwhile. Nothing is given up while the program runs:
// what is still waiting when the writer is closed, after a short bounded wait, is handed back for the
// caller to name in the error log. Platform-free.
#pragma once

#include "ResultFiles.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class ResultWriter {
public:
    struct Entry {
        ResultFileNames names; // fixed when the request came, so a late write keeps its half-day
        std::string line;      // without its line end
    };

    explicit ResultWriter(FileOps& ops = SystemFileOps());
    // Stops without waiting; the owner closes the writer first and names what is left.
    ~ResultWriter();
    ResultWriter(const ResultWriter&) = delete;
    ResultWriter& operator=(const ResultWriter&) = delete;

    // Queues one entry line; any thread. Never waits for a file, only for the queue's own lock. A line
    // already waiting for the same file is not queued twice. False once the writer is closed: the
    // entry was not taken.
    bool Post(Entry entry);

    // True when every entry posted so far is in its file, waiting at most timeoutMs for it.
    bool WaitIdle(unsigned timeoutMs);

    // Refuses further posts, waits at most boundMs for the entries still waiting (plus the one rewrite
    // that may be under way when the bound runs out), stops the thread and returns the entries that
    // were not written, in the order they came.
    std::vector<Entry> Close(unsigned boundMs);

private:
    void Run();
    // One pass over the waiting entries; true for each one that is in its file now.
    std::vector<bool> WriteAll(const std::vector<Entry>& batch);

    FileOps& m_ops;
    std::mutex m_lock;
    std::condition_variable m_wake; // entries posted, a close begun or the stop, for the thread
    std::condition_variable m_idle; // nothing waits any more, for WaitIdle and Close
    std::vector<Entry> m_pending;   // in posting order; only the thread removes entries
    uint64_t m_events = 0;          // posts and the close so far: a pause ends when this changes
    bool m_closing = false;
    bool m_stop = false;
    std::thread m_thread; // started by the first post
};
