// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Tests run as root on CI, and root writes into read-only folders anyway. While this guard
// lives, file permission checks of this thread are made as user "nobody", so a folder with
// mode 0555 refuses writes as it does for a clinician's account.
#include <sys/fsuid.h>
#include <unistd.h>

class Unprivileged {
public:
    Unprivileged() : m_active(geteuid() == 0) {
        if (m_active) {
            setfsgid(65534);
            setfsuid(65534);
        }
    }
    ~Unprivileged() {
        if (m_active) {
            setfsuid(0);
            setfsgid(0);
        }
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

private:
    bool m_active;
};
