// Base of the background workers: one worker thread whose body does its work once for each new value
// of the seconds clock, a run flag, a flag for "the body is running" and a lock for the subclass.
#pragma once

#include <windows.h>

#include <atomic>
#include <ctime>

// Whether a manual-reset stop event (nullptr: none) is set.
inline bool IsStopSet(HANDLE stop) {
    return stop && WaitForSingleObject(stop, 0) == WAIT_OBJECT_0;
}

class CQServer {
public:
    CQServer();
    // Waits for a thread that outlived Stop's bounded wait: its body still uses this object.
    virtual ~CQServer();
    CQServer(const CQServer&) = delete;
    CQServer& operator=(const CQServer&) = delete;

    // 1 when a thread was started; 0 when one runs already or it could not be created (the object
    // then still counts as started until Stop), or when the body of an earlier Start that outlived its
    // Stop is still in its step after a further kStopWaitMs (the object stays stopped).
    int Start();
    // Asks the body to end and waits for its thread at most kStopWaitMs.
    void Stop();
    static constexpr DWORD kStopWaitMs = 1000;

    static unsigned __stdcall ThreadProc(void* object);
    virtual void Run() = 0;

    // Ends the body (run flag 0) and waits for its thread without a bound. Subclasses call it first in
    // their destructor, before their own data goes away.
    void WaitForThreadEnd();

    int IsStarted() const { return m_bRun.load(); }
    int IsInThread() const { return m_bInThread.load(); }
    int Index() const { return m_nIndex; }

protected:
    // The body's skeleton: work() once for each new second, asleep in between until the next second
    // or Stop, until Stop.
    template <class Work> void RunEachSecond(Work work) {
        time_t t0 = time(nullptr);
        m_bInThread = 1;
        while (m_bRun.load() == 1) {
            time_t now = time(nullptr);
            if (now != t0) {
                work();
                t0 = now;
            }
            NapUntilNextSecond();
        }
        m_bInThread = 0;
    }
    // Set from Stop until the next Start: long work (a sweep) ends early when it sees it.
    HANDLE StopEvent() const { return m_hStop; }
    bool StopRequested() const { return IsStopSet(m_hStop); }

    unsigned m_nThreadId;
    int m_nIndex;
    CRITICAL_SECTION m_lock;
    std::atomic<int> m_bRun;
    std::atomic<int> m_bInThread;

private:
    void NapUntilNextSecond();

    HANDLE m_hThread; // kept so that Stop and destruction can wait for the thread
    HANDLE m_hStop;   // manual reset
    static int _nRef;
};

// Holds a CRITICAL_SECTION for a scope.
class CQServerLock {
public:
    explicit CQServerLock(CRITICAL_SECTION& cs) : m_cs(cs) { EnterCriticalSection(&m_cs); }
    ~CQServerLock() { LeaveCriticalSection(&m_cs); }
    CQServerLock(const CQServerLock&) = delete;
    CQServerLock& operator=(const CQServerLock&) = delete;

private:
    CRITICAL_SECTION& m_cs;
};
