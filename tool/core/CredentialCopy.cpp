#include "CredentialCopy.h"

#include "TextCut.h"

#include <cstring>

CredentialCopy::CredentialCopy() {
    m_szUser[0] = '\0';
    m_szPassword[0] = '\0';
}

void CredentialCopy::Set(const char* user, const char* password) {
    // Cut outside the lock: a caller's text may be long, the lock is shared with the SDK's threads.
    char u[CREDENTIAL_FIELD_SIZE];
    char p[CREDENTIAL_FIELD_SIZE];
    CopyTextCut(u, user);
    CopyTextCut(p, password);
    std::lock_guard<std::mutex> hold(m_lock);
    std::memcpy(m_szUser, u, sizeof u);
    std::memcpy(m_szPassword, p, sizeof p);
}

void CredentialCopy::Get(char (&user)[CREDENTIAL_FIELD_SIZE], char (&password)[CREDENTIAL_FIELD_SIZE]) const {
    std::lock_guard<std::mutex> hold(m_lock);
    std::memcpy(user, m_szUser, sizeof m_szUser);
    std::memcpy(password, m_szPassword, sizeof m_szPassword);
}
