// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Root passes every permission check, so a folder with mode 000 is readable to it. While one of
// these lives, the process (and the threads it starts) gives up that power: permission bits
// then apply to it as to any user. The power stays permitted and comes back at the end.
class PermissionChecks
{
public:
    PermissionChecks();
    ~PermissionChecks();
    PermissionChecks(const PermissionChecks&) = delete;
    PermissionChecks& operator=(const PermissionChecks&) = delete;

private:
    unsigned m_effective[2] = {0, 0};
    bool m_changed = false;
};
