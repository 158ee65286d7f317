#include "util.h"
#include "vusk_xml.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

// A temporary file that holds the given bytes, open for reading from the
// start, or empty and open for writing.
class scratch_file {
public:
    explicit scratch_file(const std::string &content = std::string()) : file(tmpfile())
    {
        fwrite(content.data(), 1, content.size(), file);
        rewind(file);
    }
    ~scratch_file() { fclose(file); }
    scratch_file(const scratch_file &) = delete;
    scratch_file &operator=(const scratch_file &) = delete;

    std::string written()
    {
        fflush(file);
        rewind(file);
        std::string text;
        for (int c = getc(file); c != EOF; c = getc(file))
            text.push_back(static_cast<char>(c));
        return text;
    }

    FILE *const file;
};

template <class Write>
std::string written_by(Write write)
{
    scratch_file out;
    vusk_xml_writer writer(out.file);
    write(writer);
    return out.written();
}

// Reads elements the way the configuration readers do: "list" is a parent
// to descend into, "n" an integer leaf, "t" a text leaf; anything else is
// skipped whole. Returns what it read, in order.
void read_list(vusk_xml_reader &reader, std::vector<std::string> &seen)
{
    char name[10000];
    while (reader.read_tag(name, sizeof name)) {
        if (wordcmp(name, "list")) {
            read_list(reader, seen);
        } else if (wordcmp(name, "n")) {
            int value = -1;
            int is_number = reader.read_data(&value);
            seen.push_back(is_number ? "n=" + std::to_string(value) : "n?");
        } else if (wordcmp(name, "t")) {
            char text[100];
            reader.read_data(text, sizeof text);
            seen.push_back(std::string("t=") + text);
        } else {
            reader.skip_data();
        }
    }
}

std::vector<std::string> read_document(const std::string &document)
{
    scratch_file in(document);
    vusk_xml_reader reader(in.file);
    std::vector<std::string> seen;
    read_list(reader, seen);
    return seen;
}

std::string repeated(const std::string &text, int times)
{
    std::string result;
    for (int i = 0; i < times; ++i)
        result += text;
    return result;
}

const std::string sample_document = "<list>\n"
                                    "    <n>12</n>\n"
                                    "    <t>a &lt;b&gt; &amp; c</t>\n"
                                    "    <list>\n"
                                    "        <n>-7</n>\n"
                                    "    </list>\n"
                                    "    <t>last</t>\n"
                                    "</list>\n";

} // namespace

TEST(XmlWriter, ParentWithLeavesLineByLine)
{
    std::string text = written_by([](vusk_xml_writer &writer) {
        writer.start_tag("system_config_list", 1);
        writer.write_single_field("curr_config", "Arden");
        writer.write_single_field("system_audio_enable", 1);
        writer.end_tag(1);
        writer.print_blank_line();
    });
    EXPECT_EQ(text, "<system_config_list>\n"
                    "    <curr_config>Arden</curr_config>\n"
                    "    <system_audio_enable>1</system_audio_enable>\n"
                    "</system_config_list>\n"
                    "\n");
}

TEST(XmlWriter, DeeperLevelsIndentByFourBlanksEach)
{
    std::string text = written_by([](vusk_xml_writer &writer) {
        writer.start_tag("single_config", 1);
        writer.write_single_field("font_size", -12);
        writer.start_tag("popup_window_list", 1);
        writer.start_tag("single_popup_window", 1);
        writer.write_single_field("name", "who");
        writer.write_single_field("x", INT_MIN);
        EXPECT_EQ(writer.depth(), 3);
        writer.end_tag(1);
        writer.end_tag(1);
        writer.end_tag(1);
    });
    EXPECT_EQ(text, "<single_config>\n"
                    "    <font_size>-12</font_size>\n"
                    "    <popup_window_list>\n"
                    "        <single_popup_window>\n"
                    "            <name>who</name>\n"
                    "            <x>-2147483648</x>\n"
                    "        </single_popup_window>\n"
                    "    </popup_window_list>\n"
                    "</single_config>\n");
}

