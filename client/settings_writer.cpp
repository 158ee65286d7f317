#include "settings_writer.h"

#include "atomic_file.h"

#include <sys/stat.h>
#include <system_error>

settings_write_outcome put_in_place(settings_write write)
{
    settings_write_outcome outcome;
    {
        atomic_file out(write.path);
        if (!write.keep_old_as.empty())
            out.keep_old_file_as(write.keep_old_as);
        if (FILE *file = out.file())
            fwrite(write.content.data(), 1, write.content.size(), file);
        if (!out.commit())
            outcome.failure = out.error();
    }
    struct stat status;
    if (outcome.failure.empty() && stat(write.path.c_str(), &status) == 0) {
        outcome.device = status.st_dev;
        outcome.inode = status.st_ino;
    }
    outcome.write = std::move(write);
    return outcome;
}

void settings_writer::write(settings_write write)
{
    std::unique_lock<std::mutex> lock(mutex);
    if (!thread.joinable() && !start_thread()) {
        outcomes.push_back(put_in_place_keeping(std::move(write)));
        return;
    }
    room_made.wait(lock, [this] { return waiting.size() < max_waiting_settings_writes; });
    waiting.push_back(std::move(write));
    work_arrived.notify_one();
}

bool settings_writer::start_thread()
{
    try {
        thread = std::thread(&settings_writer::run, this);
        return true;
    } catch (const std::system_error &) {
        return false;
    }
}

std::vector<settings_write_outcome> settings_writer::take_outcomes()
{
    std::vector<settings_write_outcome> finished;
    std::lock_guard<std::mutex> lock(mutex);
    finished.swap(outcomes);
    return finished;
}

void settings_writer::wait_until_written()
{
    std::unique_lock<std::mutex> lock(mutex);
    all_written.wait(lock, [this] { return waiting.empty() && !writing; });
}

void settings_writer::stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!thread.joinable())
            return;
        stopping = true;
        work_arrived.notify_one();
    }
    thread.join();
    std::lock_guard<std::mutex> lock(mutex);
    stopping = false;
}

settings_write_outcome settings_writer::put_in_place_keeping(settings_write write)
{
    const auto still_to_keep = unkept.find(write.path);
    if (write.keep_old_as.empty() && still_to_keep != unkept.end())
        write.keep_old_as = still_to_keep->second;
    settings_write_outcome outcome = put_in_place(std::move(write));
    if (outcome.failure.empty())
        unkept.erase(outcome.write.path);
    else if (!outcome.write.keep_old_as.empty())
        unkept[outcome.write.path] = outcome.write.keep_old_as;
    return outcome;
}

void settings_writer::run()
{
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        work_arrived.wait(lock, [this] { return !waiting.empty() || stopping; });
        if (waiting.empty())
            return;
        settings_write next = std::move(waiting.front());
        waiting.pop_front();
        room_made.notify_one();
        writing = true;
        lock.unlock();
        settings_write_outcome outcome = put_in_place_keeping(std::move(next));
        lock.lock();
        outcomes.push_back(std::move(outcome));
        writing = false;
        if (waiting.empty())
            all_written.notify_all();
    }
}
