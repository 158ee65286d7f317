// Settings files as a damaged disk, a careless hand or another program may
// leave them: nothing blocks, nothing the player set is lost, and a save
// writes only what changed.
#include "config_files_fixture.h"

#include "held_disk.h"
#include "lowered_limit.h"
#include "nrandom.h"
#include "retry_schedule.h"
#include "settings_files.h"
#include "stderr_capture.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A test that waits on a file longer than this ends its process, and fails
// (a flood on a disk that refuses writes takes some seconds under the
// sanitizers).
constexpr unsigned blocking_limit_seconds = 90;

// Tells whether a file was replaced: every save puts a new file in place.
struct file_identity {
    ino_t inode = 0;
    long long modified_ns = -1;
    bool operator==(const file_identity &other) const
    {
        return inode == other.inode && modified_ns == other.modified_ns;
    }
};

file_identity identity(const std::string &path)
{
    struct stat status;
    if (lstat(path.c_str(), &status) != 0)
        return {};
    return {status.st_ino, status.st_mtim.tv_sec * 1000000000LL + status.st_mtim.tv_nsec};
}

void make_old(const std::string &path)
{
    const timeval long_ago[2] = {{1000000000, 0}, {1000000000, 0}};
    utimes(path.c_str(), long_ago);
}

class HostileFiles : public ConfigFilesTest {
public:
    using ConfigFilesTest::tick_clock_ms;

protected:
    HostileFiles() { alarm(blocking_limit_seconds); }
    ~HostileFiles() override { alarm(0); }

    // The golden files, Arden's record holding text of its own at one place.
    TConfig &load_golden_with_record(const std::string &record)
    {
        write_file(in_config_dir("varn_ossic.cfg"), fixture("system_config.golden"));
        write_file(in_config_dir("Arden.cfg"), record);
        load_system_config();
        return *TConfig::Instance();
    }
};

} // namespace

TEST_F(HostileFiles, OversizedFilesAreRefusedUnread)
{
    // 200 MB without a byte on disk: the size alone refuses it.
    write_file(in_config_dir("varn_ossic.cfg"), fixture("system_config.golden"));
    write_file(in_config_dir("Arden.cfg"), fixture("record_config.golden"));
    ASSERT_EQ(truncate(in_config_dir("Arden.cfg").c_str(), 200 * 1024 * 1024), 0);
    write_file(store_path(), "uuid=0123456789abcdef0123456789abcdef\n" + std::string(settings_file_size_limit, '#'));
    stderr_capture said;
    load_system_config();
    EXPECT_EQ(std::string(global_uuid, 4), "DFLT");
    EXPECT_EQ(TConfig::Instance()->GetInputHeight(), 48);
    EXPECT_NE(said.text().find("(larger than 1048576 bytes)"), std::string::npos) << said.text();

    // Within the limit the same content is read.
    const std::string at_limit = "uuid=x" + std::string(settings_file_size_limit - 7, 'x') + "\n";
    write_file(store_path(), at_limit);
    const settings_file read = read_settings_file(store_path());
    EXPECT_EQ(read.state, settings_file_state::read);
    EXPECT_EQ(read.content, at_limit);
}

TEST_F(HostileFiles, StrayEndTagsKeepThePlayersSettings)
{
    std::string record = fixture("record_config.golden");
    record.insert(record.find("    <font_size>"), "</stray>\n");
    record.insert(record.find("    <input_height>"), "    </sky_bar>\n");
    const TConfig &config = load_golden_with_record(record);
    EXPECT_EQ(config.GetFontSize(), 12);
    EXPECT_EQ(config.GetAutomapSize(), 21);
    ASSERT_EQ(config.current_record()->popups().size(), 3u);
    save_system_config();
    EXPECT_EQ(read_file(in_config_dir("Arden.cfg")), fixture("record_config.golden"));
}

TEST_F(HostileFiles, EachDamagedFileIsKeptBesideTheNewOneAndBesideEarlierCopies)
{
    const std::string garbage = "player notes, no settings <b>bold</b>\n";
    TConfig &config = load_golden_with_record(garbage);
    EXPECT_EQ(config.GetName(), "");
    config.UseConfig("Arden");
    config.SetInputHeight(300);
    save_system_config();
    EXPECT_EQ(read_file(in_config_dir("Arden.cfg.damaged")), garbage);
    EXPECT_NE(read_file(in_config_dir("Arden.cfg")).find("<input_height>300</input_height>"), std::string::npos);
    // Kept once: the next save leaves the kept file alone.
    const file_identity kept = identity(in_config_dir("Arden.cfg.damaged"));
    config.SetInputHeight(301);
    save_system_config();
    EXPECT_TRUE(identity(in_config_dir("Arden.cfg.damaged")) == kept);

    // Damaged again (grown past what is read): kept too, beside the first.
    const std::string oversized(settings_file_size_limit + 1, '#');
    write_file(in_config_dir("Arden.cfg"), oversized);
    EXPECT_EQ(read_settings_file(in_config_dir("Arden.cfg")).state, settings_file_state::refused);
    config.SetInputHeight(302);
    save_system_config();
    EXPECT_TRUE(identity(in_config_dir("Arden.cfg.damaged")) == kept);
    EXPECT_EQ(read_file(in_config_dir("Arden.cfg.damaged")), garbage);
    EXPECT_EQ(read_file(in_config_dir("Arden.cfg.damaged-2")), oversized);
    EXPECT_NE(read_file(in_config_dir("Arden.cfg")).find("<input_height>302</input_height>"), std::string::npos);
}

