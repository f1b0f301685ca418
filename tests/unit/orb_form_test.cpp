// The main window's own rules: clamped settings, the page model and the page
// caption; and how embedded music is recognised.
#include <gtest/gtest.h>

#include <set>

#include "TestSupport.h"
#include "app/OrbData.h"
#include "core/Control.h"

namespace orbtest {
namespace {

struct ClampCase {
    const char* property;
    int32_t stored;
    int64_t expected;
};

TEST(OrbForm, SettingsAreClampedWhenTheStreamSetsThem) {
    for (const auto& c : std::vector<ClampCase>{
             {"AlphaValue", -5, 0},       {"AlphaValue", 150, 100},    {"AlphaValue", 50, 50},
             {"AlphaValue", 0, 0},        {"AlphaValue", 100, 100},    {"GridX", 1, 2},
             {"GridX", 200, 128},         {"GridX", 2, 2},             {"GridX", 128, 128},
             {"GridY", -1, 2},            {"GridY", 129, 128},         {"SplashDelay", 0, 1},
             {"SplashDelay", 61, 60},     {"SplashDelay", 30, 30},     {"EndScreenDelay", -3, 1},
             {"EndScreenDelay", 1000, 60}, {"HintOpacity", -1, 0},     {"HintOpacity", 101, 100},
             {"StartupPage", -3, 0},      {"StartupPage", 7, 7},       {"ActivePage", 99, 99},
             {"ActivePage", -2, -2},
         }) {
        auto form = newMainWindow();
        readInto(*form, mainForm({prop(c.property, Value::ofInt(c.stored))}));
        EXPECT_EQ(readBack(*form, c.property), Scalar(c.expected)) << c.property << " = " << c.stored;
    }
}

// Direct children tagged with their page, and one control inside a container,
// which never takes part in page switching.
class Pages : public ::testing::Test {
protected:
    void SetUp() override {
        readInto(*form, mainForm({prop("Caption", str("Menu")),
                                  prop("Pages.Strings", listOf({str("Home"), str("Second"), str("Third")}))},
                                 {object("TOrbButton", "Common", {prop("Tag", Value::ofInt(0))}),
                                  object("TOrbButton", "One", {prop("Tag", Value::ofInt(1))}),
                                  object("TOrbShape", "Two", {prop("Tag", Value::ofInt(2))}),
                                  object("TOrbTextBox", "Hidden", {prop("Tag", Value::ofInt(-1))},
                                         {object("TOrbButton", "Inside", {prop("Tag", Value::ofInt(5))})})}));
    }
    std::set<std::string> visible() const {
        std::set<std::string> names;
        for (Control* c : form->controls())
            if (c->visible()) names.insert(c->name());
        return names;
    }
    std::unique_ptr<TfrmMain> form = newMainWindow();
};

TEST_F(Pages, EachPageShowsItsOwnControlsAndPageZeroWhenAsked) {
    struct Case {
        bool alwaysShowPageZero;
        int32_t page;
        std::set<std::string> shown;
    };
    for (const auto& c : std::vector<Case>{{true, 1, {"Common", "One"}},
                                           {true, 2, {"Common", "Two"}},
                                           {true, 0, {"Common"}},
                                           {true, 7, {"Common"}},
                                           {true, -1, {"Common"}},
                                           {false, 1, {"One"}},
                                           {false, 2, {"Two"}},
                                           {false, 0, {"Common"}},
                                           {false, 7, {}},
                                           {false, -1, {}}}) {
        form->setAlwaysShowPageZero(c.alwaysShowPageZero);
        form->setActivePage(c.page);
        EXPECT_EQ(visible(), c.shown) << "page " << c.page << (c.alwaysShowPageZero ? " with" : " without")
                                      << " page zero";
        EXPECT_EQ(form->activePage(), c.page);
        EXPECT_TRUE(dynamic_cast<Control&>(*form->findComponent("Inside")).visible());
    }
}

TEST_F(Pages, ChangingAlwaysShowPageZeroReappliesThePage) {
    form->setActivePage(1);
    EXPECT_EQ(visible(), (std::set<std::string>{"One"}));
    form->setAlwaysShowPageZero(true);
    EXPECT_EQ(visible(), (std::set<std::string>{"Common", "One"}));
    form->setAlwaysShowPageZero(false);
    EXPECT_EQ(visible(), (std::set<std::string>{"One"}));
}

TEST_F(Pages, PageCaptionFollowsOnlyPagesThatHaveNames) {
    form->setActivePage(5);
    form->setUsePageCaption(true);
    EXPECT_EQ(form->caption(), L"Menu");
    form->setActivePage(1);
    EXPECT_EQ(form->caption(), L"Second");
    for (int32_t outside : {-1, 3, 100}) {
        form->setActivePage(outside);
        EXPECT_EQ(form->caption(), L"Second") << outside;
    }
    // Setting it again re-applies the caption even though it did not change.
    form->setActivePage(2);
    form->setCaption(L"Changed");
    form->setUsePageCaption(true);
    EXPECT_EQ(form->caption(), L"Third");
}

TEST_F(Pages, WithoutPageCaptionTheCaptionStays) {
    form->setActivePage(1);
    EXPECT_EQ(form->caption(), L"Menu");
}

// ---- embedded music ------------------------------------------------------------------

std::string audio(size_t size, std::vector<std::pair<size_t, std::string>> marks) {
    std::string bytes(size, '\x5A');
    for (const auto& [at, text] : marks) bytes.replace(at, text.size(), text);
    return bytes;
}

TEST(AudioData, DetectFormatByContent) {
    using std::string_literals::operator""s;
    struct Case {
        const char* label;
        std::string bytes;
        AudioKind kind;
    };
    for (const auto& c : std::vector<Case>{
             {"empty", "", AudioKind::Unknown},
             {"wave of 48 bytes is too short", audio(48, {{0, "RIFF"}, {8, "WAVE"}}), AudioKind::Unknown},
             {"wave", audio(49, {{0, "RIFF"}, {8, "WAVE"}}), AudioKind::Wave},
             {"riff midi", audio(49, {{0, "RIFF"}, {8, "RMID"}}), AudioKind::Midi},
             {"riff of another kind", audio(49, {{0, "RIFF"}, {8, "AVI "}}), AudioKind::Unknown},
             {"standard midi", audio(100, {{0, "MThd"}}), AudioKind::Midi},
             {"ogg", audio(100, {{0, "OggS"}}), AudioKind::OggVorbis},
             {"mpeg FF FB", audio(100, {{0, "\xFF\xFB"}}), AudioKind::MpegAudio},
             {"mpeg FF FD", audio(100, {{0, "\xFF\xFD"}}), AudioKind::MpegAudio},
             {"mpeg FF FF", audio(100, {{0, "\xFF\xFF"}}), AudioKind::MpegAudio},
             {"FF FA is not taken as mpeg", audio(100, {{0, "\xFF\xFA"}}), AudioKind::Unknown},
             {"extended module", audio(100, {{0, "Extended Module:"}}), AudioKind::TrackerModule},
             {"scream tracker", audio(100, {{44, "SCRM"}}), AudioKind::TrackerModule},
             {"impulse tracker", audio(100, {{0, "IMPM"}}), AudioKind::TrackerModule},
             {"1083 bytes unrecognised", audio(1083, {}), AudioKind::Unknown},
             {"protracker", audio(1084, {{1080, "M.K."}}), AudioKind::TrackerModule},
             {"four spaces", audio(1084, {{1080, "    "}}), AudioKind::TrackerModule},
             {"32 channels", audio(2000, {{1080, "32CN"}}), AudioKind::TrackerModule},
             {"lower-case tag is not one", audio(1084, {{1080, "m.k."}}), AudioKind::MpegAudio},
             {"long and unrecognised is mpeg", audio(1084, {}), AudioKind::MpegAudio},
             {"first match wins", audio(1084, {{0, "OggS"}, {1080, "M.K."}}), AudioKind::OggVorbis},
         }) {
        TAudioData data;
        data.setData(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size());
        EXPECT_EQ(data.detectFormat(), c.kind) << c.label;
    }
}

}  // namespace
}  // namespace orbtest
