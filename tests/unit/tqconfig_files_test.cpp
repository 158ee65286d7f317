#include "config_files_fixture.h"

#include "lowered_limit.h"
#include "settings_files.h"
#include "stderr_capture.h"
#include "vusk_xml.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <sys/resource.h>
#include <unistd.h>

namespace {

void expect_same_record(const tqconfig &actual, const tqconfig &expected)
{
    for (const tqconfig_field &field : tqconfig_fields) {
        SCOPED_TRACE(field.element);
        if (field.text)
            EXPECT_EQ(actual.*field.text, expected.*field.text);
        else
            EXPECT_EQ(actual.*field.number, expected.*field.number);
    }
    ASSERT_EQ(actual.popups().size(), expected.popups().size());
    for (size_t i = 0; i < expected.popups().size(); ++i) {
        const popup_data &a = actual.popups()[i];
        const popup_data &e = expected.popups()[i];
        EXPECT_STREQ(a.name, e.name);
        EXPECT_EQ(std::vector<int>({a.x, a.y, a.width, a.height}), std::vector<int>({e.x, e.y, e.width, e.height}));
    }
}

// Reads one record file's content into the configuration.
void load_record_text(TConfig &config, std::string text)
{
    FILE *file = fmemopen(text.data(), text.size(), "rb");
    ASSERT_NE(file, nullptr);
    vusk_xml_reader reader(file);
    char tag[100];
    while (reader.read_tag(tag, sizeof tag))
        config.load_xml_single_system_config(reader);
    fclose(file);
}

std::string record_file(const std::string &elements)
{
    return "<single_config>\n    <name>Arden</name>\n" + elements + "</single_config>\n";
}

// Saves with a resource limit lowered; returns what was said on standard
// error.
std::string save_with_limit(decltype(RLIMIT_FSIZE) resource, rlim_t limit)
{
    stderr_capture said;
    {
        lowered_limit lowered(resource, limit);
        save_system_config();
    }
    return said.text();
}

class ConfigFiles : public ConfigFilesTest {
protected:
    // The golden files in the configuration directory, loaded: Arden, with
    // every setting away from its default, is current.
    TConfig &load_golden_configuration()
    {
        global_config_directory_path = config_dir();
        write_file(in_config_dir("varn_ossic.cfg"), fixture("system_config.golden"));
        write_file(in_config_dir("Arden.cfg"), fixture("record_config.golden"));
        TConfig &config = *TConfig::Instance();
        config.load_system_config_file();
        return config;
    }

    // The golden configuration, saved once as it is (the files stay golden;
    // the sanitizers' runtime also gets what it opens while descriptors are
    // free) and then changed in a setting of each file.
    void change_golden_configuration()
    {
        TConfig &config = load_golden_configuration();
        save_system_config();
        config.SetInputHeight(300);
        config.SetSystemAudio(1);
    }

    void expect_golden_files() const
    {
        EXPECT_EQ(read_file(in_config_dir("Arden.cfg")), fixture("record_config.golden"));
        EXPECT_EQ(read_file(in_config_dir("varn_ossic.cfg")), fixture("system_config.golden"));
    }
};

} // namespace

TEST_F(ConfigFiles, GoldenRecordHoldsEveryFieldAwayFromItsDefaultAndPopupsInFileOrder)
{
    // A new record takes the font size in use, which loading changes.
    const tqconfig defaults;
    const TConfig &config = load_golden_configuration();
    ASSERT_EQ(config.GetName(), "Arden");
    const tqconfig &record = *config.current_record();
    for (const tqconfig_field &field : tqconfig_fields) {
        if (field.number) {
            EXPECT_NE(record.*field.number, defaults.*field.number) << field.element;
        }
    }
    EXPECT_EQ(record.button_font, "Sans Bold 9");
    EXPECT_EQ(record.font_size, 12);
    EXPECT_EQ(record.automap_size, 21);
    EXPECT_EQ(record.current_background_theme, 90);
    ASSERT_EQ(record.popups().size(), 3u);
    EXPECT_STREQ(record.popups()[0].name, "Who & <Where>");
    EXPECT_STREQ(record.popups()[1].name, "map");
    EXPECT_EQ(record.popups()[1].x, -5);
    EXPECT_EQ(record.popups()[2].height, 1);
}

TEST_F(ConfigFiles, SavedFilesMatchTheGoldenFilesByteForByte)
{
    load_golden_configuration();
    std::filesystem::remove_all(config_dir());
    std::filesystem::create_directories(config_dir());
    save_system_config();
    expect_golden_files();
    EXPECT_EQ(read_file(in_config_dir("varn_ossic.cfg")).substr(0, 45), std::string(xml_declaration) + "\n\n");
}

