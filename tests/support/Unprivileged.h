#pragma once
// Holds the calling thread to file permissions and to exclusive opens of a terminal as an
// ordinary user is held, even where the tests run as the superuser (as CI does): the thread's
// effective capabilities, which let the superuser pass those checks, are lowered for the scope's
// life and raised again after. Only the calling thread is affected; the permitted set is kept.
#include <cerrno>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <system_error>
#include <unistd.h>

class Unprivileged {
public:
    Unprivileged()
    {
        Call(SYS_capget, saved_);
        __user_cap_data_struct lowered[_LINUX_CAPABILITY_U32S_3];
        for (int i = 0; i < _LINUX_CAPABILITY_U32S_3; ++i)
            lowered[i] = {0, saved_[i].permitted, saved_[i].inheritable};
        Call(SYS_capset, lowered);
    }
    ~Unprivileged()
    {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        syscall(SYS_capset, &header, saved_);
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

private:
    static void Call(long call, __user_cap_data_struct* data)
    {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        if (syscall(call, &header, data) != 0)
            throw std::system_error(errno, std::generic_category(), "capabilities");
    }

    __user_cap_data_struct saved_[_LINUX_CAPABILITY_U32S_3];
};