// A system file of plain text, a record file of no settings and a
// preference store too large to read are each said on standard error once,
// however often they are read again while the disk refuses their
// replacement, and kept aside once it takes it.
TEST_F(HostileFiles, EveryFileKeptAsideIsSaidOnceUntilItIsReplaced)
{
    const std::string garbage = "player notes, no settings\n";
    const std::string oversized(settings_file_size_limit + 1, '#');
    write_file(in_config_dir("varn_ossic.cfg"), garbage);
    write_file(in_config_dir("Arden.cfg"), "<notes>" + garbage + "</notes>\n");
    write_file(store_path(), oversized);
    TConfig &config = *TConfig::Instance();
    stderr_capture said;
    {
        lowered_limit full(RLIMIT_FSIZE, 100);
        load_system_config();
        config.UseConfig("Arden");
        config.SetInputHeight(300);
        save_system_config();
        save_system_config();
    }
    save_system_config();
    const std::string text = said.text();
    for (const std::string &path : {in_config_dir("varn_ossic.cfg"), in_config_dir("Arden.cfg"), store_path()}) {
        const std::string line = "Varn Ossic: cannot use the settings file " + path + " (";
        EXPECT_NE(text.find(line), std::string::npos) << text;
        EXPECT_EQ(text.find(line), text.rfind(line)) << text;
    }
    EXPECT_EQ(read_file(in_config_dir("varn_ossic.cfg.damaged")), garbage);
    EXPECT_EQ(read_file(in_config_dir("Arden.cfg.damaged")), "<notes>" + garbage + "</notes>\n");
    EXPECT_EQ(read_file(store_path() + ".damaged"), oversized);
}

TEST_F(HostileFiles, SavesRewriteOnlyChangedFiles)
{
    TConfig &config = load_golden_with_record(fixture("record_config.golden"));
    const std::string record = in_config_dir("Arden.cfg");
    const std::string system = in_config_dir("varn_ossic.cfg");
    save_system_config();
    const file_identity first_record = identity(record);
    const file_identity first_system = identity(system);
    const file_identity first_store = identity(store_path());
    save_system_config();
    EXPECT_TRUE(identity(record) == first_record);
    EXPECT_TRUE(identity(system) == first_system);
    EXPECT_TRUE(identity(store_path()) == first_store);

    config.SetInputHeight(300);
    save_system_config();
    EXPECT_FALSE(identity(record) == first_record);
    EXPECT_TRUE(identity(system) == first_system);
    // A file removed meanwhile is written again.
    std::filesystem::remove(record);
    save_system_config();
    EXPECT_NE(read_file(record).find("<input_height>300</input_height>"), std::string::npos);
}

// Left by killed saves of an earlier run, by a save still running, by other
// programs in the home directory and in the configuration directory: a save
// removes the stale temporary files of the files it writes and nothing else;
// a directory is looked at once, so that a save costs the same however many
// files lie beside it.
TEST_F(HostileFiles, SavesRemoveTheStaleTemporaryFilesOfTheirOwnFilesOnly)
{
    TConfig &config = load_golden_with_record(fixture("record_config.golden"));
    const std::string record = in_config_dir("Arden.cfg");
    const std::string home_dir = home.path();
    const std::vector<std::string> stale = {record + ".tmp-a1B2c3", record + ".tmp-zzzzzz",
                                            store_path() + ".tmp-Q9w8E7"};
    const std::string other_record = in_config_dir("Bryn.cfg.tmp-a1B2c3");
    std::vector<std::string> kept = {record + ".tmp-Fresh1", record + ".backup", record + ".tmp-abc",
                                     record + ".tmp-a1B2c3d", in_config_dir(".tmp-a1B2c3")};
    for (const std::string &directory : {home_dir, config_dir()})
        for (const char *name : {"/thesis.tex.tmp-Ab12Cd", "/download.iso.tmp-x9Y8z7", "/notes.cfg.tmp-k3J4h5"})
            kept.push_back(directory + name);
    for (const std::string &path : stale)
        write_file(path, "cut");
    write_file(other_record, "cut");
    for (const std::string &path : kept)
        write_file(path, "keep");
    for (const std::string &path : stale)
        make_old(path);
    make_old(other_record);
    for (const std::string &path : kept)
        if (path != record + ".tmp-Fresh1")
            make_old(path);
    config.SetInputHeight(301);
    save_system_config();
    for (const std::string &path : stale)
        EXPECT_FALSE(exists(path)) << path;
    EXPECT_TRUE(exists(other_record));

    const std::string later = in_config_dir("Bryn.cfg.tmp-Later1");
    write_file(later, "cut");
    make_old(later);
    config.UseConfig("Bryn");
    config.SetInputHeight(302);
    save_system_config();
    EXPECT_FALSE(exists(other_record));
    EXPECT_TRUE(exists(later));
    for (const std::string &path : kept)
        EXPECT_EQ(read_file(path), "keep") << path;
}

