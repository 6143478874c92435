// The two background workers of the host network watch (adapter inventory, free-address finder), as the
// main window sees them: one global each, started by its initialisation and stopped by its shut-down.
// Their threads and their work are not built yet; until they are, Start and Stop do nothing.
#pragma once

class CQIPServer {
public:
    bool Start();
    void Stop();
};

class CSystemInfo {
public:
    bool Start();
    void Stop();
};

extern CQIPServer g_IPServer;
extern CSystemInfo g_SystemInfo;
