#include "QServer.h"

#include "NetTrace.h"

#include <process.h>

int CQServer::_nRef = 0;

CQServer::CQServer()
    : m_nThreadId(0), m_nIndex(0), m_bRun(0), m_bInThread(0), m_hThread(nullptr),
      m_hStop(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    InitializeCriticalSection(&m_lock);
    ++_nRef;
    m_nIndex = _nRef;
    NetTrace("CQServer::_nRef=%d\n", _nRef);
}

CQServer::~CQServer() {
    WaitForThreadEnd();
    if (m_hStop) CloseHandle(m_hStop);
    DeleteCriticalSection(&m_lock);
    NetTrace("CQServer::_nRef=%d\n", _nRef);
    --_nRef;
}

void CQServer::WaitForThreadEnd() {
    if (!m_hThread) return;
    // Without a bound, as destruction must. The body is told to end here if no Stop came, so the wait
    // lasts what is left of its current step: a sweep ends within a slice of the stop event, a netsh
    // command within its 20 s.
    m_bRun = 0;
    if (m_hStop) SetEvent(m_hStop);
    WaitForSingleObject(m_hThread, INFINITE);
    CloseHandle(m_hThread);
    m_hThread = nullptr;
}

int CQServer::Start() {
    if (m_bRun.load() == 1) return 0;
    // A thread from an earlier Start that outlived its Stop must be gone before a new one shares the
    // object with it. It was told to end and finishes its current step; the caller (the UI thread)
    // waits for that no longer than Stop does.
    if (m_hThread) {
        if (WaitForSingleObject(m_hThread, kStopWaitMs) != WAIT_OBJECT_0) return 0;
        CloseHandle(m_hThread);
        m_hThread = nullptr;
    }
    if (m_hStop) ResetEvent(m_hStop);
    m_bRun = 1;
    unsigned id = 0;
    uintptr_t h = _beginthreadex(nullptr, 0, &CQServer::ThreadProc, this, 0, &id);
    if (h == 0) return 0;
    m_nThreadId = id;
    m_hThread = reinterpret_cast<HANDLE>(h);
    NetTrace("m_nIndex=%d, Thread:0x%x running...\n", m_nIndex, m_nThreadId);
    return 1;
}

void CQServer::Stop() {
    if (m_bRun.load() == 0) return;
    m_bRun = 0;
    if (m_hStop) SetEvent(m_hStop);
    if (m_hThread) WaitForSingleObject(m_hThread, kStopWaitMs);
    NetTrace("m_nIndex=%d, Thread:0x%x end, m_bInThread:%d...\n", m_nIndex, m_nThreadId, m_bInThread.load());
}

unsigned __stdcall CQServer::ThreadProc(void* object) {
    static_cast<CQServer*>(object)->Run();
    return 0;
}

void CQServer::NapUntilNextSecond() {
    // The calendar clock that time() reads; 100 ns units, so this is the millisecond within its second.
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    ULONGLONG t = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    DWORD ms = 1000 - static_cast<DWORD>(t / 10000 % 1000);
    if (m_hStop)
        WaitForSingleObject(m_hStop, ms);
    else
        Sleep(ms);
}
