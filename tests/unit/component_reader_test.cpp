// Reading a component stream into the main window: creating children by class
// name, binding values to published properties by kind, defined properties,
// names, events, references, notifications and what a failure leaves behind.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/OrbResource.h"
#include "core/Control.h"
#include "core/StringList.h"
#include "core/Text.h"

namespace orbtest {
namespace {

using std::string_literals::operator""s;

// ---- a probe class -------------------------------------------------------------
// The project classes publish no floats, 64-bit integers, references or
// collections yet; the reader handles them all, so a class of the test's own
// publishes one of each.

class ProbeItem final : public Persistent {
public:
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass() {
        static const ClassInfo info = [] {
            ClassBuilder<ProbeItem> b("TProbeItem", &Persistent::staticClass());
            b.integer("Value", &ProbeItem::value);
            b.wide("Text", &ProbeItem::text);
            return b.build();
        }();
        return info;
    }
    int32_t value = 0;
    std::wstring text;
};

class ProbeItems final : public Collection {
public:
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass() {
        static const ClassInfo info{"TProbeItems", &Persistent::staticClass(), {}, {}};
        return info;
    }
    void clear() override { items.clear(); }
    Persistent& addItem() override {
        items.push_back(std::make_unique<ProbeItem>());
        return *items.back();
    }
    std::vector<std::unique_ptr<ProbeItem>> items;
};

std::vector<std::string>& loadLog() {
    static std::vector<std::string> log;
    return log;
}

class TProbe final : public WinControl {
public:
    explicit TProbe(Component* owner) : WinControl(owner) {}
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass() {
        static const ClassInfo info = [] {
            ClassBuilder<TProbe> b("TProbe", &WinControl::staticClass());
            b.field("Ratio", PropKind::Float, &TProbe::ratio);
            b.field("Big", PropKind::Int64, &TProbe::big);
            b.ansi("Label", &TProbe::label);
            b.field("Buddy", PropKind::ComponentRef, &TProbe::buddy);
            b.object("Items", &TProbe::items, ProbeItems::staticClass());
            b.object("Lines", &TProbe::lines, AnsiStringList::staticClass());
            b.accessor("Count", PropKind::Integer, &TProbe::count, static_cast<void (TProbe::*)(int32_t)>(nullptr));
            b.factory([](Component* owner) { return std::make_unique<TProbe>(owner); });
            return b.build();
        }();
        return info;
    }
    void loaded() override {
        WinControl::loaded();
        loadLog().push_back(name());
    }
    int32_t count() const { return static_cast<int32_t>(items.items.size()); }