TEST(XmlWriter, EscapesTheThreeCharactersInNamesAndText)
{
    std::string text = written_by([](vusk_xml_writer &writer) {
        writer.write_single_field("a<b>", "x<y>&z \"q\" '\xe9'");
        writer.start_tag("s", 0);
        writer.write_string("&amp;");
        writer.end_tag(0);
    });
    EXPECT_EQ(text, "<a&lt;b&gt;>x&lt;y&gt;&amp;z \"q\" '\xe9'</a&lt;b&gt;>\n"
                    "<s>&amp;amp;</s>\n");
}

TEST(XmlWriter, EndTagWithNothingOpen)
{
    std::string text = written_by([](vusk_xml_writer &writer) {
        writer.end_tag(1);
        writer.end_tag(0);
        writer.start_tag("after", 1);
        writer.end_tag(1);
    });
    EXPECT_EQ(text, "</_BOGUS_ENDING_TAG_>\n</_BOGUS_ENDING_TAG_>\n<after>\n</after>\n");
}

TEST(XmlWriter, TextValues)
{
    std::string text = written_by([](vusk_xml_writer &writer) {
        writer.write_single_field("wide", wxString::FromUTF8("caf\xc3\xa9 \xe2\x82\xac 5"));
        writer.write_single_field("empty", wxString());
        writer.write_single_field("bytes", "\x80\xff");
        writer.write_single_field("missing", static_cast<const char *>(nullptr));
        writer.write_single_field(nullptr, 5);
        writer.write_single_field(nullptr, "x");
        writer.start_tag(nullptr, 1);
        writer.write_string(nullptr);
        writer.write_string("");
    });
    EXPECT_EQ(text, "<wide>caf\xe9 ? 5</wide>\n"
                    "<empty></empty>\n"
                    "<bytes>\x80\xff</bytes>\n"
                    "<missing>_UNCONVERTABLE_WXWRITABLECHARBUFFER_NULL_STRING_</missing>\n");
}

TEST(XmlWriter, WithoutAFileNothingHappens)
{
    vusk_xml_writer writer(nullptr);
    writer.start_tag("a", 1);
    writer.write_single_field("b", 1);
    writer.write_single_field("c", wxS("text"));
    writer.print_indent();
    writer.print_blank_line();
    writer.end_tag(1);
    EXPECT_EQ(writer.depth(), 0);
}

TEST(XmlReader, ReadsBackWhatTheWriterWrote)
{
    const std::string tricky = "a <b> & c &quot; &#65; & \x80\xff";
    scratch_file file;
    vusk_xml_writer writer(file.file);
    writer.start_tag("list", 1);
    writer.write_single_field("t", tricky.c_str());
    writer.write_single_field("n", INT_MIN);
    writer.end_tag(1);
    std::string document = file.written();

    EXPECT_EQ(read_document(document), (std::vector<std::string>{"t=" + tricky, "n=" + std::to_string(INT_MIN)}));
}

TEST(XmlReader, CallerLoopOverNestedElements)
{
    EXPECT_EQ(read_document(sample_document), (std::vector<std::string>{"n=12", "t=a <b> & c", "n=-7", "t=last"}));
}

TEST(XmlReader, IntegerText)
{
    EXPECT_EQ(read_document("<n>12</n><n>x1</n><n>+5</n><n>-7abc</n><n>99999999999</n><n></n><n> 3</n><t>after</t>"),
              (std::vector<std::string>{"n=12", "n?", "n=5", "n=-7", "n=" + std::to_string(INT_MAX), "n?", "n?",
                                        "t=after"}));

    scratch_file in("<n>x1</n><n>4</n>");
    vusk_xml_reader reader(in.file);
    char name[16];
    int value = 77;
    ASSERT_EQ(reader.read_tag(name, sizeof name), 1);
    EXPECT_EQ(reader.read_data(&value), 0);
    EXPECT_EQ(value, 77);
    EXPECT_EQ(reader.depth(), 0);
    EXPECT_EQ(reader.read_data(static_cast<int *>(nullptr)), 0);
    ASSERT_EQ(reader.read_tag(name, sizeof name), 1);
    EXPECT_EQ(reader.read_data(&value), 1);
    EXPECT_EQ(value, 4);
}