TEST_F(HostileFiles, RelativeConfigDirectoryIsTakenUnderHome)
{
    write_file(store_path(), "config_dir=games/varn\n");
    TempDir elsewhere;
    const std::filesystem::path started_in = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere.path());
    load_system_config();
    std::filesystem::current_path(started_in);
    EXPECT_EQ(global_config_directory_path, home.path() + "/games/varn");
    EXPECT_TRUE(does_directory_exist(global_config_directory_path.c_str()));
    EXPECT_EQ(files_in(elsewhere.path()), 0);
    EXPECT_EQ(find_config_directory("games/varn", nullptr), "");
}

// Two programs started in the same second have drawn the same numbers from
// the clock-seeded generator; their ids must differ all the same.
TEST_F(HostileFiles, ClientIdsMadeInTheSameSecondDiffer)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const time_t second = time(nullptr);
        std::vector<std::string> ids;
        for (int program = 0; program < 2; ++program) {
            int ends[2];
            ASSERT_EQ(pipe(ends), 0);
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                xrand_initialize();
                create_default_uuid();
                _exit(write(ends[1], global_uuid, strlen(global_uuid)) == 32 ? 0 : 1);
            }
            close(ends[1]);
            char id[64] = "";
            EXPECT_EQ(read(ends[0], id, sizeof id - 1), 32);
            close(ends[0]);
            waitpid(child, nullptr, 0);
            ids.emplace_back(id);
        }
        if (time(nullptr) != second)
            continue;
        for (const std::string &id : ids) {
            EXPECT_EQ(id.substr(0, 4), "DFLT");
            EXPECT_EQ(id.find_first_not_of("0123456789abcdef", 4), std::string::npos) << id;
        }
        EXPECT_NE(ids[0], ids[1]);
        return;
    }
    FAIL() << "no two programs started within one second";
}

// The server sends a client id on every tick for two seconds while the
// player has 200 configurations: the store is written about once a second
// and no record file at all.
TEST_F(HostileFiles, ClientIdBurstWritesTheStoreOnceASecondAndNoRecord)
{
    load_system_config();
    TConfig &config = *TConfig::Instance();
    for (int record = 0; record < record_list_capacity; ++record)
        config.UseConfig("R" + std::to_string(1000 + record));
    ASSERT_EQ(config.records().size(), size_t(record_list_capacity));
    save_system_config();
    std::vector<file_identity> records;
    for (const auto &record : config.records())
        records.push_back(identity(config_file_path(record->name)));
    const file_identity system = identity(in_config_dir("varn_ossic.cfg"));

    const int ticks = 100;
    const long long start = tick_clock_ms(60000);
    int store_writes = 0;
    file_identity store = identity(store_path());
    for (int tick = 0; tick <= ticks + 50; ++tick) {
        if (tick < ticks)
            set_uuid(("burst-id-" + std::to_string(tick)).c_str());
        run_requested_config_save(start + tick * 20);
        finish_config_saves();
        if (!(identity(store_path()) == store))
            ++store_writes;
        store = identity(store_path());
    }
    tick_clock_ms(ticks * 20 + 1000);
    EXPECT_EQ(store_writes, 3);
    EXPECT_NE(read_file(store_path()).find("uuid=burst-id-99\n"), std::string::npos);
    for (size_t record = 0; record < records.size(); ++record)
        EXPECT_TRUE(identity(config_file_path(config.records()[record]->name)) == records[record]) << record;
    EXPECT_TRUE(identity(in_config_dir("varn_ossic.cfg")) == system);
}

// A save started by the save timer fails under a file-size limit: the main
// tick that takes up its outcome says so, once, and the old files stay.
TEST_F(HostileFiles, AFailedBackgroundSaveIsReportedByTheTick)
{
    TConfig &config = load_golden_with_record(fixture("record_config.golden"));
    config.SetInputHeight(300);
    stderr_capture said;
    {
        lowered_limit lowered(RLIMIT_FSIZE, 100);
        start_system_config_save();
        wait_for_background_saves();
    }
    EXPECT_EQ(read_file(in_config_dir("Arden.cfg")), fixture("record_config.golden"));
    run_requested_config_save(tick_clock_ms(20));
    run_requested_config_save(tick_clock_ms(20));
    const std::string text = said.text();
    EXPECT_EQ(text.find("Varn Ossic: settings not saved, the old files are kept: cannot write"), 0u) << text;
    EXPECT_EQ(text.find("Varn Ossic:"), text.rfind("Varn Ossic:")) << text;
}

