#pragma once

#include <map>
#include <string>
#include <vector>

#include "settings/Settings.h"

namespace lectoria::test {

/// A profile kept in memory that records the order of writes.
class MemoryProfile : public settings::ProfileStore
{
public:
    int ReadInt(const std::string& key, int fallback) override
    {
        const auto found = ints.find(key);
        return found == ints.end() ? fallback : found->second;
    }
    std::string ReadString(const std::string& key, const std::string& fallback) override
    {
        const auto found = strings.find(key);
        return found == strings.end() ? fallback : found->second;
    }
    void WriteInt(const std::string& key, int value) override
    {
        ints[key] = value;
        writes.push_back(key);
    }
    void WriteString(const std::string& key, const std::string& value) override
    {
        strings[key] = value;
        writes.push_back(key);
    }
    bool Flush() override { return true; }

    std::map<std::string, int> ints;
    std::map<std::string, std::string> strings;
    std::vector<std::string> writes;
};

} // namespace lectoria::test