TEST(XmlReader, SkipDataLeavesTheStackAsBefore)
{
    scratch_file in("<outer><skipped>text<inner>deep<x>1</x></inner>more</skipped><n>5</n></outer>");
    vusk_xml_reader reader(in.file);
    char name[100];
    ASSERT_EQ(reader.read_tag(name, sizeof name), 1);
    ASSERT_EQ(reader.read_tag(name, sizeof name), 1);
    EXPECT_STREQ(name, "skipped");
    EXPECT_EQ(reader.depth(), 2);
    reader.skip_data();
    EXPECT_EQ(reader.depth(), 1);
    ASSERT_EQ(reader.read_tag(name, sizeof name), 1);
    EXPECT_STREQ(name, "n");
    int value = 0;
    EXPECT_EQ(reader.read_data(&value), 1);
    EXPECT_EQ(value, 5);
    EXPECT_EQ(reader.read_tag(name, sizeof name), 0);
    EXPECT_EQ(reader.depth(), 0);
    EXPECT_EQ(reader.read_tag(name, sizeof name), 0);
}

TEST(XmlReader, UnknownAndOlderElementsAreSkippedWhole)
{
    std::string document = "<list>"
                           "<use_new_layout>1</use_new_layout>"
                           "<unknown><n>99</n><list><t>hidden</t></list></unknown>"
                           "<n>3</n>"
                           "<other/>"
                           "</list>";
    EXPECT_EQ(read_document(document), (std::vector<std::string>{"n=3"}));
}

TEST(XmlReader, EveryCutOfADocumentEndsTheReading)
{
    for (size_t length = 0; length <= sample_document.size(); ++length) {
        SCOPED_TRACE(length);
        std::vector<std::string> seen = read_document(sample_document.substr(0, length));
        EXPECT_LE(seen.size(), 4u);
    }
    EXPECT_EQ(read_document("<list><n>12</n><t>par"), (std::vector<std::string>{"n=12", "t=par"}));
    EXPECT_EQ(read_document("<list><n>12</n><sky_b"), (std::vector<std::string>{"n=12"}));
}

TEST(XmlReader, GivesUpOnAFileNestedTooDeep)
{
    const int depth = 100000;
    std::string document = repeated("<list>", depth) + "<n>1</n>" + repeated("</list>", depth);
    EXPECT_TRUE(read_document(document).empty());

    scratch_file in(repeated("<unknown>", depth) + "<n>1</n>");
    vusk_xml_reader reader(in.file);
    char name[100];
    ASSERT_EQ(reader.read_tag(name, sizeof name), 1);
    reader.skip_data();
    EXPECT_LE(reader.depth(), xml_max_depth);
    EXPECT_EQ(reader.read_tag(name, sizeof name), 0);
    EXPECT_EQ(reader.skip_chunk(), 0);
}

TEST(XmlReader, NestingUpToTheLimitIsRead)
{
    std::string document =
        repeated("<list>", xml_max_depth - 1) + "<n>8</n>" + repeated("</list>", xml_max_depth - 1) + "<n>9</n>";
    EXPECT_EQ(read_document(document), (std::vector<std::string>{"n=8", "n=9"}));
}

TEST(XmlReader, LongTextIsCutAndTheRestDropped)
{
    scratch_file in("<t>0123456789abcdef</t><n>2</n>");
    vusk_xml_reader reader(in.file);
    char text[8];
    ASSERT_EQ(reader.read_tag(text, sizeof text), 1);
    EXPECT_EQ(reader.read_data(text, sizeof text), 1);
    EXPECT_STREQ(text, "0123456");
    ASSERT_EQ(reader.read_tag(text, sizeof text), 1);
    EXPECT_STREQ(text, "n");
}