// Every setting changed through its own setter, away from its default, is
// saved exactly as the golden files hold it: each setter stores into its own
// field, under its own element, in the files' order.
TEST_F(ConfigFiles, EverySettingChangedThroughItsSetterSavesTheGoldenFiles)
{
    global_config_directory_path = config_dir();
    std::filesystem::create_directories(config_dir());
    TConfig &config = *TConfig::Instance();
    config.load_system_config_file();
    config.UseConfig("Arden");
    tqconfig &record = *config.current_record();
    // The fonts come from the font dialog and the two older flags have no
    // setter: they are stored as the record holds them.
    record.font = "DejaVu Sans Mono 12";
    record.font_size = 12;
    record.button_font = "Sans Bold 9";
    record.button_font_size = 9;
    record.hp_display = 1;
    record.enemy_hp_display = 0;
    config.SetKeypadWalking(0);
    config.SetUrlHotlinking(0);
    config.SetCompactMode(1);
    config.SetLocalEcho(0);
    config.SetCommandSeparator(0);
    config.SetCommandPushthrough(1);
    config.SetHintButton(0);
    config.SetDirectionButton(1);
    config.SetFkeyButton(1);
    config.SetButtonTooltips(1);
    config.SetStatusBar(0);
    config.SetSkyBar(0);
    config.SetExpDisplay(0);
    config.SetHpbarEnable(0);
    config.SetEnemyHpbarEnable(0);
    config.SetGroupStatus(2);
    config.SetPopupDisplay(0);
    config.SetLockingScrollback(1);
    config.SetMwScrollbar(0);
    config.SetLayout(1);
    config.SetButtonTheme(40);
    config.SetBackgroundColor(90);
    config.SetFontColors(3);
    config.SetBackgroundStyle(4);
    config.SetAutomapDocked(0);
    config.SetAutomapEnable(0);
    config.SetAutomapSize(21);
    config.SetInputHeight(96);
    config.SetChannelWindow(1);
    config.SetChannelHeight(40);
    config.SetChannelDupe(0);
    config.SetColorFlash(0);
    config.SetSystemAudio(0);
    // Saved in reverse: each new popup goes first.
    config.SavePopupData(popup_data{"chat", 1000, 2000, 80, 24, 1, 1});
    config.SavePopupData(popup_data{"map", -5, 0, 80, 24, 640, 480});
    config.SavePopupData(popup_data{"Who & <Where>", 10, 20, 80, 24, 300, 200});

    const tqconfig defaults;
    for (const tqconfig_field &field : tqconfig_fields) {
        if (field.number) {
            EXPECT_NE(record.*field.number, defaults.*field.number) << field.element;
        }
    }
    save_system_config();
    expect_golden_files();
}

TEST_F(ConfigFiles, RoundTripThroughAFreshConfiguration)
{
    TConfig &config = load_golden_configuration();
    config.UseConfig("Bryn");
    config.SetInputHeight(500);
    config.UseConfig("Arden");
    EXPECT_STREQ(config.get("Bryn")->popups().at(0).name, "Who & <Where>");
    save_system_config();

    TConfig fresh;
    loaded_config_name = no_config_name;
    fresh.load_system_config_file();
    EXPECT_EQ(loaded_config_name, "Arden");
    EXPECT_EQ(fresh.GetSystemAudio(), 0);
    expect_same_record(*fresh.current_record(), *config.get("Arden"));
    fresh.UseConfig("Bryn");
    EXPECT_EQ(fresh.GetInputHeight(), 500);
    expect_same_record(*fresh.current_record(), *config.get("Bryn"));
}

// The largest files a save writes: the record of the longest name, with
// every byte of its name and popup names written as the longest entity,
// font descriptions longer than a record holds, more popups than it
// remembers and numbers of the longest text; and the system file naming it.
// Each is within the size a settings file is read at, and a fresh
// configuration reads them back whole.
TEST_F(ConfigFiles, TheLargestRecordAndSystemFilesAreReadBackWhole)
{
    const std::string longest_number = "-2147483648";
    const auto entities = [](size_t count) {
        std::string text;
        for (size_t byte = 0; byte < count; ++byte)
            text += "&amp;";
        return text;
    };
    const std::string name(config_name_max_length, '&');
    std::string elements;
    for (const tqconfig_field &field : tqconfig_fields) {
        const std::string element = field.element;
        if (field.text == &tqconfig::name)
            continue;
        const std::string value = field.text ? entities(record_text_max_length + 1000) : longest_number;
        elements += "    <" + element + ">" + value + "</" + element + ">\n";
    }
    elements += "    <popup_window_list>\n";
    for (int popup = 0; popup < popup_list_capacity + 5; ++popup) {
        const std::string number = std::to_string(popup);
        elements += "        <single_popup_window>\n            <name>" + number +
                    entities(popup_name_capacity - 1 - number.size()) + "</name>\n";
        for (const char *element : {"x", "y", "width", "height"})
            elements += "            <" + std::string(element) + ">" + longest_number + "</" + element + ">\n";
        elements += "        </single_popup_window>\n";
    }
    elements += "    </popup_window_list>\n";
    global_config_directory_path = config_dir();
    write_file(config_file_path(name), "<single_config>\n    <name>" + entities(name.size()) + "</name>\n" + elements +
                                           "</single_config>\n");
    TConfig &config = *TConfig::Instance();
    config.UseConfig(name);
    ASSERT_EQ(config.GetName(), name);
    EXPECT_EQ(config.GetFontName(), std::string(record_text_max_length, '&'));
    EXPECT_EQ(config.current_record()->popups().size(), size_t(popup_list_capacity));
    save_system_config();

    for (const std::string &path : {config_file_path(name), in_config_dir("varn_ossic.cfg")})
        EXPECT_LE(read_file(path).size(), settings_file_size_limit) << path;
    TConfig fresh;
    loaded_config_name = no_config_name;
    fresh.load_system_config_file();
    EXPECT_EQ(loaded_config_name, name);
    ASSERT_NE(fresh.current_record(), nullptr);
    expect_same_record(*fresh.current_record(), *config.get(name));
}

