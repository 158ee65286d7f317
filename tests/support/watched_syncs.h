#ifndef VUSK_TEST_WATCHED_SYNCS_H
#define VUSK_TEST_WATCHED_SYNCS_H

// Watches the syncs of the files the program writes, while it lives: which
// file, with which content, was synced, and whether a watched path already
// named that file at the time (synced only after it was renamed into place).
#include "atomic_file.h"

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

class watched_syncs {
public:
    explicit watched_syncs(std::vector<std::string> paths) : paths(std::move(paths))
    {
        watcher() = this;
        disk_calls calls = system_disk_calls();
        calls.sync_content = &watched_syncs::sync;
        use_disk_calls(calls);
    }
    ~watched_syncs()
    {
        use_disk_calls(system_disk_calls());
        watcher() = nullptr;
    }
    watched_syncs(const watched_syncs &) = delete;
    watched_syncs &operator=(const watched_syncs &) = delete;

    // True when the file now at the path was synced, holding what it holds
    // now, before it took the path's name.
    bool synced_before_renamed(const std::string &path)
    {
        std::lock_guard<std::mutex> lock(mutex);
        struct stat status;
        if (stat(path.c_str(), &status) != 0)
            return false;
        const auto synced_file = synced.find({status.st_dev, status.st_ino});
        return synced_file != synced.end() && synced_file->second == content_of(path) && late.count(path) == 0;
    }
    size_t syncs() const
    {
        std::lock_guard<std::mutex> lock(mutex);
        return synced.size();
    }

private:
    using file_id = std::pair<dev_t, ino_t>;

    static watched_syncs *&watcher()
    {
        static watched_syncs *current = nullptr;
        return current;
    }

    static std::string content_of(const std::string &path)
    {
        std::string content;
        if (FILE *file = fopen(path.c_str(), "rb")) {
            char chunk[4096];
            for (size_t got; (got = fread(chunk, 1, sizeof chunk, file)) > 0;)
                content.append(chunk, got);
            fclose(file);
        }
        return content;
    }

    static int sync(int descriptor)
    {
        watched_syncs &self = *watcher();
        struct stat status;
        fstat(descriptor, &status);
        // The descriptor may be open for writing only.
        const std::string content = content_of("/proc/self/fd/" + std::to_string(descriptor));
        std::lock_guard<std::mutex> lock(self.mutex);
        self.synced[{status.st_dev, status.st_ino}] = content;
        for (const std::string &path : self.paths) {
            struct stat named;
            if (stat(path.c_str(), &named) == 0 && named.st_dev == status.st_dev && named.st_ino == status.st_ino)
                self.late.insert(path);
        }
        return fdatasync(descriptor);
    }

    const std::vector<std::string> paths;
    mutable std::mutex mutex;
    std::map<file_id, std::string> synced;
    std::set<std::string> late;
};

#endif
