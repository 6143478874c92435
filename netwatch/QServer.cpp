#include "QServer.h"

#include "NetTrace.h"

#include <process.h>

int CQServer::_nRef = 0;

CQServer::CQServer() : m_nThreadId(0), m_nIndex(0), m_bRun(0), m_bInThread(0), m_hThread(nullptr) {
    InitializeCriticalSection(&m_lock);
    ++_nRef;
    m_nIndex = _nRef;
    NetTrace("CQServer::_nRef=%d\n", _nRef);
}

CQServer::~CQServer() {
    WaitForThreadEnd();
    DeleteCriticalSection(&m_lock);
    NetTrace("CQServer::_nRef=%d\n", _nRef);
    --_nRef;
}

void CQServer::WaitForThreadEnd() {
    if (!m_hThread) return;
    // Never waits for ever: a body whose Stop never came is told to end here.
    m_bRun = 0;
    WaitForSingleObject(m_hThread, INFINITE);
    CloseHandle(m_hThread);
    m_hThread = nullptr;
}

int CQServer::Start() {
    if (m_bRun.load() == 1) return 0;
    // A thread from an earlier Start that outlived its Stop must be gone before a new one shares the
    // object with it (its run flag is 0, so it ends after its current cycle).
    if (m_hThread) {
        WaitForSingleObject(m_hThread, INFINITE);
        CloseHandle(m_hThread);
        m_hThread = nullptr;
    }
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
    for (int i = 0; i < 1000 && m_bInThread.load() == 1; ++i)
        Sleep(1);
    NetTrace("m_nIndex=%d, Thread:0x%x end, m_bInThread:%d...\n", m_nIndex, m_nThreadId, m_bInThread.load());
}

unsigned __stdcall CQServer::ThreadProc(void* object) {
    static_cast<CQServer*>(object)->Run();
    return 0;
}
