// The address-change listener: one thread per process that waits for changes of the PC's IP address
// table and, at each, has the inventory whose Start started it (and that inventory's finder) read again.
#pragma once

class CSystemInfo;

// Starts the listener for owner unless one runs.
void StartNicListener(CSystemInfo* owner);
// Ends the listener and waits for its thread (it waits on the stop event too, so it leaves at once);
// nothing when none runs.
void StopNicListener();
// For owner's destructor: when owner's Start was the one that last started the listener, ends it as
// StopNicListener does, forgets owner and returns true.
bool EndNicListenerOf(const CSystemInfo* owner);

// Wakes the listener as an address change does. Wine never signals NotifyAddrChange, so this is how
// a change is made in tests. False while the listener has no event.
bool SignalNicChange();
