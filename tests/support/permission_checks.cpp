// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/permission_checks.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr unsigned Bypass = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

bool capabilities(__user_cap_data_struct (&data)[2], bool set)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(set ? SYS_capset : SYS_capget, &header, data) == 0;
}

} // namespace

PermissionChecks::PermissionChecks()
{
    __user_cap_data_struct data[2] = {};
    if (!capabilities(data, false) || (data[0].effective & Bypass) == 0)
        return;
    m_effective[0] = data[0].effective;
    m_effective[1] = data[1].effective;
    data[0].effective &= ~Bypass;
    m_changed = capabilities(data, true);
}

PermissionChecks::~PermissionChecks()
{
    __user_cap_data_struct data[2] = {};
    if (!m_changed || !capabilities(data, false))
        return;
    data[0].effective = m_effective[0];
    data[1].effective = m_effective[1];
    capabilities(data, true);
}