    double ratio = 0;
    int64_t big = 0;
    std::string label;
    Component* buddy = nullptr;
    ProbeItems items;
    AnsiStringList lines;
};

const ClassRegistry& probeRegistry() {
    static const ClassRegistry registry = [] {
        ClassRegistry r;
        RegisterControlClasses(r);
        r.add(TProbe::staticClass());
        return r;
    }();
    return registry;
}

Scalar I(int64_t v) { return Scalar(v); }
Scalar D(double v) { return Scalar(v); }
Scalar A(std::string v) { return Scalar(std::move(v)); }
Scalar W(std::wstring v) { return Scalar(std::move(v)); }

// One property on one child "C1" of the given class, or on the window itself
// when no class is given.
ObjectNode oneProperty(const std::string& className, const std::string& path, const Value& value) {
    if (className.empty()) return mainForm({prop(path, value)});
    return mainForm({}, {object(className, "C1", {prop(path, value)})});
}

Persistent& target(TfrmMain& form, const std::string& className) {
    if (className.empty()) return form;
    Component* c = form.findComponent("C1");
    if (!c) throw std::logic_error("C1 was not created");
    return *c;
}

class ReaderTest : public ::testing::Test {
protected:
    void TearDown() override { resetEffectiveTexts(); }
    std::unique_ptr<TfrmMain> form = newMainWindow();
};

// ---- binding by kind -------------------------------------------------------------

struct BindCase {
    const char* label;
    const char* className;
    const char* path;
    Value value;
    Scalar expected;
};

void PrintTo(const BindCase& c, std::ostream* os) { *os << c.label; }

class Binding : public ::testing::TestWithParam<BindCase> {
protected:
    void TearDown() override { resetEffectiveTexts(); }
};

TEST_P(Binding, AcceptedValueLandsInTheProperty) {
    const auto& c = GetParam();
    auto form = newMainWindow();
    readInto(*form, oneProperty(c.className, c.path, c.value), probeRegistry());
    EXPECT_EQ(readBack(target(*form, c.className), c.path), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Binding,
    ::testing::Values(
        // integers: the three integer tags, and identifiers of the property's own vocabulary
        BindCase{"IntFromInt8", "TOrbButton", "Tag", intOf(ValueTag::Int8, -5), I(-5)},
        BindCase{"IntFromInt16", "TOrbButton", "Tag", intOf(ValueTag::Int16, -300), I(-300)},
        BindCase{"IntFromInt32", "TOrbButton", "Tag", intOf(ValueTag::Int32, 100000), I(100000)},
        BindCase{"ColourName", "TOrbButton", "Color", ident("clRed"), I(0x0000FF)},
        BindCase{"SystemColourNameAnyCase", "TOrbButton", "Color", ident("clbtnface"), I(int32_t(0xFF00000F))},
        BindCase{"CursorName", "TOrbButton", "Cursor", ident("crHandPoint"), I(-21)},
        BindCase{"CharsetName", "TOrbButton", "Font.Charset", ident("RUSSIAN_CHARSET"), I(204)},
        BindCase{"CardinalWrittenAsInt64", "", "Groups", intOf(ValueTag::Int64, 0xFFFFFFFF), I(0xFFFFFFFF)},
        // enumerations and Booleans
        BindCase{"EnumIdent", "TOrbButton", "Align", ident("alClient"), I(5)},
        BindCase{"WindowStyle", "", "WindowStyle", ident("awsShaped"), I(3)},
        BindCase{"BoolTrueTag", "TOrbButton", "ShowHint", boolean(true), I(1)},
        BindCase{"BoolFalseTag", "TOrbButton", "Visible", boolean(false), I(0)},
        BindCase{"BoolIdent", "TOrbButton", "ShowHint", ident("True"), I(1)},
        // sets
        BindCase{"Set", "TOrbButton", "Font.Style", setOf({"fsBold", "fsUnderline"}), I(0b101)},
        BindCase{"SetUnknownMemberIgnored", "TOrbButton", "Font.Style", setOf({"fsNoSuch", "fsItalic"}), I(0b10)},
        BindCase{"EmptySetClearsStyle", "", "HintFont.Style", setOf({}), I(0)},
        BindCase{"Anchors", "TOrbTextBox", "Anchors", setOf({"akRight", "akBottom"}), I(0b1100)},
        // floats
        BindCase{"FloatFromExtended", "TProbe", "Ratio", realOf(ValueTag::Extended, 2.5), D(2.5)},
        BindCase{"FloatFromSingle", "TProbe", "Ratio", realOf(ValueTag::Single, 0.25), D(0.25)},
        BindCase{"FloatFromInt8", "TProbe", "Ratio", intOf(ValueTag::Int8, 3), D(3.0)},
        BindCase{"FloatFromInt32", "TProbe", "Ratio", intOf(ValueTag::Int32, -70000), D(-70000.0)},
        // 64-bit integers
        BindCase{"Int64FromInt64", "TProbe", "Big", intOf(ValueTag::Int64, int64_t{1} << 40), I(int64_t{1} << 40)},
        BindCase{"Int64FromInt8", "TProbe", "Big", intOf(ValueTag::Int8, -1), I(-1)},
        // 8-bit strings: as they are, or converted from wide text
        BindCase{"AnsiFromString", "TOrbButton", "Font.Name", str("Arial"), A("Arial")},
        BindCase{"AnsiFromLString", "TProbe", "Label", lstr(std::string(300, 'x')), A(std::string(300, 'x'))},
        BindCase{"AnsiFromWString", "TProbe", "Label", wstr(L"Caf\u00E9 \u20AC"), A("Caf\xE9 \x80")},
        BindCase{"AnsiFromUtf8", "TProbe", "Label", utf8("Caf\xC3\xA9"), A("Caf\xE9")},
        // wide strings: as they are, or converted from the ANSI code page
        BindCase{"WideFromWString", "TOrbButton", "Caption", wstr(L"\u4E2D\u6587"), W(L"\u4E2D\u6587")},
        BindCase{"WideFromUtf8Pair", "TOrbButton", "Caption", utf8("\xF0\x9F\x98\x80"), W(L"\xD83D\xDE00")},
        BindCase{"WideFromString", "TOrbButton", "Caption", str("\x80\xE9"), W(L"\u20AC\u00E9")},
        BindCase{"WideFromLString", "TOrbButton", "Hint", lstr("tip"), W(L"tip")},
        // events: only the handlers the main window publishes
        BindCase{"EventFormCreate", "", "OnCreate", ident("FormCreate"), A("FormCreate")},
        BindCase{"EventFormCloseQuery", "", "OnCloseQuery", ident("FormCloseQuery"), A("FormCloseQuery")},
        BindCase{"EventFormDestroy", "", "OnDestroy", ident("FormDestroy"), A("FormDestroy")},
        BindCase{"EventFormKeyDown", "", "OnKeyDown", ident("FormKeyDown"), A("FormKeyDown")},
        BindCase{"EventFormResize", "", "OnResize", ident("FormResize"), A("FormResize")},
        BindCase{"EventFormShow", "", "OnShow", ident("FormShow"), A("FormShow")},
        BindCase{"EventNil", "", "OnClick", nil(), A("")}),
    [](const auto& info) { return std::string(info.param.label); });

struct RejectCase {
    const char* label;
    const char* className;
    const char* path;
    Value value;
    const char* message;
};

void PrintTo(const RejectCase& c, std::ostream* os) { *os << c.label; }

class Rejection : public ::testing::TestWithParam<RejectCase> {};

TEST_P(Rejection, FailsWithTheComponentAndPropertyInTheMessage) {
    const auto& c = GetParam();
    auto form = newMainWindow();
    std::string who = *c.className ? "C1" : "frmMain";
    EXPECT_EQ(readFailure(*form, oneProperty(c.className, c.path, c.value), probeRegistry()),
              "Error reading " + who + "." + c.path + ": " + c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Rejection,
    ::testing::Values(
        RejectCase{"IntFromString", "TOrbButton", "Tag", str("5"), kInvalidPropertyValue},
        RejectCase{"IntFromTrue", "TOrbButton", "Tag", boolean(true), kInvalidPropertyValue},
        RejectCase{"IntFromFloat", "TOrbButton", "Tag", realOf(ValueTag::Extended, 1), kInvalidPropertyValue},
        RejectCase{"IntFromUnknownName", "TOrbButton", "Color", ident("clNoSuchColour"), kInvalidPropertyValue},
        RejectCase{"IntFromNameOfOtherVocabulary", "TOrbButton", "Color", ident("crHandPoint"), kInvalidPropertyValue},
        RejectCase{"IntBeyond32Bits", "TOrbButton", "Tag", intOf(ValueTag::Int64, int64_t{1} << 40),
                   kInvalidPropertyValue},
        RejectCase{"EnumFromInt", "TOrbButton", "Align", intOf(ValueTag::Int8, 5), kInvalidPropertyValue},
        RejectCase{"EnumUnknownIdent", "TOrbButton", "Align", ident("alNowhere"), kInvalidPropertyValue},
        RejectCase{"EnumFromTrue", "TOrbButton", "Align", boolean(true), kInvalidPropertyValue},
        RejectCase{"BoolFromInt", "TOrbButton", "ShowHint", intOf(ValueTag::Int8, 1), kInvalidPropertyValue},
        RejectCase{"BoolFromString", "TOrbButton", "ShowHint", str("True"), kInvalidPropertyValue},
        RejectCase{"SetFromIdent", "TOrbButton", "Font.Style", ident("fsBold"), kInvalidPropertyValue},
        RejectCase{"FloatFromString", "TProbe", "Ratio", str("1.5"), kInvalidPropertyValue},
        RejectCase{"Int64FromFloat", "TProbe", "Big", realOf(ValueTag::Extended, 1), kInvalidPropertyValue},
        RejectCase{"AnsiFromIdent", "TOrbButton", "Font.Name", ident("Arial"), kInvalidPropertyValue},
        RejectCase{"AnsiFromInt", "TOrbButton", "Font.Name", intOf(ValueTag::Int8, 1), kInvalidPropertyValue},
        RejectCase{"WideFromIdent", "TOrbButton", "Caption", ident("Hello"), kInvalidPropertyValue},
        RejectCase{"WideFromBinary", "TOrbButton", "Caption", binary("x"), kInvalidPropertyValue},
        RejectCase{"EventNotPublished", "", "OnCreate", ident("FormPaint"), kInvalidPropertyValue},
        RejectCase{"EventCaseMatters", "", "OnCreate", ident("formcreate"), kInvalidPropertyValue},
        RejectCase{"EventAsString", "", "OnCreate", str("FormCreate"), kInvalidPropertyValue},
        RejectCase{"ObjectSetDirectly", "TOrbButton", "Font", intOf(ValueTag::Int8, 1), kInvalidPropertyValue},
        RejectCase{"CollectionIntoPlainObject", "TOrbButton", "Font", collectionOf({}), kInvalidPropertyValue},
        RejectCase{"CollectionFromList", "TProbe", "Items", listOf({}), kInvalidPropertyValue},
        RejectCase{"ReferenceFromString", "TProbe", "Buddy", str("C1"), kInvalidPropertyValue},
        RejectCase{"ReadOnly", "TProbe", "Count", intOf(ValueTag::Int8, 3), kPropertyReadOnly},
        // paths
        RejectCase{"PathThroughString", "TOrbButton", "Caption.Name", str("x"), kInvalidPropertyPath},
        RejectCase{"PathThroughUnknown", "TOrbButton", "NoSuch.Name", str("x"), kInvalidPropertyPath},
        RejectCase{"PathThroughInteger", "TOrbButton", "Font.Size.X", intOf(ValueTag::Int8, 1), kInvalidPropertyPath},
        RejectCase{"PathEndsUnknown", "TOrbButton", "Font.NoSuch", intOf(ValueTag::Int8, 1),
                   "Property NoSuch does not exist"},
        RejectCase{"UnknownProperty", "TOrbButton", "NoSuch", intOf(ValueTag::Int8, 1),
                   "Property NoSuch does not exist"},
        RejectCase{"UnknownOnWindow", "", "Transparent", boolean(true), "Property Transparent does not exist"},
        // defined properties take only their own payloads, and only where they belong
        RejectCase{"DesignerLeftNotInteger", "TOrbThreadTimer", "Left", str("1"), kInvalidPropertyValue},
        RejectCase{"IsControlNotBoolean", "TOrbButton", "IsControl", intOf(ValueTag::Int8, 1), kInvalidPropertyValue},
        RejectCase{"IsControlOnNonVisual", "TOrbThreadTimer", "IsControl", boolean(true),
                   "Property IsControl does not exist"},
        RejectCase{"DesignSizeOneNumber", "TOrbTextBox", "DesignSize", listOf({intOf(ValueTag::Int8, 1)}),
                   kInvalidPropertyValue},
        RejectCase{"DesignSizeOnDrawnControl", "TOrbButton", "DesignSize",
                   listOf({intOf(ValueTag::Int8, 1), intOf(ValueTag::Int8, 2)}), "Property DesignSize does not exist"},
        RejectCase{"TextHeightOnControl", "TOrbButton", "TextHeight", intOf(ValueTag::Int8, 13),
                   "Property TextHeight does not exist"},
        RejectCase{"IgnoreFontPropertyNotBoolean", "", "IgnoreFontProperty", intOf(ValueTag::Int8, 1),
                   kInvalidPropertyValue},
        RejectCase{"WideListFromInt", "", "Pages.Strings", intOf(ValueTag::Int8, 1), kInvalidPropertyValue},
        RejectCase{"WideListItemNotString", "", "Pages.Strings", listOf({ident("x")}), kInvalidPropertyValue},
        RejectCase{"AnsiListFromOneString", "TProbe", "Lines.Strings", str("a"), kInvalidPropertyValue},
        RejectCase{"PictureDataNotBinary", "", "Picture.Data", str("x"), kInvalidPropertyValue},
        RejectCase{"PictureDataEmpty", "", "Picture.Data", binary(""), kStreamReadError},
        RejectCase{"BitmapShorterThanItsLength", "", "Picture.Data",
                   binary("\x07TBitmap"s + le32(1000) + "BM short"), kStreamReadError},
        RejectCase{"MediaShorterThanItsLength", "", "StartupSound.Data", binary(le32(99) + "ab"), kStreamReadError},
        RejectCase{"MediaDataNotBinary", "", "StartupSound.Data", str("x"), kInvalidPropertyValue},
        RejectCase{"CompanionOfNonWide", "TOrbButton", "TagW", str("1"), "Property TagW does not exist"},
        RejectCase{"CompanionNotString", "TOrbButton", "CaptionW", intOf(ValueTag::Int8, 1), kInvalidPropertyValue}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ReaderTest, Utf8AndUtf16TextReadTheSame) {
    const std::wstring text = L"Gr\u00FC\u00DFe \u4E2D \xD83D\xDE00";
    auto other = newMainWindow();
    readInto(*form, mainForm({prop("Caption", utf8(utf16ToUtf8(text)))}));
    readInto(*other, mainForm({prop("Caption", wstr(text))}));
    EXPECT_EQ(form->caption(), text);
    EXPECT_EQ(other->caption(), form->caption());
}

TEST_F(ReaderTest, EmptySetClearsAStyleSetEarlier) {
    readInto(*form, mainForm({}, {object("TOrbButton", "B", {prop("Font.Style", setOf({"fsBold", "fsItalic"})),
                                                            prop("Font.Style", setOf({}))})}));
    auto* b = dynamic_cast<Control*>(form->findComponent("B"));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->font().style, 0u);
}

TEST_F(ReaderTest, FontSizeConvertsToHeightAtNinetySixPixelsPerInch) {
    struct Case {
        int32_t size, height;
    };
    for (const auto& c : std::vector<Case>{{12, -16}, {8, -11}, {-12, 16}, {0, 0}}) {
        auto fresh = newMainWindow();
        readInto(*fresh, mainForm({prop("HintFont.Size", Value::ofInt(c.size))}));
        EXPECT_EQ(fresh->hintFont.height, c.height) << c.size;
    }
    // Sizes whose height does not fit must still load (whatever height they give).
    for (int32_t huge : {INT32_MAX, INT32_MIN, 1610612736, -1610612736}) {
        auto fresh = newMainWindow();
        EXPECT_EQ(readFailure(*fresh, mainForm({prop("HintFont.Size", Value::ofInt(huge)),
                                                prop("HintFont.Height", Value::ofInt(huge))})),
                  "")
            << huge;
        EXPECT_EQ(readBack(fresh->hintFont, "Size").index(), 1u);
    }
}

// ---- classes and names ------------------------------------------------------------

TEST_F(ReaderTest, UnknownClassFailsAndCreatesNothing) {
    for (const char* cls : {"TNoSuchControl", "torbbutton", "TfrmMain", "TProbe"}) {
        auto fresh = newMainWindow();
        std::string message = readFailure(*fresh, mainForm({}, {object(cls, "X")}));
        EXPECT_NE(message.find("Class "s + cls + " not found"), std::string::npos) << message;
        EXPECT_TRUE(fresh->components().empty()) << cls;
    }
}

TEST_F(ReaderTest, DuplicateNamesAreRefusedWithoutRegardToCase) {
    for (const char* second : {"Button1", "BUTTON1", "button1"}) {
        auto fresh = newMainWindow();
        std::string message = readFailure(
            *fresh, mainForm({}, {object("TOrbButton", "Button1"), object("TOrbShape", second)}));
        EXPECT_NE(message.find("A component named "s + second + " already exists"), std::string::npos) << message;
        EXPECT_EQ(fresh->components().size(), 1u) << second;
    }
}

TEST_F(ReaderTest, ComponentNamesMustBeIdentifiers) {
    for (const char* bad : {"1abc", "a b", "a.b", "a-b", "\xC3\xA9t\xC3\xA9"}) {
        auto fresh = newMainWindow();
        std::string message = readFailure(*fresh, mainForm({}, {object("TOrbButton", bad)}));
        EXPECT_NE(message.find("''"s + bad + "'' is not a valid component name"), std::string::npos) << message;
        EXPECT_TRUE(fresh->components().empty()) << bad;
    }
    for (const char* good : {"_x", "a1", "Button_2", ""}) {
        auto fresh = newMainWindow();
        EXPECT_EQ(readFailure(*fresh, mainForm({}, {object("TOrbButton", good)})), "") << good;
    }
}

TEST_F(ReaderTest, RootTakesTheStreamsNameWhateverItsClassName) {
    readInto(*form, object("TSomethingElse", "MainWnd", {prop("Caption", str("Hi"))}));
    EXPECT_EQ(form->name(), "MainWnd");
    EXPECT_EQ(form->caption(), L"Hi");
}

TEST_F(ReaderTest, ChildrenGetTheWindowAsOwnerAndTheirContainerAsParent) {
    readInto(*form, mainForm({}, {object("TOrbTextBox", "Box", {}, {object("TOrbButton", "Inner")}),
                                  object("TOrbThreadTimer", "Timer", {prop("Left", intOf(ValueTag::Int16, 400))})}));
    auto* box = dynamic_cast<WinControl*>(form->findComponent("Box"));
    auto* inner = dynamic_cast<Control*>(form->findComponent("Inner"));
    ASSERT_TRUE(box && inner);
    EXPECT_EQ(inner->owner(), form.get());
    EXPECT_EQ(inner->parent(), box);
    EXPECT_EQ(box->parent(), form.get());
    // A non-visual component is owned but never placed on the window.
    ASSERT_NE(form->findComponent("Timer"), nullptr);
    EXPECT_EQ(form->controls(), std::vector<Control*>{box});
}

TEST_F(ReaderTest, ChildPositionMovesTheChildAmongItsSiblings) {
    struct Case {
        int64_t position;
        std::vector<std::string> order;
    };
    for (const auto& c : std::vector<Case>{{0, {"C", "A", "B"}},
                                           {1, {"A", "C", "B"}},
                                           {2, {"A", "B", "C"}},
                                           {50, {"A", "B", "C"}},
                                           {-3, {"C", "A", "B"}}}) {
        ObjectNode moved = object("TOrbButton", "C");
        moved.header.childPos = Value::ofInt(c.position);
        auto fresh = newMainWindow();
        readInto(*fresh, mainForm({}, {object("TOrbButton", "A"), object("TOrbShape", "B"), moved}));
        std::vector<std::string> order;
        for (Control* control : fresh->controls()) order.push_back(control->name());
        EXPECT_EQ(order, c.order) << "position " << c.position;
    }
}

TEST_F(ReaderTest, ChildPositionFromRawPrefixByte) {
    // Written by hand so that the prefix byte is exactly 0xF2.
    std::string bytes = "TPF0" + shortString("TfrmMain") + shortString("frmMain") + "\0"s +
                        shortString("TOrbButton") + shortString("A") + "\0\0"s + "\xF2\x02\x00"s +
                        shortString("TOrbButton") + shortString("B") + "\0\0"s + "\0"s;
    readInto(*form, bytesOfString(bytes));
    ASSERT_EQ(form->controls().size(), 2u);
    EXPECT_EQ(form->controls()[0]->name(), "B");
}

TEST_F(ReaderTest, InheritedFlagUpdatesTheExistingComponent) {
    ObjectNode again = object("TOrbButton", "A", {prop("Tag", intOf(ValueTag::Int8, 7))});
    again.header.flags = kFilerInherited;
    readInto(*form, mainForm({}, {object("TOrbButton", "A"), again}));
    ASSERT_EQ(form->components().size(), 1u);
    EXPECT_EQ(dynamic_cast<Control&>(*form->components()[0]).tag(), 7);

    ObjectNode missing = object("TOrbButton", "Nobody");
    missing.header.flags = kFilerInherited;
    auto fresh = newMainWindow();
    EXPECT_NE(readFailure(*fresh, mainForm({}, {missing})), "");
}

// ---- paths, objects, collections and references ---------------------------------------

TEST_F(ReaderTest, DottedPathsReachOwnedObjects) {
    readInto(*form, mainForm({prop("HintFont.Name", str("Tahoma")), prop("Constraints.MaxWidth", intOf(ValueTag::Int16, 800)),
                              prop("UserVersion.FileVerMajor", intOf(ValueTag::Int8, 6)),
                              prop("TextTranslation.PasswordPrompt", wstr(L"Code:"))}));
    EXPECT_EQ(form->hintFont.name, "Tahoma");
    EXPECT_EQ(form->constraints.maxWidth, 800);
    EXPECT_EQ(form->userVersion.fileVerMajor, 6);
    // Replacement texts take effect with the window's loaded notification.
    EXPECT_EQ(effectiveText(TextId::PasswordPrompt), L"Code:");
}

TEST_F(ReaderTest, CollectionItemsReplaceTheOldOnes) {
    Value items = collectionOf({item({prop("Value", intOf(ValueTag::Int8, 1)), prop("Text", str("one"))},
                                     intOf(ValueTag::Int8, 0)),
                                item({prop("Value", intOf(ValueTag::Int16, 2000))})});
    readInto(*form, mainForm({}, {object("TProbe", "P", {prop("Items", items), prop("Items", items)})}),
             probeRegistry());
    auto& probe = dynamic_cast<TProbe&>(*form->findComponent("P"));
    ASSERT_EQ(probe.items.items.size(), 2u);
    EXPECT_EQ(probe.items.items[0]->text, L"one");
    EXPECT_EQ(probe.items.items[1]->value, 2000);

    auto fresh = newMainWindow();
    Value badItem = collectionOf({item({prop("NoSuch", intOf(ValueTag::Int8, 1))})});
    EXPECT_EQ(readFailure(*fresh, mainForm({}, {object("TProbe", "P", {prop("Items", badItem)})}), probeRegistry()),
              "Error reading P.Items: Property NoSuch does not exist");
}

TEST_F(ReaderTest, ReferencesResolveAfterTheWholeStream) {
    readInto(*form,
             mainForm({}, {object("TProbe", "First", {prop("Buddy", ident("Second"))}),
                           object("TProbe", "Second", {prop("Buddy", ident("frmMain"))}),
                           object("TProbe", "Third", {prop("Buddy", nil())})}),
             probeRegistry());
    EXPECT_EQ(dynamic_cast<TProbe&>(*form->findComponent("First")).buddy, form->findComponent("Second"));
    EXPECT_EQ(dynamic_cast<TProbe&>(*form->findComponent("Second")).buddy, form.get());
    EXPECT_EQ(dynamic_cast<TProbe&>(*form->findComponent("Third")).buddy, nullptr);
}

TEST_F(ReaderTest, LoadedNotificationsRootFirstThenInReadingFinishedOrder) {
    loadLog().clear();
    TProbe root(nullptr);
    readInto(root,
             object("TProbe", "Root", {},
                    {object("TProbe", "A", {}, {object("TProbe", "A1"), object("TProbe", "A2")}),
                     object("TProbe", "B")}),
             probeRegistry());
    EXPECT_EQ(loadLog(), (std::vector<std::string>{"Root", "A1", "A2", "A", "B"}));
    EXPECT_FALSE(root.loading());
    EXPECT_FALSE(root.findComponent("A1")->loading());
}

// ---- legacy companions and defined properties ---------------------------------------

TEST_F(ReaderTest, LegacyCompanionNamesLandInTheWideProperty) {
    readInto(*form,
             mainForm({prop("AdminMsgW", wstr(L"\u4E2D")), prop("Pages.WideStrings", str("a\r\nb")),
                       prop("FontList.WideStrings_UTF7", str("+AOk-t+AOk-\r\nx"))},
                      {object("TOrbButton", "B1", {prop("Caption_UTF7", str("Hi Mom -+Jjo--!"))}),
                       object("TOrbButton", "B2", {prop("CaptionW", utf8("\xC3\xA9")), prop("HintW", wstr(L"tip"))}),
                       object("TOrbTextBox", "T", {}, {})}));
    EXPECT_EQ(form->adminMsg, L"\u4E2D");
    EXPECT_EQ(form->pages.lines, (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_EQ(form->fontList.lines, (std::vector<std::wstring>{L"\u00E9t\u00E9", L"x"}));
    EXPECT_EQ(dynamic_cast<Control&>(*form->findComponent("B1")).caption(), L"Hi Mom -\u263A-!");
    EXPECT_EQ(dynamic_cast<Control&>(*form->findComponent("B2")).caption(), L"\u00E9");
    EXPECT_EQ(dynamic_cast<Control&>(*form->findComponent("B2")).hint(), L"tip");
}

TEST_F(ReaderTest, WideStringListsTakeOneTextOrAListOfStrings) {
    readInto(*form, mainForm({prop("Pages.Strings", listOf({str("Home"), wstr(L"\u00DCber"), utf8("x"), lstr("")})),
                              prop("FontList.Strings", wstr(L"one\rtwo\nthree\r\n")),
                              prop("Pages.WideStringsW", listOf({str("Home"), str("Next")}))}));
    EXPECT_EQ(form->pages.lines, (std::vector<std::wstring>{L"Home", L"Next"}));
    EXPECT_EQ(form->fontList.lines, (std::vector<std::wstring>{L"one", L"two", L"three"}));
}

TEST_F(ReaderTest, DefinedPropertiesAreTakenByTheirOwners) {
    readInto(*form,
             mainForm({prop("TextHeight", intOf(ValueTag::Int8, 16)), prop("IgnoreFontProperty", boolean(true)),
                       prop("Icon.Data", binary("\0\0\1\0icon"s))},
                      {object("TOrbThreadTimer", "Timer", {prop("Left", intOf(ValueTag::Int16, 500)), prop("Top", intOf(ValueTag::Int8, 8))}),
                       object("TOrbButton", "B", {prop("IsControl", boolean(true))}),
                       object("TOrbTextBox", "T", {prop("DesignSize", listOf({intOf(ValueTag::Int16, 200), intOf(ValueTag::Int8, 50)}))}),
                       object("TProbe", "P", {prop("Lines.Strings", listOf({str("a"), wstr(L"\u00E9")}))})}),
             probeRegistry());
    EXPECT_EQ(form->textHeight, 16);
    // A graphic published directly carries its own data without a class name.
    EXPECT_EQ(stringOfBytes(form->icon.fileBytes()), "\0\0\1\0icon"s);
    EXPECT_EQ(dynamic_cast<TProbe&>(*form->findComponent("P")).lines.lines, (std::vector<std::string>{"a", "\xE9"}));
}

// ---- pictures and media values ----------------------------------------------------

TEST_F(ReaderTest, PictureDataByGraphicClass) {
    const std::string gif = "GIF89a\x01\x00\x01\x00"s;
    const std::string bmp = "BM\x1E\x00\x00\x00 rest of a bitmap"s;
    const std::string png = "\x89PNG\r\n\x1A\n...."s;
    struct Case {
        std::string data;
        std::string className;  // empty: the picture stays empty
        std::string bytes;
    };
    for (const auto& c : std::vector<Case>{
             {shortString("TGIFImage") + le32(gif.size()) + gif, "TGIFImage", gif},
             {shortString("TJvGIFImage") + le32(gif.size()) + gif, "", ""},
             {shortString("TNoSuchImage") + "whatever", "", ""},
             {shortString("tbitmap") + le32(bmp.size()) + bmp, "", ""},
             {shortString("TBitmap") + le32(bmp.size()) + bmp, "TBitmap", bmp},
             {shortString("TBitmap") + le32(0), "TBitmap", ""},
             {shortString("TJvPcx") + le32(bmp.size()) + bmp, "TJvPcx", bmp},
             {shortString("TPNGObject") + png, "TPNGObject", png},
             {shortString("TJPEGImage") + le32(4) + "\xFF\xD8\xFF\xD9"s, "TJPEGImage", "\xFF\xD8\xFF\xD9"s},
             {shortString("TMetafile") + le32(4), "TMetafile", ""},
             {shortString("TMetafile") + le32(8) + "WMF!", "TMetafile", "WMF!"},
             {shortString("TIcon") + "\0\0\1\0ico"s, "TIcon", "\0\0\1\0ico"s},
         }) {
        auto fresh = newMainWindow();
        readInto(*fresh, mainForm({prop("Splash.Data", binary(c.data))}));
        EXPECT_EQ(fresh->splash.graphicClassName(), c.className) << c.data;
        std::string stored = fresh->splash.graphic() ? stringOfBytes(fresh->splash.graphic()->fileBytes()) : "";
        EXPECT_EQ(stored, c.bytes) << c.data;
        EXPECT_EQ(fresh->splash.empty(), c.bytes.empty()) << c.data;
    }
}

TEST_F(ReaderTest, MediaValueDataIsLengthThenBytes) {
    readInto(*form, mainForm({prop("StartupSound.Data", binary(le32(5) + "RIFFx")),
                              prop("IconData.Data", binary(le32(0))),
                              prop("OrbCursor.Data", binary(le32(3) + "cur"))}));
    EXPECT_EQ(stringOfBytes(form->startupSound.bytes()), "RIFFx");
    EXPECT_TRUE(form->iconData.isEmpty());
    EXPECT_EQ(stringOfBytes(form->orbCursor.bytes()), "cur");
}

// ---- what a failure leaves ----------------------------------------------------------

TEST_F(ReaderTest, FailedChildIsDestroyedAndTheRootStaysPartlyLoaded) {
    std::string message = readFailure(
        *form, mainForm({prop("Caption", str("Kept"))},
                        {object("TOrbButton", "Before"),
                         object("TOrbTextBox", "Box", {},
                                {object("TOrbButton", "Inner"),
                                 object("TOrbButton", "Bad", {prop("Width", intOf(ValueTag::Int8, 1)),
                                                              prop("Widht", intOf(ValueTag::Int8, 2))})}),
                         object("TOrbButton", "After")}));
    EXPECT_EQ(message, "Error reading Bad.Widht: Property Widht does not exist");
    EXPECT_EQ(form->caption(), L"Kept");
    EXPECT_NE(form->findComponent("Before"), nullptr);
    EXPECT_EQ(form->findComponent("Bad"), nullptr);
    EXPECT_EQ(form->findComponent("Box"), nullptr);
    EXPECT_EQ(form->findComponent("After"), nullptr);
    ASSERT_EQ(form->controls().size(), 1u);
    EXPECT_EQ(form->controls()[0]->name(), "Before");
}

TEST_F(ReaderTest, StreamErrorsAreDescribedToo) {
    std::vector<uint8_t> bytes = objectTreeToBytes(mainForm({prop("Caption", str("x"))}, {object("TOrbButton", "B")}));
    bytes.resize(bytes.size() - 3);
    MemoryView view(bytes);
    try {
        readComponentStream(view, *form, controlRegistry());
        FAIL() << "a truncated stream loaded";
    } catch (const ReadError& e) {
        std::string message = e.what();
        EXPECT_EQ(message.rfind("Error reading ", 0), 0u) << message;
        EXPECT_EQ(message.substr(message.size() - std::string(kStreamReadError).size()), kStreamReadError);
    }
    EXPECT_EQ(form->findComponent("B"), nullptr);
}

}  // namespace
}  // namespace orbtest
