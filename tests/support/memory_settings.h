// Settings kept in memory, for tests.
#pragma once

#include <map>
#include <string>

#include "core/host/host.h"

namespace quillory::testing {

class MemorySettings : public Settings {
public:
    int ReadInt(const std::string& section, const std::string& name, int fallback) override {
        const auto found = values.find(section + "/" + name);
        return found == values.end() ? fallback : found->second;
    }
    void WriteInt(const std::string& section, const std::string& name, int value) override {
        values[section + "/" + name] = value;
    }
    std::map<std::string, int> values;
};

}  // namespace quillory::testing
