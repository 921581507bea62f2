// What a page composer works with: the open data file, its folder, and the
// host that shows messages and pages.
#pragma once

#include <string>

namespace quillory {

class DataStore;
class Host;

struct PageContext {
    DataStore& store;
    std::string dataFolder;
    Host& host;
};

}  // namespace quillory
