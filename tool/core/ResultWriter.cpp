#include "ResultWriter.h"

#include <chrono>
#include <map>
#include <system_error>

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::milliseconds;

const Ms kFirstPause(50);
const Ms kLongestPause(500);
// While the writer is closing, its bound is short: try often.
const Ms kClosingPause(20);

bool SameEntry(const ResultWriter::Entry& a, const ResultWriter::Entry& b) {
    return a.line == b.line && a.names.file == b.names.file;
}

} // namespace

ResultWriter::ResultWriter(FileOps& ops) : m_ops(ops) {}

ResultWriter::~ResultWriter() {
    Close(0);
}

bool ResultWriter::Post(Entry entry) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_closing) return false;
    for (const Entry& e : m_pending)
        if (SameEntry(e, entry)) return true;
    m_pending.push_back(std::move(entry));
    ++m_events;
    if (!m_thread.joinable()) {
        try {
            m_thread = std::thread(&ResultWriter::Run, this);
        } catch (const std::system_error&) {
            // No thread now: the entry waits for the next post's try, or is handed back by Close.
        }
    }
    m_wake.notify_one();
    return true;
}

bool ResultWriter::WaitIdle(unsigned timeoutMs) {
    std::unique_lock<std::mutex> lock(m_lock);
    return m_idle.wait_for(lock, Ms(timeoutMs), [this] { return m_pending.empty(); });
}

std::vector<ResultWriter::Entry> ResultWriter::Close(unsigned boundMs) {
    std::unique_lock<std::mutex> lock(m_lock);
    m_closing = true;
    ++m_events;
    m_wake.notify_all();
    if (m_thread.joinable()) m_idle.wait_for(lock, Ms(boundMs), [this] { return m_pending.empty(); });
    m_stop = true;
    m_wake.notify_all();
    lock.unlock();
    if (m_thread.joinable()) m_thread.join();
    lock.lock();
    std::vector<Entry> left;
    left.swap(m_pending);
    return left;
}

void ResultWriter::Run() {
    std::unique_lock<std::mutex> lock(m_lock);
    Ms pause = kFirstPause;
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_pending.empty(); });
        if (m_stop) return;
        const std::vector<Entry> batch = m_pending;
        const uint64_t seen = m_events;
        lock.unlock();
        const std::vector<bool> written = WriteAll(batch);
        lock.lock();
        // The batch is the front of the queue: posts only add at the end, and only this thread removes.
        size_t kept = 0;
        bool anyLeft = false;
        for (size_t i = 0; i < m_pending.size(); ++i) {
            if (i < written.size() && written[i]) continue;
            anyLeft = anyLeft || i < written.size();
            if (kept != i) m_pending[kept] = std::move(m_pending[i]);
            ++kept;
        }
        m_pending.resize(kept);
        if (m_pending.empty()) m_idle.notify_all();
        if (!anyLeft) {
            pause = kFirstPause;
            continue;
        }
        // A file is held: try again after the pause, or at once when something new comes.
        const Ms wait = m_closing ? kClosingPause : pause;
        m_wake.wait_for(lock, wait, [this, seen] { return m_stop || m_events != seen; });
        if (pause < kLongestPause) pause = pause * 2 < kLongestPause ? pause * 2 : kLongestPause;
    }
}

std::vector<bool> ResultWriter::WriteAll(const std::vector<Entry>& batch) {
    // The entries of each file together, files in the order their first entry came.
    std::map<std::string, std::vector<size_t>> byFile;
    std::vector<const std::string*> order;
    for (size_t i = 0; i < batch.size(); ++i) {
        auto it = byFile.find(batch[i].names.file);
        if (it == byFile.end()) {
            it = byFile.emplace(batch[i].names.file, std::vector<size_t>()).first;
            order.push_back(&it->first);
        }
        it->second.push_back(i);
    }
    std::vector<bool> written(batch.size(), false);
    for (const std::string* file : order) {
        const std::vector<size_t>& members = byFile[*file];
        std::vector<std::string> lines;
        lines.reserve(members.size());
        for (size_t i : members)
            lines.push_back(batch[i].line);
        const bool ok = AppendResultLines(batch[members.front()].names, lines, m_ops) != ResultAppend::Failed;
        for (size_t i : members)
            written[i] = ok;
    }
    return written;
}