TEST_F(ConfigFiles, OlderElementsOfEarlierVersions)
{
    TConfig config;
    load_record_text(config, record_file("<use_new_layout>0</use_new_layout><gmud_color_display>1"
                                         "</gmud_color_display>"));
    EXPECT_EQ(config.get("Arden")->current_layout, 0);
    EXPECT_EQ(config.get("Arden")->font_colors_setting, 3);
    load_record_text(config, record_file("<font_colors_setting>2</font_colors_setting><use_new_layout>5"
                                         "</use_new_layout><bright_color_display>0</bright_color_display>"
                                         "<zmud_color_display>x</zmud_color_display>"));
    EXPECT_EQ(config.get("Arden")->current_layout, 1);
    EXPECT_EQ(config.get("Arden")->font_colors_setting, 2);
}

TEST_F(ConfigFiles, DamagedContentKeepsDefaultsAndReadsOn)
{
    TConfig config;
    load_record_text(config, record_file(
        "<font_size>x1</font_size><future><deeper><x>1</x></deeper>text</future>"
        "<popup_window_list><odd>1</odd><single_popup_window><name>a</name><x>q</x><z><y>7</y></z><y>9</y>"
        "</single_popup_window></popup_window_list><input_height>99999999999999999999</input_height>"
        "<automap_size>15</automap_size>"));
    const tqconfig &record = *config.get("Arden");
    EXPECT_EQ(record.font_size, 10);
    EXPECT_EQ(record.input_height, 48);
    EXPECT_EQ(record.automap_size, 15);
    ASSERT_EQ(record.popups().size(), 1u);
    EXPECT_EQ(record.popups()[0].x, 0);
    EXPECT_EQ(record.popups()[0].y, 9);
}

TEST_F(ConfigFiles, CutAndDeeplyNestedFilesEndTheReading)
{
    TConfig config;
    load_record_text(config, "<single_config><font_size>12</font_size><inp");
    ASSERT_EQ(config.records().size(), 1u);
    EXPECT_EQ(config.records()[0]->font_size, 12);

    std::string deep = "<single_config><font_size>13</font_size>";
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    TConfig nested;
    load_record_text(nested, deep + "1");
    ASSERT_EQ(nested.records().size(), 1u);
    EXPECT_EQ(nested.records()[0]->font_size, 13);
}

TEST_F(ConfigFiles, MutatedRecordFilesLoadOnlySaneRecords)
{
    const std::string golden = fixture("record_config.golden");
    std::mt19937 random(12345);
    for (int round = 0; round < 500; ++round) {
        std::string text = golden.substr(0, random() % (golden.size() + 1));
        for (int flips = random() % 8; flips > 0 && !text.empty(); --flips)
            text[random() % text.size()] = static_cast<char>(random() % 256);
        TConfig config;
        load_record_text(config, text);
        for (const auto &record : config.records()) {
            for (const tqconfig_field &field : tqconfig_fields) {
                if (field.number) {
                    ASSERT_EQ(sane_value(field, record.get()->*field.number), record.get()->*field.number)
                        << field.element << " in round " << round;
                }
            }
        }
    }
}

TEST_F(ConfigFiles, FullDiskKeepsEveryOldFileAndSaysSoOnce)
{
    change_golden_configuration();
    // Room for no file at all, then for the system file only.
    for (rlim_t limit : {rlim_t(100), rlim_t(1000)}) {
        SCOPED_TRACE(limit);
        const std::string said = save_with_limit(RLIMIT_FSIZE, limit);
        EXPECT_EQ(read_file(in_config_dir("Arden.cfg")), fixture("record_config.golden"));
        EXPECT_EQ(read_file(in_config_dir("varn_ossic.cfg")) == fixture("system_config.golden"), limit == 100);
        EXPECT_NE(said.find("Varn Ossic: settings not saved, the old files are kept: cannot write"),
                  std::string::npos)
            << said;
        EXPECT_EQ(said.find("Varn Ossic:"), said.rfind("Varn Ossic:")) << said;
        EXPECT_EQ(files_in(config_dir()), 2);
    }
}

TEST_F(ConfigFiles, NoFileToCreateKeepsEveryOldFile)
{
    change_golden_configuration();
    // No descriptor is left beyond the standard three.
    const std::string said = save_with_limit(RLIMIT_NOFILE, 3);
    expect_golden_files();
    EXPECT_NE(said.find("Varn Ossic: settings not saved, the old files are kept: cannot create a temporary file"),
              std::string::npos)
        << said;
}
