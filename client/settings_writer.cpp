#include "settings_writer.h"

#include "atomic_file.h"

#include <memory>
#include <sys/stat.h>
#include <system_error>

namespace {
void write_content(atomic_file &out, const settings_write &write)
{
    if (!write.keep_old_as.empty())
        out.keep_old_file_as(write.keep_old_as);
    if (FILE *file = out.file())
        fwrite(write.content.data(), 1, write.content.size(), file);
}

void note_file_put_in_place(settings_write_outcome &outcome)
{
    struct stat status;
    if (stat(outcome.write.path.c_str(), &status) == 0) {
        outcome.device = status.st_dev;
        outcome.inode = status.st_ino;
    }
}
}

settings_write_outcome put_in_place(settings_write write)
{
    settings_write_outcome outcome;
    {
        atomic_file out(write.path);
        write_content(out, write);
        if (!out.commit())
            outcome.failure = out.error();
    }
    outcome.write = std::move(write);
    if (outcome.failure.empty())
        note_file_put_in_place(outcome);
    return outcome;
}

void settings_writer::write(settings_write write)
{
    std::unique_lock<std::mutex> lock(mutex);
    if (!thread.joinable() && !start_thread()) {
        settings_write_outcome outcome = put_in_place(with_move_still_due(std::move(write)));
        note_move(outcome);
        outcomes.push_back(std::move(outcome));
        return;
    }
    const auto waiting_write_of_path = waiting_by_path.find(write.path);
    if (waiting_write_of_path != waiting_by_path.end()) {
        replace(*waiting_write_of_path->second, std::move(write));
        return;
    }
    const std::string path = write.path;
    waiting.push_back({std::move(write), {}});
    waiting_by_path[path] = std::prev(waiting.end());
    work_arrived.notify_one();
}

void settings_writer::replace(waiting_write &older, settings_write newer)
{
    older.replaced_saves.push_back(older.write.save);
    if (newer.keep_old_as.empty())
        newer.keep_old_as = std::move(older.write.keep_old_as);
    older.write = std::move(newer);
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

settings_write settings_writer::with_move_still_due(settings_write write) const
{
    const auto still_to_keep = unkept.find(write.path);
    if (write.keep_old_as.empty() && still_to_keep != unkept.end())
        write.keep_old_as = still_to_keep->second;
    return write;
}

void settings_writer::note_move(const settings_write_outcome &outcome)
{
    if (outcome.failure.empty())
        unkept.erase(outcome.write.path);
    else if (!outcome.write.keep_old_as.empty())
        unkept[outcome.write.path] = outcome.write.keep_old_as;
}

// Called with the mutex held.
std::vector<settings_writer::waiting_write> settings_writer::take_batch()
{
    std::vector<waiting_write> batch;
    while (!waiting.empty() && batch.size() < settings_write_batch) {
        waiting_by_path.erase(waiting.front().write.path);
        batch.push_back(std::move(waiting.front()));
        waiting.pop_front();
    }
    return batch;
}

// Every content is written and closed first, its way to the disk started;
// then each is waited for, and only then are they renamed into place: a file
// replaced holds content on the disk, and no other program's data is synced.
std::vector<settings_write_outcome> settings_writer::write_batch(std::vector<waiting_write> batch)
{
    std::vector<settings_write_outcome> finished(batch.size());
    std::vector<std::unique_ptr<atomic_file>> files;
    for (size_t index = 0; index < batch.size(); ++index) {
        settings_write_outcome &outcome = finished[index];
        outcome.write = with_move_still_due(std::move(batch[index].write));
        outcome.replaced_saves = std::move(batch[index].replaced_saves);
        files.push_back(std::make_unique<atomic_file>(outcome.write.path, file_sync::by_caller));
        write_content(*files.back(), outcome.write);
        files.back()->finish_writing();
    }
    for (const std::unique_ptr<atomic_file> &file : files)
        file->make_durable();
    for (size_t index = 0; index < finished.size(); ++index) {
        settings_write_outcome &outcome = finished[index];
        if (!files[index]->commit())
            outcome.failure = files[index]->error();
        else
            note_file_put_in_place(outcome);
        files[index].reset();
        note_move(outcome);
    }
    return finished;
}

void settings_writer::hold_batches_with(std::function<void()> hook)
{
    std::lock_guard<std::mutex> lock(mutex);
    before_batch = std::move(hook);
}

void settings_writer::run()
{
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        work_arrived.wait(lock, [this] { return !waiting.empty() || stopping; });
        if (waiting.empty())
            return;
        writing = true;
        if (before_batch) {
            const std::function<void()> hook = before_batch;
            lock.unlock();
            hook();
            lock.lock();
        }
        std::vector<waiting_write> batch = take_batch();
        lock.unlock();
        std::vector<settings_write_outcome> written = write_batch(std::move(batch));
        lock.lock();
        for (settings_write_outcome &outcome : written)
            outcomes.push_back(std::move(outcome));
        writing = false;
        if (waiting.empty())
            all_written.notify_all();
    }
}
