#pragma once

// A scratch working directory for tests that save files.

#include <filesystem>
#include <set>
#include <string>

#include <stdlib.h>

// A fresh empty directory that is the current one while the object lives,
// removed afterwards with whatever the test left in it.
struct TempDir {
    std::filesystem::path path, previous = std::filesystem::current_path();
    TempDir()
    {
        char name[] = "/tmp/omotac-dir-XXXXXX";
        std::filesystem::current_path(path = mkdtemp(name));
    }
    ~TempDir()
    {
        std::filesystem::current_path(previous);
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(path);
    }
    std::set<std::string> files() const
    {
        std::set<std::string> names;
        for (const auto& f : std::filesystem::directory_iterator(path)) names.insert(f.path().filename());
        return names;
    }
};
