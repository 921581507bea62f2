#include "support/small_disk.h"

#include <sys/mount.h>

#include <cstdio>
#include <string>

#include "core/common/text.h"

namespace quillory::testing {

SmallDisk::SmallDisk(int kilobytes) {
    mounted_ = mount("tmpfs", folder_.Path().c_str(), "tmpfs", 0,
                     Format("size=%dk", kilobytes).c_str()) == 0;
}

SmallDisk::~SmallDisk() {
    if (mounted_) {
        umount2(folder_.Path().c_str(), MNT_DETACH);
    }
}

void SmallDisk::Fill() const {
    std::FILE* file = std::fopen(File("filler").c_str(), "wb");
    if (file == nullptr) {
        return;
    }
    const std::string block(4096, 'x');
    while (std::fwrite(block.data(), 1, block.size(), file) == block.size() &&
           std::fflush(file) == 0) {
    }
    std::fclose(file);
}

}  // namespace quillory::testing