namespace {

// Logins of characters, each changing a setting of its own record.
void log_in_changing(TConfig &config, const std::string &prefix, int logins, int first = 0)
{
    for (int login = first; login < logins; ++login) {
        config.UseConfig(prefix + std::to_string(login));
        config.SetInputHeight(input_height_min + login % 100);
    }
}

std::string height_of(int login)
{
    return "<input_height>" + std::to_string(input_height_min + login % 100) + "</input_height>";
}

// The characters of those logins whose file does not hold their setting.
int settings_lost(const std::string &prefix, int first, int end)
{
    int lost = 0;
    for (int login = first; login < end; ++login)
        lost += ConfigFilesTest::read_file(config_file_path(prefix + std::to_string(login))).find(height_of(login)) ==
                std::string::npos;
    return lost;
}

// Far beyond what any of these floods takes under the sanitizers, and
// short of the fixture's limit.
constexpr auto flood_deadline = std::chrono::seconds(60);

// The main tick's clock, which runs as time does: a disk that takes a while
// to refuse a write is tried again after the pauses a player would see.
long long tick_clock_as_time_goes()
{
    static auto last = std::chrono::steady_clock::now();
    const auto now = std::chrono::steady_clock::now();
    const long long passed = std::chrono::duration_cast<std::chrono::milliseconds>(now - last).count();
    last += std::chrono::milliseconds(passed);
    return HostileFiles::tick_clock_ms(passed);
}

// The main tick over a flood of logins of characters that each change a
// setting, as the frame runs it: while the settings writes are not
// backlogged a tick reads the next logins, else the disk has its turn; then
// the tick's part. Returns the most records that were in memory.
size_t flood(TConfig &config, const std::string &prefix, int logins, int logins_per_read,
             const std::function<void()> &disk_turn)
{
    size_t most_records = config.records().size();
    const auto deadline = std::chrono::steady_clock::now() + flood_deadline;
    for (int first = 0; first < logins && std::chrono::steady_clock::now() < deadline;) {
        if (settings_writes_backlogged()) {
            disk_turn();
        } else {
            log_in_changing(config, prefix, std::min(logins, first + logins_per_read), first);
            first += logins_per_read;
            most_records = std::max(most_records, config.records().size());
        }
        run_requested_config_save(tick_clock_as_time_goes());
    }
    return most_records;
}

// Ticks, the disk having its turn, until nothing waits for it.
bool ticks_until_nothing_waits(const TConfig &config, const std::function<void()> &disk_turn)
{
    const auto deadline = std::chrono::steady_clock::now() + flood_deadline;
    while (settings_writes_backlogged() || config.records_held_for_the_disk() > 0 ||
           settings_only_copies_waiting() > 0) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        disk_turn();
        run_requested_config_save(tick_clock_as_time_goes());
    }
    return true;
}

void disk_by_itself() {}

// How many files the lines on standard error say were not saved.
int files_said_not_saved(const std::string &said)
{
    const std::string line_start = "Varn Ossic: " + std::string(settings_not_saved) + ": ";
    const std::string more = " (and ";
    int files = 0;
    for (size_t at = said.find(line_start); at != std::string::npos; at = said.find(line_start, at + 1)) {
        const std::string line = said.substr(at, said.find('\n', at) - at);
        const size_t more_at = line.rfind(more);
        files += 1 + (more_at == std::string::npos ? 0 : std::stoi(line.substr(more_at + more.size())));
    }
    return files;
}

// Ticks until the disk answered every write of a record unloaded it was
// given.
bool ticks_until_nothing_is_on_its_way()
{
    const auto deadline = std::chrono::steady_clock::now() + flood_deadline;
    while (settings_only_copies_being_written() > 0 || settings_writes_backlogged()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        run_requested_config_save(tick_clock_as_time_goes());
    }
    return true;
}

} // namespace

