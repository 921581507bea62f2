// A small file system of its own (tmpfs), to see what a full disk does.
// Mounting needs root; without it Mounted() is false and the test skips.
#pragma once

#include <string>

#include "support/temp_dir.h"

namespace quillory::testing {

class SmallDisk {
public:
    explicit SmallDisk(int kilobytes);
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    ~SmallDisk();

    bool Mounted() const { return mounted_; }
    std::string File(const std::string& name) const { return folder_.File(name); }
    const std::string& Path() const { return folder_.Path(); }
    // Writes one file as large as the space left, so the next write fails.
    void Fill() const;

private:
    TempDir folder_;
    bool mounted_ = false;
};

}  // namespace quillory::testing