TEST(XmlReader, BadBuffersReadNothing)
{
    scratch_file in("<t>text</t>");
    vusk_xml_reader reader(in.file);
    char text[8];
    EXPECT_EQ(reader.read_tag(nullptr, 8), 0);
    EXPECT_EQ(reader.read_tag(text, 0), 0);
    EXPECT_EQ(reader.read_block(nullptr, 8), 0);
    ASSERT_EQ(reader.read_tag(text, sizeof text), 1);
    EXPECT_EQ(reader.read_data(nullptr, 8), 0);
    EXPECT_EQ(reader.read_data(text, -1), 0);
    EXPECT_EQ(reader.read_data(text, sizeof text), 1);
    EXPECT_STREQ(text, "text");
}

// Like read_list, with two kinds of parent ("list" and "group") and each
// value prefixed by the number of parents it was read in.
void read_nested(vusk_xml_reader &reader, int level, std::vector<std::string> &seen)
{
    char name[100];
    while (reader.read_tag(name, sizeof name)) {
        int value = -1;
        if (wordcmp(name, "list") || wordcmp(name, "group"))
            read_nested(reader, level + 1, seen);
        else if (wordcmp(name, "n") && reader.read_data(&value))
            seen.push_back(std::to_string(level) + ":n=" + std::to_string(value));
        else
            reader.skip_data();
    }
}

std::vector<std::string> read_nested_document(const std::string &document)
{
    scratch_file in(document);
    vusk_xml_reader reader(in.file);
    std::vector<std::string> seen;
    read_nested(reader, 0, seen);
    EXPECT_EQ(reader.depth(), 0) << document;
    return seen;
}

TEST(XmlReader, EndTagsCloseTheElementTheyName)
{
    // A stray end tag is skipped, inside an element and at the top.
    EXPECT_EQ(read_nested_document("</a></b><list><n>1</n></stray><n>2</n></LIST><n>3</n>"),
              (std::vector<std::string>{"1:n=1", "1:n=2", "0:n=3"}));
    // An end tag of an outer element closes the elements inside it too,
    // while reading and while skipping.
    EXPECT_EQ(read_nested_document("<list><group><n>1</n></list><n>2</n>"),
              (std::vector<std::string>{"2:n=1", "0:n=2"}));
    EXPECT_EQ(read_nested_document("<list><group><unknown><x>1</list><n>2</n>"),
              (std::vector<std::string>{"0:n=2"}));
    EXPECT_EQ(read_nested_document("<list><unknown><x>1</x></stray></unknown><n>2</n></list>"),
              (std::vector<std::string>{"1:n=2"}));
}

TEST(XmlReader, EmptyElementFormIsAStartTag)
{
    scratch_file in("<c/><n>1</n>");
    vusk_xml_reader reader(in.file);
    char name[16];
    reader.pop_stack_entry();
    EXPECT_EQ(reader.depth(), 0);
    reader.skip_data();
    EXPECT_EQ(reader.read_tag(name, sizeof name), 1);
    EXPECT_STREQ(name, "c/");
}

TEST(XmlReader, RandomAndMutatedInputEndsWithinTheLimit)
{
    std::mt19937 random(20240611);
    const std::string alphabet = "<>/&;ltgampn list t x\n\x80";
    for (int round = 0; round < 2000; ++round) {
        std::string document = sample_document;
        if (round % 2) {
            document.clear();
            for (int i = 0; i < 300; ++i)
                document.push_back(alphabet[random() % alphabet.size()]);
        } else {
            for (int edit = 0; edit < 8; ++edit)
                document[random() % document.size()] = alphabet[random() % alphabet.size()];
        }
        SCOPED_TRACE(document);
        scratch_file in(document);
        vusk_xml_reader reader(in.file);
        std::vector<std::string> seen;
        read_list(reader, seen);
        EXPECT_LE(reader.depth(), xml_max_depth);
        EXPECT_LE(seen.size(), document.size());
    }
}