// Records unloaded to make room while the disk takes nothing: their
// characters' next logins find their settings, the refusals are said as
// ones tried again, once per tick, and the next save writes the files.
TEST_F(HostileFiles, AnUnloadedRecordWhoseWriteFailedKeepsItsSettings)
{
    const int unloads = 3;
    TConfig &config = load_golden_with_record(fixture("record_config.golden"));
    log_in_changing(config, "Name", record_list_capacity);
    stderr_capture said;
    {
        lowered_limit lowered(RLIMIT_FSIZE, 100);
        log_in_changing(config, "Later", unloads);
        wait_for_background_saves();
        run_requested_config_save(tick_clock_ms(20));
        ASSERT_EQ(config.get("Name1"), nullptr);
        EXPECT_FALSE(exists(in_config_dir("Name1.cfg")));
        config.UseConfig("Name1");
        EXPECT_EQ(config.GetInputHeight(), input_height_min + 1);
        wait_for_background_saves();
        run_requested_config_save(tick_clock_ms(20));
    }
    const std::string text = said.text();
    EXPECT_EQ(text.find("Varn Ossic: " + std::string(settings_tried_again) + ": cannot write"), 0u) << text;
    EXPECT_NE(text.find("(and 2 more files)\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("not saved"), std::string::npos) << text;
    save_system_config();
    const std::string height = "<input_height>" + std::to_string(input_height_min + 2) + "</input_height>";
    EXPECT_NE(read_file(in_config_dir("Name2.cfg")).find(height), std::string::npos);
}

// The disk refuses every write while more changed characters log in than
// may wait for it: the game is still read, the characters beyond the bounds
// are not saved, and that is said of them alone. It takes writes again just as another
// flood comes: from then on none is lost, and without any save the writes
// it refused reach it, tried again by themselves.
TEST_F(HostileFiles, AFullDiskFreedJustBeforeAFloodLosesNoChangedRecord)
{
    const int refused_logins = record_list_capacity + static_cast<int>(max_only_copies) + records_waiting_for_the_disk + 300;
    const int later_logins = 1500;
    const int logins_per_read = 150;
    TConfig &config = load_golden_with_record(fixture("record_config.golden"));
    stderr_capture said;
    size_t most_records = 0;
    {
        lowered_limit full(RLIMIT_FSIZE, 100);
        most_records = flood(config, "Full", refused_logins, logins_per_read, disk_by_itself);
        EXPECT_EQ(config.GetName(), "Full" + std::to_string(refused_logins - 1));
        // Until the disk refused every write it was given: the records
        // beyond the bound are gone then.
        do
            run_requested_config_save(tick_clock_as_time_goes());
        while (settings_only_copies_being_written() > 0);
        EXPECT_FALSE(settings_writes_backlogged());
        EXPECT_LE(config.records().size(), size_t(record_list_capacity + records_waiting_for_the_disk));
    }
    const std::string refused = said.text();
    EXPECT_NE(refused.find("files of characters no longer in use are still waiting to be written"),
              std::string::npos) << refused;

    std::vector<std::pair<std::string, std::string>> held_when_freed;
    for (const auto &record : config.records())
        held_when_freed.emplace_back(config_file_path(record->name), "<input_height>" + std::to_string(record->input_height) + "</input_height>");
    stderr_capture said_later;
    most_records = std::max(most_records, flood(config, "Freed", later_logins, logins_per_read, disk_by_itself));
    ASSERT_TRUE(ticks_until_nothing_waits(config, disk_by_itself));
    EXPECT_EQ(settings_lost("Full", 0, static_cast<int>(max_only_copies) - 1), 0);
    save_system_config();
    EXPECT_EQ(settings_lost("Freed", 0, later_logins), 0);
    for (const auto &[path, height] : held_when_freed)
        EXPECT_NE(read_file(path).find(height), std::string::npos) << path;
    EXPECT_LE(most_records, static_cast<size_t>(most_records_in_memory));
    const std::string later = said_later.text();
    EXPECT_EQ(later.find("Freed"), std::string::npos) << later;
    // Those said not saved are the ones lost, and only those (the last of
    // them said by the first tick after the disk was freed).
    const int lost = settings_lost("Full", 0, refused_logins);
    EXPECT_GT(lost, 0);
    EXPECT_EQ(files_said_not_saved(refused + later), lost) << refused << later;
}

// The disk takes nothing while more changed characters log in than the
// settings of records unloaded may wait for, and the records held for the
// disk pass the count at which the game socket is not read. The main tick's
// part still returns at once; once the disk takes writes again, ticks alone
// take them up and unload the records held, until reading resumes, and every
// character's file holds its settings.
TEST_F(HostileFiles, WhileTheSettingsWritesAreBehindTheTickTakesThemUpWithoutWaiting)
{
    const int held_beyond = records_behind_the_disk_pausing_reads + 10;
    const int logins = record_list_capacity + static_cast<int>(max_only_copies) + held_beyond;
    TConfig &config = load_golden_with_record(fixture("record_config.golden"));
    stderr_capture said;
    {
        held_disk disk;
        log_in_changing(config, "Name", logins);
        EXPECT_TRUE(settings_writes_backlogged());
        std::future<void> ticked = std::async(std::launch::async, [] { run_requested_config_save(tick_clock_ms(20)); });
        const bool returned = ticked.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
        disk.let_go();
        ASSERT_TRUE(returned);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while ((settings_writes_backlogged() || config.records_held_for_the_disk() > 0) &&
               std::chrono::steady_clock::now() < deadline)
            run_requested_config_save(tick_clock_ms(20));
        EXPECT_FALSE(settings_writes_backlogged());
        EXPECT_EQ(config.records_held_for_the_disk(), 0u);
    }
    save_system_config();
    const std::string text = said.text();
    EXPECT_EQ(text.find("not saved"), std::string::npos) << text;
    for (int login = 0; login < logins; ++login) {
        const std::string height = "<input_height>" + std::to_string(input_height_min + login % 100) + "</input_height>";
        EXPECT_NE(read_file(in_config_dir("Name" + std::to_string(login) + ".cfg")).find(height), std::string::npos)
            << login;
    }
}

// A disk that refuses every write is not slow: waiting for it would leave the
// game's text unread for good. The settings it refused stay for the next save.
TEST_F(HostileFiles, ADiskThatRefusesEveryWriteDoesNotHoldTheGameBack)
{
    const int unloads = records_behind_the_disk_pausing_reads + 10;
    TConfig &config = load_golden_with_record(fixture("record_config.golden"));
    log_in_changing(config, "Name", record_list_capacity);
    stderr_capture said;
    {
        lowered_limit lowered(RLIMIT_FSIZE, 100);
        log_in_changing(config, "Later", unloads);
        wait_for_background_saves();
        run_requested_config_save(tick_clock_ms(20));
        EXPECT_EQ(settings_only_copies_waiting(), static_cast<size_t>(unloads));
        EXPECT_FALSE(settings_writes_backlogged());
    }
    save_system_config();
    EXPECT_EQ(settings_only_copies_waiting(), 0u);
    const int last_name = record_list_capacity - 1;
    const std::string height = "<input_height>" + std::to_string(input_height_min + last_name % 100) + "</input_height>";
    EXPECT_NE(read_file(in_config_dir("Name" + std::to_string(last_name) + ".cfg")).find(height), std::string::npos);
}

// A single write of a record unloaded that the disk refuses is tried again
// by itself, the pause growing while the disk keeps refusing: over half a
// minute of the main tick's clock, after 1, 2, 4, 8 and 8 seconds. Once the
// disk takes writes again, the next retry writes it, with no save and no
// login. The refusal was said once, as one tried again.
TEST_F(HostileFiles, ARefusedWriteIsTriedAgainByItselfWithGrowingPausesUntilTheDiskTakesIt)
{
    constexpr long long tick_ms = 20;
    constexpr long long refusing_ms = 30000;
    load_golden_with_record(fixture("record_config.golden"));
    // The disk took writes: the pause starts at its first.
    save_system_config();
    run_requested_config_save(tick_clock_ms(tick_ms));
    TConfig &config = *TConfig::Instance();
    log_in_changing(config, "Name", record_list_capacity);
    stderr_capture said;
    int retries = 0;
    {
        lowered_limit full(RLIMIT_FSIZE, 100);
        log_in_changing(config, "Later", 1);
        wait_for_background_saves();
        for (long long passed = 0; passed < refusing_ms; passed += tick_ms) {
            run_requested_config_save(tick_clock_ms(tick_ms));
            if (settings_only_copies_being_written() > 0) {
                ++retries;
                wait_for_background_saves();
            }
        }
        EXPECT_EQ(settings_only_copies_waiting(), 1u);
    }
    EXPECT_GE(retries, 3);
    EXPECT_LE(retries, 6);
    for (long long waited = 0; settings_only_copies_waiting() > 0 && waited <= 2 * retry_schedule::longest_pause_ms;
         waited += tick_ms) {
        run_requested_config_save(tick_clock_ms(tick_ms));
        wait_for_background_saves();
    }
    EXPECT_EQ(settings_only_copies_waiting(), 0u);
    EXPECT_EQ(settings_lost("Name", 0, 1), 0);
    const std::string text = said.text();
    EXPECT_EQ(text.find("Varn Ossic: " + std::string(settings_tried_again) + ": cannot write " + config_file_path("Name0")),
              0u) << text;
    EXPECT_EQ(text.find("Varn Ossic:"), text.rfind("Varn Ossic:")) << text;
}

// The program ends, its last save done, while the disk still refuses the
// settings of a record unloaded: they are lost, and said so.
TEST_F(HostileFiles, SettingsTheDiskStillRefusesWhenTheProgramEndsAreSaidNotSaved)
{
    TConfig &config = load_golden_with_record(fixture("record_config.golden"));
    log_in_changing(config, "Name", record_list_capacity);
    stderr_capture said;
    {
        lowered_limit full(RLIMIT_FSIZE, 100);
        log_in_changing(config, "Later", 1);
        save_system_config();
        stop_background_saves();
    }
    EXPECT_EQ(settings_only_copies_waiting(), 0u);
    const std::string text = said.text();
    EXPECT_NE(text.find("Varn Ossic: " + std::string(settings_not_saved) + ": cannot write " + config_file_path("Name0") +
                        ": the disk refused it to the end\n"),
              std::string::npos)
        << text;
}

// The disk refused the writes of records unloaded, and a read of logins
// found their places full: the writes were tried again at once, and the
// records of the read stayed in memory beyond the bound of those held until
// the outcome. The disk refused them again, and is freed before the main
// tick's retry is due: that tick tries them again before it unloads any
// record, so the records beyond the bound wait for that outcome rather than
// leave unsaved.
TEST_F(HostileFiles, RecordsHeldBeyondTheirBoundWaitForTheRetryDueOnceTheDiskIsFreed)
{
    const int held = records_waiting_for_the_disk - 24;
    const int unloads = static_cast<int>(max_only_copies) + held;
    const int read_logins = 100;
    TConfig &config = load_golden_with_record(fixture("record_config.golden"));
    log_in_changing(config, "Name", record_list_capacity);
    {
        lowered_limit full(RLIMIT_FSIZE, 100);
        log_in_changing(config, "Held", unloads);
        // The ticks see the refused writes: their pause begins.
        for (int tick = 0; tick < 2; ++tick) {
            wait_for_background_saves();
            run_requested_config_save(tick_clock_ms(20));
        }
        ASSERT_EQ(config.records_held_for_the_disk(), size_t(held));
        log_in_changing(config, "Read", read_logins);
        ASSERT_GT(config.records_held_for_the_disk(), size_t(records_waiting_for_the_disk));
        wait_for_background_saves();
    }
    run_requested_config_save(tick_clock_ms(retry_schedule::longest_pause_ms));
    ASSERT_TRUE(ticks_until_nothing_waits(config, disk_by_itself));
    save_system_config();
    EXPECT_EQ(settings_lost("Name", 0, record_list_capacity), 0);
    EXPECT_EQ(settings_lost("Held", 0, unloads), 0);
    EXPECT_EQ(settings_lost("Read", 0, read_logins), 0);
}

// The places of the records unloaded are full of writes the disk refused
// when a changed record must leave memory: they are tried again first, and
// the reading waits for their outcome. A disk that refuses them again lets
// the game go on; one that takes them makes room.
TEST_F(HostileFiles, ALoginThatFindsThePlacesFullOfRefusedWritesTriesThemAgainAndTheReadingWaits)
{
    TConfig &config = load_golden_with_record(fixture("record_config.golden"));
    log_in_changing(config, "Name", record_list_capacity);
    stderr_capture said;
    {
        lowered_limit full(RLIMIT_FSIZE, 100);
        log_in_changing(config, "Later", static_cast<int>(max_only_copies) + 1);
        finish_config_saves();
        ASSERT_FALSE(settings_writes_have_room());
        EXPECT_FALSE(settings_writes_backlogged());

        log_in_changing(config, "Again", 1);
        EXPECT_TRUE(settings_writes_backlogged());
        EXPECT_TRUE(ticks_until_nothing_is_on_its_way());
        EXPECT_FALSE(settings_writes_backlogged());
        EXPECT_FALSE(settings_writes_have_room());
    }
    log_in_changing(config, "Freed", 1);
    EXPECT_TRUE(settings_writes_backlogged());
    ASSERT_TRUE(ticks_until_nothing_waits(config, disk_by_itself));
    save_system_config();
    EXPECT_EQ(settings_lost("Name", 0, record_list_capacity), 0);
    EXPECT_EQ(settings_lost("Later", 0, static_cast<int>(max_only_copies) + 1), 0);
    EXPECT_EQ(settings_lost("Freed", 0, 1), 0);
    // The refusals were said once, when first seen, as ones tried again.
    const std::string text = said.text();
    EXPECT_EQ(text.find("Varn Ossic: " + std::string(settings_tried_again)), text.rfind("Varn Ossic:")) << text;
    EXPECT_EQ(text.find("not saved"), std::string::npos) << text;
}

// A disk that takes one batch of writes at a time, while reads as large as
// the socket gives log in changed characters: the reading waits while the
// records behind the disk, those held in memory among them, are many; none
// is lost.
TEST_F(HostileFiles, ATricklingDiskHoldsLargeReadsBackAndLosesNoChangedRecord)
{
    const int logins = record_list_capacity + 4 * static_cast<int>(max_only_copies);
    const int logins_per_read = most_logins_in_one_read - 1;
    TConfig &config = load_golden_with_record(fixture("record_config.golden"));
    stderr_capture said;
    {
        held_disk disk;
        const size_t most_records =
            flood(config, "Slow", logins, logins_per_read, [&disk] { disk.let_one_batch_through(); });
        EXPECT_GT(most_records, static_cast<size_t>(record_list_capacity));
        disk.let_go();
        ASSERT_TRUE(ticks_until_nothing_waits(config, disk_by_itself));
    }
    save_system_config();
    EXPECT_EQ(settings_lost("Slow", 0, logins), 0);
    const std::string text = said.text();
    EXPECT_EQ(text.find("not saved"), std::string::npos) << text;
}

// A write that failed is not taken for one on disk: a save of the same
// content is still written, for a record in memory and for one unloaded,
// whose place among those that may wait is given back only once its file
// is on disk.
TEST_F(HostileFiles, AFailedWriteIsNotTakenForOneOnDisk)
{
    TConfig &config = load_golden_with_record(fixture("record_config.golden"));
    config.SetInputHeight(300);
    {
        lowered_limit full(RLIMIT_FSIZE, 100);
        save_system_config();
    }
    save_system_config();
    EXPECT_NE(read_file(in_config_dir("Arden.cfg")).find("<input_height>300</input_height>"), std::string::npos);

    log_in_changing(config, "Name", record_list_capacity);
    {
        lowered_limit full(RLIMIT_FSIZE, 100);
        log_in_changing(config, "Later", 1);
        finish_config_saves();
    }
    ASSERT_EQ(config.get("Name0"), nullptr);
    const size_t refused = settings_only_copies_waiting();
    EXPECT_GE(refused, 1u);
    config.UseConfig("Name0");
    EXPECT_EQ(config.GetInputHeight(), input_height_min);
    finish_config_saves();
    EXPECT_EQ(settings_only_copies_waiting(), refused);
    // Unloaded again, unchanged since its write failed.
    log_in_changing(config, "Other", record_list_capacity);
    ASSERT_EQ(config.get("Name0"), nullptr);
    finish_config_saves();
    EXPECT_EQ(settings_lost("Name", 0, 1), 0);
    EXPECT_EQ(settings_only_copies_waiting(), refused - 1);
    EXPECT_TRUE(ticks_until_nothing_waits(config, disk_by_itself));
}

// A slow disk merges two writes of the system file, from two saves: each
// save finishes, and a later save's failure is still said.
TEST_F(HostileFiles, SavesMergedByASlowDiskEachFinishAndALaterFailureIsSaid)
{
    TConfig &config = load_golden_with_record(fixture("record_config.golden"));
    config.UseConfig("Bryn");
    save_system_config();
    {
        held_disk disk;
        config.UseConfig("Arden");
        start_system_config_save();
        config.UseConfig("Bryn");
        start_system_config_save();
        disk.let_go();
        wait_for_background_saves();
    }
    EXPECT_EQ(take_up_background_saves().size(), 2u);
    EXPECT_NE(read_file(in_config_dir("varn_ossic.cfg")).find("<curr_config>Bryn</curr_config>"), std::string::npos);

    stderr_capture said;
    config.SetInputHeight(301);
    {
        lowered_limit full(RLIMIT_FSIZE, 100);
        start_system_config_save();
        wait_for_background_saves();
    }
    finish_config_saves();
    const std::string text = said.text();
    EXPECT_EQ(text.find("Varn Ossic: settings not saved, the old files are kept: cannot write"), 0u) << text;
}

// While the settings of as many unloaded records as may wait are on their
// way to a slow disk, the record in use, the system file and the
// preference store are still saved.
TEST_F(HostileFiles, AFullListOfWaitingWritesRefusesOnlyTheSettingsOfUnloadedRecords)
{
    TConfig &config = load_golden_with_record(fixture("record_config.golden"));
    stderr_capture said;
    {
        held_disk disk;
        log_in_changing(config, "Name", record_list_capacity + static_cast<int>(max_only_copies) + 1);
        ASSERT_FALSE(settings_writes_have_room());
        config.SetInputHeight(input_height_max);
        global_last_voting_time = 12345;
        start_system_config_save();
        disk.let_go();
        ASSERT_TRUE(ticks_until_nothing_waits(config, disk_by_itself));
        finish_config_saves();
    }
    const std::string current = "Name" + std::to_string(record_list_capacity + max_only_copies);
    EXPECT_NE(read_file(config_file_path(current)).find("<input_height>" + std::to_string(input_height_max)),
              std::string::npos);
    EXPECT_NE(read_file(in_config_dir("varn_ossic.cfg")).find("<curr_config>" + current + "</curr_config>"),
              std::string::npos);
    EXPECT_NE(read_file(store_path()).find("last_voting_time=12345"), std::string::npos);
    const std::string text = said.text();
    EXPECT_EQ(text.find("not saved"), std::string::npos) << text;
}

// A record changed and saved, its write still on its way, is unloaded
// unchanged since: its settings are that write's alone. The write fails on
// a full disk: the settings are kept, its character's next login finds
// them, and they reach the disk once it takes writes again.
TEST_F(HostileFiles, AnUnloadedRecordWhoseWriteWasOnItsWayKeepsItsSettingsWhenTheWriteFails)
{
    TConfig &config = load_golden_with_record(fixture("record_config.golden"));
    config.UseConfig("Mover");
    config.SetInputHeight(333);
    {
        held_disk disk;
        start_system_config_save();
        config.UseConfig("Arden");
        for (int login = 0; login < record_list_capacity; ++login)
            config.UseConfig("Name" + std::to_string(login));
        ASSERT_EQ(config.get("Mover"), nullptr);
        lowered_limit full(RLIMIT_FSIZE, 100);
        disk.let_go();
        finish_config_saves();
    }
    EXPECT_FALSE(exists(in_config_dir("Mover.cfg")));
    EXPECT_EQ(settings_only_copies_waiting(), 1u);
    config.UseConfig("Mover");
    EXPECT_EQ(config.GetInputHeight(), 333);
    config.UseConfig("Arden");
    for (int login = 0; login < record_list_capacity; ++login)
        config.UseConfig("Again" + std::to_string(login));
    ASSERT_EQ(config.get("Mover"), nullptr);
    ASSERT_TRUE(ticks_until_nothing_waits(config, disk_by_itself));
    EXPECT_NE(read_file(in_config_dir("Mover.cfg")).find("<input_height>333</input_height>"), std::string::npos);
}

// The disk took every write of a record unloaded it was given, and the tick
// began to unload the records held in memory: while those held and those on
// their way are many, the reading still waits, however few are on their way.
TEST_F(HostileFiles, RecordsHeldInMemoryKeepTheReadingWaitingAfterTheDiskTookTheRest)
{
    const int held = records_behind_the_disk_pausing_reads + 100;
    const int logins = record_list_capacity + static_cast<int>(max_only_copies) + held;
    TConfig &config = load_golden_with_record(fixture("record_config.golden"));
    held_disk disk;
    log_in_changing(config, "Name", logins);
    ASSERT_GE(config.records_held_for_the_disk(), static_cast<size_t>(records_behind_the_disk_pausing_reads));
    disk.let_one_batch_through();
    const auto deadline = std::chrono::steady_clock::now() + flood_deadline;
    while (settings_only_copies_waiting() >= max_only_copies && std::chrono::steady_clock::now() < deadline)
        run_requested_config_save(tick_clock_as_time_goes());
    EXPECT_LT(settings_only_copies_waiting(), static_cast<size_t>(records_behind_the_disk_pausing_reads));
    EXPECT_TRUE(settings_writes_backlogged());
    disk.let_go();
    ASSERT_TRUE(ticks_until_nothing_waits(config, disk_by_itself));
    save_system_config();
    EXPECT_EQ(settings_lost("Name", 0, logins), 0);
}
