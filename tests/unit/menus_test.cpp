// Which menu item shows which setting, and the size steps of the menus.
#include "menu_ids.h"
#include "menus.h"
#include "tqconfig.h"

#include <gtest/gtest.h>

namespace {

TEST(MenuItems, CheckItemsFollowTheValueAndRadioGroupsShowWhatIsUsed)
{
    EXPECT_EQ(menu_item_for(menu_setting::audio_enable, 2).id, id_menu_view_audio_enable);
    EXPECT_TRUE(menu_item_for(menu_setting::audio_enable, 2).checked);
    EXPECT_FALSE(menu_item_for(menu_setting::hint_buttons, 0).checked);
    EXPECT_EQ(menu_item_for(menu_setting::automap_docked, 1).id, id_menu_view_automap_docked);

    EXPECT_EQ(menu_item_for(menu_setting::button_theme, 40).id, id_menu_theme_buttons_brown);
    EXPECT_EQ(menu_item_for(menu_setting::background_color, 70).id, id_menu_theme_background_cyan);
    // Codes outside the tables draw in blue, unknown styles as the second
    // maze, unknown layouts embedded: their items are the ones checked.
    for (int code : {3, -1, 41, 2147483647}) {
        EXPECT_EQ(menu_item_for(menu_setting::button_theme, code).id, id_menu_theme_buttons_blue) << code;
        EXPECT_EQ(menu_item_for(menu_setting::background_color, code).id, id_menu_theme_background_blue) << code;
    }
    EXPECT_EQ(menu_item_for(menu_setting::background_style, 7).id, id_menu_theme_bg_maze2);
    EXPECT_EQ(menu_item_for(menu_setting::layout, 9).id, id_menu_view_layout_embedded);
    EXPECT_TRUE(menu_item_for(menu_setting::layout, 9).checked);
}

TEST(MenuItems, IdsLeadBackToTheirSettings)
{
    menu_setting setting;
    int value = 0;
    ASSERT_TRUE(menu_radio_for(id_menu_view_group_status_horizontal, &setting, &value));
    EXPECT_EQ(setting, menu_setting::group_status);
    EXPECT_EQ(value, 2);
    ASSERT_TRUE(menu_radio_for(id_menu_theme_bg_bubbles, &setting, &value));
    EXPECT_EQ(value, 4);
    EXPECT_FALSE(menu_radio_for(id_menu_view_local_echo, &setting, &value));
    ASSERT_TRUE(menu_toggle_for(id_menu_view_local_echo, &setting));
    EXPECT_EQ(setting, menu_setting::local_echo);
    EXPECT_FALSE(menu_toggle_for(id_menu_file_quit, &setting));
    // A stored 2 is on: toggling turns it off rather than to 3.
    EXPECT_EQ(toggled(2), 0);
    EXPECT_EQ(toggled(0), 1);
}

TEST(MenuSizes, StepsStayWithinWhatTheFilesAccept)
{
    EXPECT_EQ(smaller_channel_height(14), 10);
    EXPECT_EQ(smaller_channel_height(12), 10);
    EXPECT_EQ(smaller_channel_height(30), 25);
    EXPECT_EQ(bigger_channel_height(78), 80);
    EXPECT_EQ(smaller_input_height(30), 24);
    EXPECT_EQ(smaller_input_height(24), 24);
    EXPECT_EQ(bigger_input_height(48), 60);
    EXPECT_EQ(bigger_input_height(795), input_height_max);
}

TEST(MenuPages, SitePagesAndHelpServicePages)
{
    std::string url;
    std::string message;
    ASSERT_TRUE(web_page_for(id_menu_help_web_forum, &url, &message));
    EXPECT_EQ(url, "http://localhost/forum");
    EXPECT_EQ(message, "\nOpening the Varn Ossic Player Forums in your browser...");
    ASSERT_TRUE(web_page_for(id_menu_help_web_faq, &url, &message));
    EXPECT_EQ(url, "http://localhost:8080/faq");
    EXPECT_FALSE(web_page_for(id_menu_file_quit, &url, &message));
    EXPECT_FALSE(web_page_for(0, &url, &message));
}

} // namespace
