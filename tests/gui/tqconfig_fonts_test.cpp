#include "global_fonts.h"
#include "text_bytes.h"
#include "tqconfig.h"
#include "vusk_font.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The shared fonts as start-up makes them, and a configuration whose
// current record is the given one.
class SharedFonts : public ::testing::Test {
protected:
    SharedFonts()
        : text_font(default_font_size, wxFONTFAMILY_MODERN, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL),
          small_font(default_button_font_size, wxFONTFAMILY_TELETYPE, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL),
          large_font(default_button_font_size + large_button_font_step, wxFONTFAMILY_TELETYPE, wxFONTSTYLE_NORMAL,
                     wxFONTWEIGHT_NORMAL)
    {
        global_font_size = default_font_size;
        global_font = &text_font;
        global_button_small_font = &small_font;
        global_button_large_font = &large_font;
    }

    ~SharedFonts() override
    {
        global_font = nullptr;
        global_button_small_font = nullptr;
        global_button_large_font = nullptr;
    }

    void use_record(const tqconfig &record)
    {
        config.add(record);
        config.select(record.name);
    }

    vusk_font text_font;
    vusk_font small_font;
    vusk_font large_font;
    TConfig config;
};

std::string face_of(const wxFont &font)
{
    return wx_to_bytes(font.GetFaceName());
}

} // namespace

TEST_F(SharedFonts, ANewRecordTakesTheLiveFonts)
{
    text_font.SetPointSize(12);
    global_font_size = 12;
    const tqconfig record;
    EXPECT_EQ(record.font, wx_to_bytes(text_font.GetNativeFontInfoDesc()));
    EXPECT_FALSE(record.font.empty());
    EXPECT_EQ(record.font_size, 12);
    EXPECT_EQ(record.button_font, wx_to_bytes(small_font.GetNativeFontInfoDesc()));
    EXPECT_EQ(record.button_font_size, default_button_font_size);
}

TEST_F(SharedFonts, ApplyFontRebuildsAllThreeFromTheRecord)
{
    tqconfig record;
    record.font = "DejaVu Serif Bold 30";
    record.font_size = 14;
    record.button_font = "DejaVu Sans Italic 20";
    record.button_font_size = 9;
    use_record(record);

    config.apply_font();
    EXPECT_EQ(global_font_size, 14);
    EXPECT_EQ(text_font.GetPointSize(), 14);
    EXPECT_EQ(face_of(text_font), "DejaVu Serif");
    EXPECT_EQ(text_font.GetWeight(), wxFONTWEIGHT_BOLD);
    EXPECT_EQ(small_font.GetPointSize(), 9);
    EXPECT_EQ(large_font.GetPointSize(), 11);
    EXPECT_EQ(face_of(small_font), "DejaVu Sans");
    EXPECT_EQ(face_of(large_font), "DejaVu Sans");
    EXPECT_EQ(large_font.GetStyle(), wxFONTSTYLE_ITALIC);

    int width = 0;
    int height = 0;
    large_font.GetTextSize("M", &width, &height);
    int small_width = 0;
    small_font.GetTextSize("M", &small_width, &height);
    EXPECT_GT(width, small_width);
}

// Two characters whose records differ in the text font: going back and forth
// draws each font's glyphs once.
TEST_F(SharedFonts, RecordsTakenInTurnBuildEachTextFontOnce)
{
    tqconfig serif;
    serif.name = "Serif";
    serif.font = "DejaVu Serif 30";
    serif.font_size = 14;
    tqconfig sans = serif;
    sans.name = "Sans";
    sans.font = "DejaVu Sans 30";
    use_record(serif);
    use_record(sans);
    const int builds = text_font.glyph_builds();
    for (int i = 0; i < 3; ++i) {
        config.select("Serif");
        config.apply_font();
        config.select("Sans");
        config.apply_font();
    }
    EXPECT_EQ(text_font.glyph_builds(), builds + 2);
    EXPECT_EQ(face_of(text_font), "DejaVu Sans");
    EXPECT_EQ(text_font.GetPointSize(), 14);
}

TEST_F(SharedFonts, ADescriptionTheToolkitRefusesChangesOnlyTheSizes)
{
    const std::string face_before = face_of(text_font);
    const std::string button_face_before = face_of(small_font);
    tqconfig record;
    record.font = "";
    record.font_size = 16;
    record.button_font = "";
    record.button_font_size = 8;
    use_record(record);

    config.apply_font();
    EXPECT_EQ(global_font_size, 16);
    EXPECT_EQ(text_font.GetPointSize(), 16);
    EXPECT_EQ(face_of(text_font), face_before);
    EXPECT_EQ(small_font.GetPointSize(), 8);
    EXPECT_EQ(large_font.GetPointSize(), 10);
    EXPECT_EQ(face_of(small_font), button_face_before);
}

TEST_F(SharedFonts, WithoutARecordNothingChanges)
{
    config.apply_font();
    EXPECT_EQ(global_font_size, default_font_size);
    EXPECT_EQ(text_font.GetPointSize(), default_font_size);
    EXPECT_EQ(small_font.GetPointSize(), default_button_font_size);
}

TEST_F(SharedFonts, AChosenFontSurvivesTheRecord)
{
    use_record(tqconfig());
    wxFont chosen(wxFontInfo(13).FaceName(wxS("DejaVu Sans Mono")).Bold());
    wxFont chosen_buttons(wxFontInfo(9).FaceName(wxS("DejaVu Serif")));
    config.SetFont(chosen);
    config.SetButtonFont(chosen_buttons);
    EXPECT_EQ(config.GetFontSize(), 13);
    EXPECT_EQ(config.GetButtonFontSize(), 9);

    config.apply_font();
    EXPECT_EQ(face_of(text_font), "DejaVu Sans Mono");
    EXPECT_EQ(text_font.GetPointSize(), 13);
    EXPECT_EQ(text_font.GetWeight(), wxFONTWEIGHT_BOLD);
    EXPECT_EQ(face_of(small_font), "DejaVu Serif");
    EXPECT_EQ(large_font.GetPointSize(), 11);
}
