#include "support/filerights.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace zelvar::testing {

namespace {

// The capabilities that let a process past read, write and search bits.
constexpr unsigned kOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

// Sets or clears the overrides in the thread's effective set; they stay in
// its permitted set, so they can be taken up again.
bool setOverrides(bool on) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0) {
        return false;
    }
    data[0].effective = on ? (data[0].effective | (data[0].permitted & kOverrides))
                           : (data[0].effective & ~kOverrides);
    return syscall(SYS_capset, &header, data) == 0;
}

} // namespace

FileRightsAsUser::FileRightsAsUser() {
    if (geteuid() != 0) {
        active_ = true; // the bits apply already
        return;
    }
    dropped_ = setOverrides(false);
    active_ = dropped_;
}

FileRightsAsUser::~FileRightsAsUser() {
    if (dropped_) {
        setOverrides(true);
    }
}

} // namespace zelvar::testing
