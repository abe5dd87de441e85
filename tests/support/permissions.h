#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// Root ignores file permissions; a test of read-only files drops that power for the rest of its
// (single-threaded) process, which owns every file it touches.
inline bool dropPermissionBypass()
{
    if (geteuid() != 0)
        return true;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    return syscall(SYS_capset, &header, data) == 0;
}
