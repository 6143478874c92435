#include "NetWatchWorkers.h"

// Not built yet: the free-address finder's worker thread comes with the host network watch.
bool CQIPServer::Start() { return false; }
void CQIPServer::Stop() {}

// Not built yet: the adapter inventory's worker thread comes with the host network watch.
bool CSystemInfo::Start() { return false; }
void CSystemInfo::Stop() {}
