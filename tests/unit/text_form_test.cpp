// The readable text form: lossless round trips through the binary stream, how
// each literal is typed, errors with their line numbers, and embedded files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestSupport.h"
#include "core/Text.h"

namespace orbtest {
namespace {

namespace fs = std::filesystem;
using std::string_literals::operator""s;

std::string viaBinary(const std::string& text) {
    std::vector<uint8_t> bytes = objectTreeToBytes(parseTextForm(text));
    MemoryView view(bytes);
    return objectTreeToText(parseObjectTree(view));
}

// Written exactly as the printer writes it, so the round trip must give it back
// byte for byte.
const std::string kCanonical =
    "object frmMain: TfrmMain\n"
    "  Caption = 'It''s a '#13#10'menu'\n"
    "  Greeting = 'Gr\xC3\xBC\xC3\x9F" "e \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80'\n"
    "  Lone = 'x'#55357'y'#127\n"
    "  Empty = ''\n"
    "  Long = '" + std::string(300, 'L') + "'\n"
    "  Color = clBtnFace\n"
    "  Flag = True\n"
    "  Off = False\n"
    "  Nothing = nil\n"
    "  Void = Null\n"
    "  Small = -5\n"
    "  Medium = 300\n"
    "  Large = -70000\n"
    "  Huge = 5000000000\n"
    "  Min = -9223372036854775808\n"
    "  Max = 9223372036854775807\n"
    "  Ratio = 2.5\n"
    "  Whole = 3.0\n"
    "  Tiny = 1e-300\n"
    "  Single = 0.1s\n"
    "  Price = 12.3400c\n"
    "  Debt = -0.0001c\n"
    "  Extreme = -922337203685477.5808c\n"
    "  When = 45000.5d\n"
    "  Style = [fsBold, fsItalic]\n"
    "  NoStyle = []\n"
    "  Lines.Strings = (\n"
    "    'one'\n"
    "    'two')\n"
    "  Nested = (\n"
    "    (\n"
    "      1\n"
    "      2)\n"
    "    'x'\n"
    "    ())\n"
    "  Words = (\n"
    "    file\n"
    "    (\n"
    "      picture\n"
    "      data)\n"
    "    graphic)\n"
    "  Items = <\n"
    "    item [0]\n"
    "      Value = 1\n"
    "      Inner = <\n"
    "        item\n"
    "          Deep = 'd'\n"
    "        end>\n"
    "    end\n"
    "    item\n"
    "      Text = 'b'\n"
    "    end>\n"
    "  NoItems = <>\n"
    "  Data = {\n"
    "    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F\n"
    "    FF00}\n"
    "  NoData = {}\n"
    "  object Button1: TOrbButton [0]\n"
    "    Left = 8\n"
    "    object TOrbLabel\n"
    "    end\n"
    "  end\n"
    "  inherited Shared: TOrbButton\n"
    "  end\n"
    "  inline Frame1: TFrame [-1]\n"
    "  end\n"
    "end\n";

TEST(TextForm, TextToBinaryToTextIsLossless) { EXPECT_EQ(viaBinary(kCanonical), kCanonical); }

TEST(TextForm, RoundTripKeepsTheTagsThatMatter) {
    std::vector<uint8_t> bytes = objectTreeToBytes(parseTextForm(kCanonical));
    MemoryView view(bytes);
    ObjectNode root = parseObjectTree(view);
    auto tagOf = [&](const std::string& name) {
        for (const auto& p : root.properties)
            if (p.name == name) return p.get().tag;
        throw std::logic_error("no " + name);
    };
    EXPECT_EQ(tagOf("Greeting"), ValueTag::WString);
    EXPECT_EQ(tagOf("Long"), ValueTag::LString);
    EXPECT_EQ(tagOf("Caption"), ValueTag::String);
    EXPECT_EQ(tagOf("Huge"), ValueTag::Int64);
    EXPECT_EQ(tagOf("Single"), ValueTag::Single);
    EXPECT_EQ(tagOf("Price"), ValueTag::Currency);
    EXPECT_EQ(tagOf("When"), ValueTag::Date);
    EXPECT_EQ(root.children.at(0).header.childPos->integer, 0);
    EXPECT_EQ(root.children.at(1).header.flags, kFilerInherited);
    EXPECT_EQ(root.children.at(2).header.flags & kFilerInline, kFilerInline);
}

// Whatever nesting the binary reader accepts, the decompiled text must compile again.
TEST(TextForm, DeepestBinaryNestingSurvivesTheText) {
    ObjectNode root = mainForm({});
    ObjectNode* at = &root;
    for (int i = 0; i < kMaxNesting; ++i) {
        at->children.push_back(object("TOrbTextBox", "B" + std::to_string(i)));
        at = &at->children.back();
    }
    Value lists = listOf({});
    for (int i = 0; i < kMaxNesting; ++i) lists = listOf({lists});
    root.properties.push_back(prop("Deep", lists));
    std::vector<uint8_t> bytes = objectTreeToBytes(root);
    MemoryView view(bytes);
    std::string text = objectTreeToText(parseObjectTree(view));
    EXPECT_EQ(objectTreeToBytes(parseTextForm(text)), bytes);
}

// ---- literals ---------------------------------------------------------------------

struct LiteralCase {
    const char* label;
    std::string text;
    Value expected;
};

void PrintTo(const LiteralCase& c, std::ostream* os) { *os << c.label; }

Value parseLiteral(const std::string& literal) {
    ObjectNode root = parseTextForm("object A: T\n  P = " + literal + "\nend\n");
    if (root.properties.size() != 1) throw std::logic_error("one property expected");
    return root.properties[0].get();
}

class Literal : public ::testing::TestWithParam<LiteralCase> {};

TEST_P(Literal, ParsesToTheTaggedValue) {
    Value v = parseLiteral(GetParam().text);
    EXPECT_TRUE(sameValue(v, GetParam().expected)) << ::testing::PrintToString(v);
}

Value currency(int64_t raw) { return intOf(ValueTag::Currency, raw); }

INSTANTIATE_TEST_SUITE_P(
    Values, Literal,
    ::testing::Values(
        LiteralCase{"AsciiString", "'abc'", str("abc")},
        LiteralCase{"NonAsciiIsWide", "'\xC3\xA9t\xC3\xA9'", wstr(L"\u00E9t\u00E9")},
        LiteralCase{"LongAsciiIsLString", "'" + std::string(256, 'x') + "'", lstr(std::string(256, 'x'))},
        LiteralCase{"ControlCodes", "'a'#13#10'b'", str("a\r\nb")},
        LiteralCase{"HexCodes", "#$41#66", str("AB")},
        LiteralCase{"CodeAbove255IsWide", "#8364", wstr(L"\u20AC")},
        LiteralCase{"DoubledQuote", "''''", str("'")},
        LiteralCase{"PlusJoinsLines", "'x' +\n    'y' + #33", str("xy!")},
        LiteralCase{"Int8", "-128", intOf(ValueTag::Int8, -128)},
        LiteralCase{"Int16", "128", intOf(ValueTag::Int16, 128)},
        LiteralCase{"Int32", "-32769", intOf(ValueTag::Int32, -32769)},
        LiteralCase{"Int64", "2147483648", intOf(ValueTag::Int64, 2147483648)},
        LiteralCase{"Hex", "$FF", intOf(ValueTag::Int16, 255)},
        LiteralCase{"NegativeHex", "-$10", intOf(ValueTag::Int8, -16)},
        LiteralCase{"Extended", "1.5", realOf(ValueTag::Extended, 1.5)},
        LiteralCase{"Exponent", "1e3", realOf(ValueTag::Extended, 1000)},
        LiteralCase{"Single", "0.5s", realOf(ValueTag::Single, 0.5)},
        LiteralCase{"CurrencyTwoDecimals", "12.34c", currency(123400)},
        LiteralCase{"CurrencyWhole", "5c", currency(50000)},
        LiteralCase{"CurrencyNegative", "-0.0001c", currency(-1)},
        LiteralCase{"CurrencyMax", "922337203685477.5807c", currency(INT64_MAX)},
        LiteralCase{"CurrencyMin", "-922337203685477.5808c", currency(INT64_MIN)},
        LiteralCase{"Date", "2.5d", realOf(ValueTag::Date, 2.5)},
        LiteralCase{"Set", "[fsBold,fsItalic]", setOf({"fsBold", "fsItalic"})},
        LiteralCase{"EmptySet", "[ ]", setOf({})},
        LiteralCase{"List", "(1 'a'\n nil)", listOf({intOf(ValueTag::Int8, 1), str("a"), nil()})},
        LiteralCase{"HexBlockWithSpaces", "{00 ff\n   10}", binary("\x00\xFF\x10"s)},
        LiteralCase{"TrueAnyCase", "true", boolean(true)},
        LiteralCase{"Nil", "nil", nil()},
        LiteralCase{"Null", "Null", tagged(ValueTag::Null)},
        LiteralCase{"Ident", "clRed", ident("clRed")},
        LiteralCase{"DottedIdent", "Some.Thing", ident("Some.Thing")},
        LiteralCase{"CollectionIndexAndComment",
                    "<\n item [2] // the third\n  A = 1\n end>",
                    collectionOf({item({prop("A", intOf(ValueTag::Int8, 1))}, intOf(ValueTag::Int8, 2))})}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(TextForm, ByteOrderMarkAndCommentsAreNotContent) {
    ObjectNode root = parseTextForm("\xEF\xBB\xBF// a project\nobject A: T // the window\n  X = 1 // one\nend\n");
    EXPECT_EQ(root.header.name, "A");
    ASSERT_EQ(root.properties.size(), 1u);
    EXPECT_EQ(root.properties[0].get().integer, 1);
}

TEST(TextForm, PropertiesRememberTheirLines) {
    ObjectNode root = parseTextForm("object A: T\n  X = 1\n\n  Y = (\n    1\n    2)\n  object B: U\n    Z = 'z'\n  end\nend\n");
    EXPECT_EQ(root.header.line, 1);
    EXPECT_EQ(root.properties.at(0).line, 2);
    EXPECT_EQ(root.properties.at(1).line, 4);
    EXPECT_EQ(root.children.at(0).header.line, 7);
    EXPECT_EQ(root.children.at(0).properties.at(0).line, 8);
    EXPECT_EQ(root.endLine, 10);
}

// ---- errors ----------------------------------------------------------------------

struct ErrorCase {
    const char* label;
    std::string text;
    int line;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.label; }

class TextError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(TextError, ReportsTheLine) {
    const auto& c = GetParam();
    try {
        parseTextForm(c.text);
        FAIL() << "parsed";
    } catch (const TextFormError& e) {
        EXPECT_EQ(e.line(), c.line) << e.what();
        EXPECT_EQ(std::string(e.what()).rfind("line " + std::to_string(c.line) + ": ", 0), 0u) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Text, TextError,
    ::testing::Values(
        ErrorCase{"NotAnObject", "thing A: T\nend\n", 1},
        ErrorCase{"UnterminatedString", "object A: T\n  X = 1\n  Y = 'abc\nend\n", 3},
        ErrorCase{"MissingEnd", "object A: T\n  X = 1\n  object B: T\n  end\n", 5},
        ErrorCase{"MissingEquals", "object A: T\n  X 1\nend\n", 2},
        ErrorCase{"NoValue", "object A: T\n  X = )\nend\n", 2},
        ErrorCase{"NumberOutOfRange", "object A: T\n  X = 99999999999999999999\nend\n", 2},
        ErrorCase{"BadHexNumber", "object A: T\n  X = $\nend\n", 2},
        ErrorCase{"CurrencyFiveDecimals", "object A: T\n\n  X = 1.23456c\nend\n", 3},
        ErrorCase{"CurrencyOutOfRange", "object A: T\n  X = 922337203685477.5808c\nend\n", 2},
        ErrorCase{"CurrencyFarOutOfRange", "object A: T\n  X = 99999999999999999999999c\nend\n", 2},
        ErrorCase{"SingleOutOfRange", "object A: T\n  X = 1e39s\nend\n", 2},
        ErrorCase{"FloatOutOfRange", "object A: T\n  X = 1e999\nend\n", 2},
        ErrorCase{"CharacterCodeAbove16Bits", "object A: T\n  X = #70000\nend\n", 2},
        ErrorCase{"CharacterCodeWithManyDigits", "object A: T\n  X = 'a'#999999999999999999999999\nend\n", 2},
        ErrorCase{"CharacterCodeMissing", "object A: T\n  X = #\nend\n", 2},
        ErrorCase{"OddHexDigits", "object A: T\n  X = {0F0}\nend\n", 2},
        ErrorCase{"BadHexDigit", "object A: T\n  X = {\n    0G}\nend\n", 3},
        ErrorCase{"UnterminatedHex", "object A: T\n  X = {00\n  11\n", 2},
        ErrorCase{"SetWithoutComma", "object A: T\n  X = [a b]\nend\n", 2},
        ErrorCase{"NullInsideAList", "object A: T\n  X = (\n    1\n    null)\nend\n", 4},
        ErrorCase{"ListNeverClosed", "object A: T\n  X = (1\n  2\n", 4},
        ErrorCase{"ItemWithoutEnd", "object A: T\n  X = <item\n    Y = 1\n  >\nend\n", 4},
        ErrorCase{"ItemIndexNotANumber", "object A: T\n  X = <item [a] end>\nend\n", 2},
        ErrorCase{"ChildPositionNotANumber", "object A: T\n  object B: T [x]\n  end\nend\n", 2},
        ErrorCase{"TextAfterTheLastEnd", "object A: T\nend\nobject B: T\nend\n", 3},
        ErrorCase{"IdentifierTooLong", "object A: T\n  X = " + std::string(256, 'i') + "\nend\n", 2},
        ErrorCase{"ObjectsTooDeep",
                  [] {
                      std::string t;
                      for (int i = 0; i <= kMaxNesting; ++i) t += "object A: T\n";
                      return t + "object B: T\n";
                  }(),
                  kMaxNesting + 2},
        ErrorCase{"ListsTooDeep", "object A: T\n  X = " + std::string(100000, '(') + "\nend\n", 2},
        ErrorCase{"CollectionsTooDeep",
                  [] {
                      std::string t = "object A: T\n  X = ";
                      for (int i = 0; i < 20000; ++i) t += "<item Y = ";
                      return t + "1\nend\n";
                  }(),
                  2},
        ErrorCase{"MissingFile", "object A: T\n  X = 1\n  Y = file('no such file.bin')\nend\n", 3}),
    [](const auto& info) { return std::string(info.param.label); });

// ---- embedded files ---------------------------------------------------------------

class Embedding : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("orb-text-form-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir / "art");
        write("art/pic.bmp", bmp);
        write("pic.png", png);
        write("anim.gif", gif);
        write("photo.jpg", jpg);
        write("app.ico", ico);
        write("busy.ani", ani);
        write("vector.emf", emf);
        write("music.wav", wav);
        write("notes.txt", txt);
    }
    void TearDown() override { fs::remove_all(dir); }
    void write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
    }
    std::string embedded(const std::string& expression) {
        ObjectNode root = parseTextForm("object A: T\n  P = " + expression + "\nend\n", dir);
        return root.properties.at(0).get().bytes;
    }

    fs::path dir;
    // Just enough of each format for its signature to be recognised.
    const std::string bmp = "BM" + le32(30) + std::string(24, '\x11');
    const std::string png = "\x89PNG\r\n\x1A\n"s + std::string(20, '\x22');
    const std::string gif = "GIF89a"s + std::string(10, '\x33');
    const std::string jpg = "\xFF\xD8\xFF\xE0"s + std::string(10, '\x44') + "\xFF\xD9"s;
    const std::string ico = "\0\0\1\0\1\0"s + std::string(16, '\x55');
    const std::string ani = "RIFF"s + le32(4) + "ACON" + std::string(8, '\x66');
    const std::string emf = "\1\0\0\0"s + std::string(36, '\0') + " EMF" + std::string(8, '\x77');
    const std::string wav = "RIFF"s + le32(40) + "WAVEfmt " + std::string(40, '\x01');
    const std::string txt = "just text\n";
};

TEST_F(Embedding, PictureNamesTheGraphicClassAndAddsItsOwnFraming) {
    struct Case {
        std::string file, className, own;
    };
    for (const auto& c : std::vector<Case>{{"art/pic.bmp", "TBitmap", le32(bmp.size()) + bmp},
                                           {"pic.png", "TPNGObject", png},
                                           {"anim.gif", "TGIFImage", le32(gif.size()) + gif},
                                           {"photo.jpg", "TJPEGImage", le32(jpg.size()) + jpg},
                                           {"app.ico", "TIcon", ico},
                                           {"busy.ani", "TJvAni", ani},
                                           {"vector.emf", "TMetafile", le32(emf.size() + 4) + emf}}) {
        EXPECT_EQ(embedded("picture('" + c.file + "')"), shortString(c.className) + c.own) << c.file;
        EXPECT_EQ(embedded("graphic('" + c.file + "')"), c.own) << c.file;
    }
}

TEST_F(Embedding, DataAndFileEmbedAnyBytes) {
    EXPECT_EQ(embedded("data('music.wav')"), le32(wav.size()) + wav);
    EXPECT_EQ(embedded("file('notes.txt')"), txt);
    EXPECT_EQ(embedded("file('" + (dir / "notes.txt").string() + "')"), txt);
}

TEST_F(Embedding, AFileThatIsNoPictureIsAnErrorOnItsLine) {
    try {
        parseTextForm("object A: T\n  X = 1\n  P = picture('notes.txt')\nend\n", dir);
        FAIL() << "parsed";
    } catch (const TextFormError& e) {
        EXPECT_EQ(e.line(), 3);
    }
}

TEST_F(Embedding, AnEmbeddingProjectLoadsIntoTheWindow) {
    ObjectNode root = parseTextForm(
        "object frmMain: TfrmMain\n"
        "  Picture.Data = picture('art/pic.bmp')\n"
        "  Splash.Data = picture('pic.png')\n"
        "  Icon.Data = graphic('app.ico')\n"
        "  StartupSound.Data = data('music.wav')\n"
        "end\n",
        dir);
    auto form = newMainWindow();
    readInto(*form, root);
    EXPECT_EQ(form->picture.graphicClassName(), "TBitmap");
    EXPECT_EQ(stringOfBytes(form->picture.graphic()->fileBytes()), bmp);
    EXPECT_EQ(stringOfBytes(form->splash.graphic()->fileBytes()), png);
    EXPECT_EQ(stringOfBytes(form->icon.fileBytes()), ico);
    EXPECT_EQ(stringOfBytes(form->startupSound.bytes()), wav);
}

// A function name is only a function when a parenthesis follows.
TEST(TextForm, FunctionNamesAreIdentifiersOtherwise) {
    EXPECT_TRUE(sameValue(parseLiteral("file"), ident("file")));
    EXPECT_TRUE(sameValue(parseLiteral("picture"), ident("picture")));
    EXPECT_TRUE(sameValue(parseLiteral("(data ('x'))"), listOf({ident("data"), listOf({str("x")})})));
}

}  // namespace
}  // namespace orbtest
