// Line input: the dialog template's bytes, and the answers the dialog gives back. The bytes
// come from the library's own template builder and are read back by the platform's own
// template reader, both internal routines tested here on purpose.
#include <cstring>
#include <string>

#include "core/dialog_template.h"
#include "library_fixture.h"

namespace sktch::testing {
namespace {

struct Template {
    unsigned char bytes[292];
    explicit Template(const char* prompt) { build_gets_template(bytes, prompt); }
    unsigned word(int at) const { return bytes[at] | bytes[at + 1] << 8; }
    unsigned dword(int at) const { return word(at) | word(at + 2) << 16; }
    std::string text(int at) const {  // a 16-bit string, each unit below 256
        std::string s;
        for (; word(at) != 0; at += 2) s.push_back(char(word(at)));
        return s;
    }
};

void expect_item(const Template& t, int at, unsigned style, int x, int y, int cx, int cy,
                 unsigned id, unsigned atom) {
    SCOPED_TRACE(at);
    EXPECT_EQ(t.dword(at), style);
    EXPECT_EQ(t.dword(at + 4), 0u);
    EXPECT_EQ(t.word(at + 8), unsigned(x));
    EXPECT_EQ(t.word(at + 10), unsigned(y));
    EXPECT_EQ(t.word(at + 12), unsigned(cx));
    EXPECT_EQ(t.word(at + 14), unsigned(cy));
    EXPECT_EQ(t.word(at + 16), id);
    EXPECT_EQ(t.word(at + 18), 0xFFFFu);
    EXPECT_EQ(t.word(at + 20), atom);
}

TEST(GetsTemplate, HeaderAndItemsStandWhereTheyBelong) {
    Template t("Your name?");
    EXPECT_EQ(t.dword(0), 0x90C80080u);
    EXPECT_EQ(t.dword(4), 0u);
    EXPECT_EQ(t.word(8), 3u);
    EXPECT_EQ(t.word(10), 50u);
    EXPECT_EQ(t.word(12), 50u);
    EXPECT_EQ(t.word(14), 185u);
    EXPECT_EQ(t.word(16), 92u);
    EXPECT_EQ(t.word(18), 0u);
    EXPECT_EQ(t.word(20), 0u);
    EXPECT_EQ(t.text(22), "SKTCH_gets");

    expect_item(t, 44, 0x50810044, 8, 30, 167, 37, 102, 0x0081);
    EXPECT_EQ(t.text(66), "");
    EXPECT_EQ(t.word(68), 0u) << "no creation data";
    expect_item(t, 72, 0x50010001, 67, 74, 50, 14, 101, 0x0080);
    EXPECT_EQ(t.text(94), "Okay");
    expect_item(t, 108, 0x50020000, 8, 3, 167, 24, 103, 0x0082);
    EXPECT_EQ(t.text(130), std::string("Your name?") + std::string(69, ' '));
    EXPECT_EQ(t.word(288), 0u) << "the prompt's terminator";
    EXPECT_EQ(t.word(290), 0u) << "and the static's creation data, ending at byte 292";
}

TEST(GetsTemplate, PromptIsCutOrPaddedTo79Characters) {
    std::string long_prompt;
    for (int i = 0; i < 100; ++i) long_prompt.push_back(char('a' + i % 26));
    EXPECT_EQ(Template(long_prompt.c_str()).text(130), long_prompt.substr(0, 79));
    EXPECT_EQ(Template("").text(130), std::string(79, ' '));
    EXPECT_EQ(Template(nullptr).text(130), std::string(79, ' '));
    // Characters above 127 are one 16-bit unit each, as their byte.
    EXPECT_EQ(Template("\xE9").word(130), 0xE9u);
}

TEST(GetsTemplate, ReadsBackThroughThePlatformsReader) {
    Template t("Name?");
    platform::DialogTemplate d;
    ASSERT_TRUE(platform::read_dialog_template(t.bytes, sizeof t.bytes, d));
    EXPECT_EQ(d.title, "SKTCH_gets");
    ASSERT_EQ(d.controls.size(), 3u);
    EXPECT_EQ(d.controls[0].kind, platform::DialogControl::Kind::Edit);
    EXPECT_EQ(d.controls[0].id, 102);
    EXPECT_EQ(d.controls[1].kind, platform::DialogControl::Kind::Button);
    EXPECT_EQ(d.controls[1].text, "Okay");
    EXPECT_EQ(d.controls[2].kind, platform::DialogControl::Kind::Static);
    EXPECT_EQ(d.controls[2].text.substr(0, 5), "Name?");
    EXPECT_EQ(d.controls[2].units.right - d.controls[2].units.left, 167);
    // Cut anywhere short, the template is refused rather than overrun.
    for (std::size_t size = 0; size < sizeof t.bytes - 2; ++size)
        EXPECT_FALSE(platform::read_dialog_template(t.bytes, size, d)) << size;
}

TEST(DialogTemplateReader, RefusesDamagedTemplates) {
    platform::DialogTemplate d;
    EXPECT_FALSE(platform::read_dialog_template(nullptr, 100, d));
    Template t("x");
    t.bytes[8] = 0xFF;  // 65,283 items
    t.bytes[9] = 0xFF;
    EXPECT_FALSE(platform::read_dialog_template(t.bytes, sizeof t.bytes, d));
    EXPECT_EQ(DialogBoxIndirectParamA(nullptr, nullptr, nullptr, nullptr, 0), -1);
}

using LineInput = OpenLibrary;

TEST_F(LineInput, ReturnsTheAnswerTyped) {
    headless::answer_next_dialog("Ada");
    char buffer[256] = "old";
    EXPECT_EQ(SKTCH_gets("Your name?", buffer), 1);
    EXPECT_STREQ(buffer, "Ada");
    EXPECT_EQ(state.gets_buffer, buffer);
}

TEST_F(LineInput, AnEmptyAnswerGivesAnEmptyString) {
    headless::answer_next_dialog("");
    char buffer[256] = "old";
    EXPECT_EQ(SKTCH_gets("?", buffer), 1);
    EXPECT_STREQ(buffer, "");
}

TEST_F(LineInput, AFailedDialogLeavesTheBufferAsItWas) {
    headless::fail_next_dialog();
    char buffer[256] = "old";
    EXPECT_EQ(SKTCH_gets("?", buffer), 0);
    EXPECT_STREQ(buffer, "old");
    EXPECT_EQ(SKTCH_gets("?", nullptr), 0) << "no buffer, no dialog";
}

TEST_F(LineInput, LongAnswersAreCutAt255Characters) {
    headless::answer_next_dialog(std::string(300, 'x'));
    char buffer[300];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(SKTCH_gets("?", buffer), 1);
    EXPECT_EQ(std::strlen(buffer), 255u);
    EXPECT_EQ(buffer[256], '#') << "nothing written past the terminator";
}

TEST_F(LineInput, SeveralLinesComeBackWithTheirLineBreaks) {
    headless::answer_next_dialog("one\r\ntwo");
    char buffer[256];
    SKTCH_gets("?", buffer);
    EXPECT_STREQ(buffer, "one\r\ntwo");
}

TEST_F(LineInput, TheProgramsWaitGoesOnAfterwards) {
    char buffer[256];
    SKTCH_gets("?", buffer);
    headless::click(graphics(), 297, 243);
    EXPECT_EQ(await(), (Event{SKTCH_MOUSE, 0, 0, 0}));
}

}  // namespace
}  // namespace sktch::testing
