// The operator's user name and password (edits 1006 and 1007) as the device SDK's callbacks read them.
// Reading an edit from an SDK thread waits for the UI thread, which stalls the answer while the UI
// thread is busy and deadlocks the shut-down (the UI thread stops the servers while a callback waits
// on it). So the UI thread keeps this copy current whenever either text changes, and the callbacks
// read the copy under its own small lock. Platform-free.
#pragma once

#include <cstddef>
#include <mutex>

// The SDK's credential fields are 256 bytes: at most 255 characters.
constexpr size_t CREDENTIAL_FIELD_SIZE = 256;

class CredentialCopy {
public:
    CredentialCopy();
    CredentialCopy(const CredentialCopy&) = delete;
    CredentialCopy& operator=(const CredentialCopy&) = delete;

    // UI thread: after initialisation set the texts and on every change of either edit.
    // Longer texts are cut at 255 characters. NULL stands for an empty text.
    void Set(const char* user, const char* password);

    // Any thread: both texts as last set, NUL-terminated, taken together under the lock.
    void Get(char (&user)[CREDENTIAL_FIELD_SIZE], char (&password)[CREDENTIAL_FIELD_SIZE]) const;

private:
    mutable std::mutex m_lock;
    char m_szUser[CREDENTIAL_FIELD_SIZE];
    char m_szPassword[CREDENTIAL_FIELD_SIZE];
};
