#pragma once
// Permission bits for tests that need them. Root passes every permission
// check, so a read-only folder or an unreadable file stops nothing in a test
// run as root; while a FileRightsAsUser lives, the calling thread gives up
// the capabilities that override file permissions and meets the bits like
// any user. Everything the program does runs on that thread.

namespace zelvar::testing {

class FileRightsAsUser {
public:
    FileRightsAsUser();
    ~FileRightsAsUser();
    FileRightsAsUser(const FileRightsAsUser&) = delete;
    FileRightsAsUser& operator=(const FileRightsAsUser&) = delete;

    // False when the permission bits still do not apply (the capabilities
    // could not be given up).
    bool active() const { return active_; }

private:
    bool dropped_ = false;
    bool active_ = false;
};

} // namespace zelvar::testing
