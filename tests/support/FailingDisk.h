#pragma once
// A disk that fails on demand. While a FailingDisk lives, every SQLite file opened afterwards goes
// through it to the real file system; setFailing(true) makes every write, sync, truncation and file
// deletion fail with an input/output error (reads still work), as a full or pulled-out disk does.
// Files opened before it was made are not affected.

namespace qav::test {

class FailingDisk {
public:
    FailingDisk();
    ~FailingDisk();
    FailingDisk(const FailingDisk&) = delete;
    FailingDisk& operator=(const FailingDisk&) = delete;

    void setFailing(bool failing);
};

} // namespace qav::test
