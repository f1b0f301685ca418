// The binary component stream: value encodings, the parser's failure modes and
// where it leaves the stream it reads from.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <limits>

#include "AllocationProbe.h"
#include "TestSupport.h"

namespace orbtest {
namespace {

using std::string_literals::operator""s;

std::string hexOf(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        if (!out.empty()) out += ' ';
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string encode(const Value& v) {
    MemoryStream m;
    writeValue(m, v);
    return stringOfBytes(m.bytes());
}

// A root "T" with one property "P" holding the given encoded value.
std::string streamWithValue(const std::string& encodedValue) {
    return "TPF0" + shortString("T") + shortString("N") + shortString("P") + encodedValue + std::string(2, '\0');
}

Value parseSingleValue(const std::string& encodedValue) {
    std::string bytes = streamWithValue(encodedValue);
    MemoryView view({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
    ObjectNode root = parseObjectTree(view);
    EXPECT_EQ(view.position(), static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(root.properties.size(), 1u);
    return root.properties.at(0).get();
}

// ---- encodings ---------------------------------------------------------------

struct EncodingCase {
    const char* label;
    Value value;
    std::string bytes;
};

void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.label; }

class ValueEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(ValueEncoding, WritesTheDocumentedBytesAndParsesThemBack) {
    const auto& c = GetParam();
    EXPECT_EQ(hexOf(encode(c.value)), hexOf(c.bytes));
    Value back = parseSingleValue(c.bytes);
    EXPECT_TRUE(sameValue(back, c.value)) << ::testing::PrintToString(back);
}

INSTANTIATE_TEST_SUITE_P(
    EveryTag, ValueEncoding,
    ::testing::Values(
        EncodingCase{"Null", tagged(ValueTag::Null), "\x00"s},
        EncodingCase{"List", listOf({intOf(ValueTag::Int8, 1), str("a")}), "\x01\x02\x01\x06\x01" "a\x00"s},
        EncodingCase{"Int8", intOf(ValueTag::Int8, -1), "\x02\xFF"s},
        EncodingCase{"Int16", intOf(ValueTag::Int16, 0x1234), "\x03\x34\x12"s},
        EncodingCase{"Int32", intOf(ValueTag::Int32, -2), "\x04\xFE\xFF\xFF\xFF"s},
        EncodingCase{"ExtendedOne", realOf(ValueTag::Extended, 1.0), "\x05\x00\x00\x00\x00\x00\x00\x00\x80\xFF\x3F"s},
        EncodingCase{"ExtendedMinusTwo", realOf(ValueTag::Extended, -2.0),
                     "\x05\x00\x00\x00\x00\x00\x00\x00\x80\x00\xC0"s},
        EncodingCase{"String", str("ab"), "\x06\x02" "ab"s},
        EncodingCase{"Ident", ident("clRed"), "\x07\x05" "clRed"s},
        EncodingCase{"False", boolean(false), "\x08"s},
        EncodingCase{"True", boolean(true), "\x09"s},
        EncodingCase{"Binary", binary("\x01\x00\x02"s), "\x0A\x03\x00\x00\x00\x01\x00\x02"s},
        EncodingCase{"Set", setOf({"fsBold", "x"}), "\x0B\x06" "fsBold\x01x\x00"s},
        EncodingCase{"EmptySet", setOf({}), "\x0B\x00"s},
        EncodingCase{"LString", lstr("ab"), "\x0C\x02\x00\x00\x00" "ab"s},
        EncodingCase{"Nil", nil(), "\x0D"s},
        EncodingCase{"Collection",
                     collectionOf({item({prop("A", intOf(ValueTag::Int8, 1))}, intOf(ValueTag::Int8, 3)),
                                   item({})}),
                     "\x0E\x02\x03\x01\x01" "A\x02\x01\x00\x01\x00\x00"s},
        EncodingCase{"Single", realOf(ValueTag::Single, 1.0), "\x0F\x00\x00\x80\x3F"s},
        EncodingCase{"Currency", intOf(ValueTag::Currency, 10000), "\x10\x10\x27\x00\x00\x00\x00\x00\x00"s},
        EncodingCase{"Date", realOf(ValueTag::Date, 1.0), "\x11\x00\x00\x00\x00\x00\x00\xF0\x3F"s},
        EncodingCase{"WString", wstr(L"A\u00E9"), "\x12\x02\x00\x00\x00\x41\x00\xE9\x00"s},
        EncodingCase{"Int64", intOf(ValueTag::Int64, int64_t{1} << 32), "\x13\x00\x00\x00\x00\x01\x00\x00\x00"s},
        EncodingCase{"Utf8String", utf8("\xC3\xA9"), "\x14\x02\x00\x00\x00\xC3\xA9"s}),
    [](const auto& info) { return std::string(info.param.label); });

// Values at the edges of their encodings survive a write and a parse unchanged.
TEST(ValueRoundTrip, ExtremesOfEveryTagSurvive) {
    std::wstring wide = L"x";
    wide += static_cast<wchar_t>(0xD83D);  // a surrogate pair and a lone high surrogate
    wide += static_cast<wchar_t>(0xDE00);
    wide += static_cast<wchar_t>(0);
    wide += static_cast<wchar_t>(0xD800);
    const std::vector<Value> values = {
        intOf(ValueTag::Int8, -128),
        intOf(ValueTag::Int8, 127),
        intOf(ValueTag::Int16, -32768),
        intOf(ValueTag::Int32, INT32_MIN),
        intOf(ValueTag::Int64, INT64_MIN),
        intOf(ValueTag::Int64, INT64_MAX),
        intOf(ValueTag::Currency, INT64_MIN),
        realOf(ValueTag::Extended, -0.1),
        realOf(ValueTag::Extended, 1e300),
        realOf(ValueTag::Extended, 4.9e-324),  // smallest subnormal double
        realOf(ValueTag::Extended, -0.0),
        realOf(ValueTag::Single, -0.15625),
        realOf(ValueTag::Date, 45000.75),
        str(std::string(255, 'q')),
        lstr(std::string(70000, 'L')),
        utf8("\xF0\x9F\x98\x80"),
        wstr(wide),
        binary(std::string(5000, '\xAB')),
        setOf({"a", std::string(255, 'b')}),
        listOf({listOf({listOf({})}), nil()}),  // a Null would end the list: the format cannot hold one there
        collectionOf({item({prop("Inner", collectionOf({item({prop("X", str("y"))})}))},
                           intOf(ValueTag::Int16, 300)),
                      item({}, intOf(ValueTag::Int32, -70000))}),
    };
    for (const auto& v : values) {
        Value back = parseSingleValue(encode(v));
        EXPECT_TRUE(sameValue(back, v)) << ::testing::PrintToString(v) << " came back as "
                                        << ::testing::PrintToString(back);
    }
}

// A stream as an authoring tool writes it: every feature of the format once.
ObjectNode richTree() {
    ObjectNode child = object("TOrbButton", "Button1", {prop("Left", intOf(ValueTag::Int16, 300))});
    child.header.childPos = intOf(ValueTag::Int8, 0);
    ObjectNode inherited = object("TOrbTextBox", "Box", {prop("Lines.Strings", listOf({str("a"), wstr(L"b")}))},
                                  {object("TOrbButton", "Inner", {prop("Caption", utf8("\xC3\xA9"))})});
    inherited.header.flags = kFilerInherited;
    return mainForm({prop("Caption", wstr(L"Menu")), prop("Font.Style", setOf({"fsBold"})),
                     prop("Picture.Data", binary(std::string(300, '\x01'))), prop("AlphaValue", intOf(ValueTag::Int8, 50)),
                     prop("Items", collectionOf({item({prop("A", realOf(ValueTag::Single, 0.5))})})),
                     prop("Ratio", realOf(ValueTag::Extended, 2.5)), prop("Nothing", nil())},
                    {child, inherited});
}

TEST(ComponentStreamWriter, TreeBytesAreStableThroughAParse) {
    std::vector<uint8_t> bytes = objectTreeToBytes(richTree());
    MemoryView view(bytes);
    ObjectNode back = parseObjectTree(view);
    EXPECT_EQ(objectTreeToBytes(back), bytes);
    EXPECT_EQ(back.children.at(0).header.childPos->integer, 0);
    EXPECT_EQ(back.children.at(1).header.flags, kFilerInherited);
    EXPECT_EQ(back.children.at(1).children.at(0).header.name, "Inner");
}

TEST(ComponentStreamWriter, PrefixByteCarriesTheFlags) {
    struct Case {
        uint8_t flags;
        bool childPos;
        std::string prefix;
    };
    for (const auto& c : std::vector<Case>{{0, false, ""},
                                           {kFilerInherited, false, "\xF1"s},
                                           {0, true, "\xF2\x02\x05"s},
                                           {kFilerInherited, true, "\xF3\x02\x05"s},
                                           {kFilerInline, false, "\xF4"s}}) {
        ObjectNode child = object("TOrbButton", "B");
        child.header.flags = c.flags;
        if (c.childPos) child.header.childPos = intOf(ValueTag::Int8, 5);
        std::string bytes = stringOfBytes(objectTreeToBytes(mainForm({}, {child})));
        std::string expected = "TPF0" + shortString("TfrmMain") + shortString("frmMain") + std::string(1, '\0') +
                               c.prefix + shortString("TOrbButton") + shortString("B") + std::string(3, '\0');
        EXPECT_EQ(hexOf(bytes), hexOf(expected)) << int(c.flags) << " " << c.childPos;
    }
}

TEST(ComponentStreamWriter, RefusesNamesLongerThanAShortString) {
    MemoryStream m;
    EXPECT_THROW(writeShortString(m, std::string(256, 'a')), StreamError);
    EXPECT_THROW(objectTreeToBytes(mainForm({prop(std::string(256, 'P'), intOf(ValueTag::Int8, 1))})), StreamError);
}

// The length byte of a class name shares its place with the prefix byte (0xF0 and up).
TEST(ComponentStreamWriter, ClassNamesStopShortOfThePrefixRange) {
    for (size_t length : {size_t{239}, size_t{240}, size_t{255}}) {
        ObjectNode tree = mainForm({}, {object(std::string(length, 'T'), "Child")});
        if (length < 0xF0) {
            std::vector<uint8_t> bytes = objectTreeToBytes(tree);
            MemoryView view(bytes);
            EXPECT_EQ(parseObjectTree(view).children.at(0).header.className.size(), length);
        } else {
            EXPECT_THROW(objectTreeToBytes(tree), StreamError) << length;
        }
    }
}

// ---- failures -----------------------------------------------------------------

std::string parseFailure(const std::string& bytes) {
    MemoryView view({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
    try {
        parseObjectTree(view);
    } catch (const OrbError& e) {
        return e.what();
    }
    return "no failure";
}

TEST(ComponentStreamParser, WithoutSignatureTheFormatIsInvalid) {
    std::string good = stringOfBytes(objectTreeToBytes(mainForm({})));
    for (std::string head : {"TPF1"s, "tpf0"s, "XXXX"s, "\0\0\0\0"s}) {
        std::string bad = head + good.substr(4);
        EXPECT_EQ(parseFailure(bad), kInvalidStreamFormat) << head;
    }
}

TEST(ComponentStreamParser, EveryTruncationIsAStreamReadError) {
    std::string bytes = stringOfBytes(objectTreeToBytes(richTree()));
    for (size_t cut = 0; cut < bytes.size(); ++cut)
        ASSERT_EQ(parseFailure(bytes.substr(0, cut)), kStreamReadError) << "cut at " << cut << " of " << bytes.size();
}

TEST(ComponentStreamParser, UnknownValueTagIsAnInvalidValue) {
    for (uint8_t tag : {uint8_t{21}, uint8_t{0x7F}, uint8_t{0xFF}})
        EXPECT_EQ(parseFailure(streamWithValue(std::string(1, static_cast<char>(tag)))), kInvalidPropertyValue);
}

TEST(ComponentStreamParser, ChildPositionMustBeAnInteger) {
    std::string head = "TPF0" + shortString("T") + shortString("N") + std::string(1, '\0');
    std::string tail = shortString("TOrbButton") + shortString("B") + std::string(3, '\0');
    EXPECT_EQ(parseFailure(head + "\xF2\x06\x01" "1"s + tail), kInvalidPropertyValue);
    std::string okBytes = head + "\xF2\x04\x07\x00\x00\x00"s + tail;
    MemoryView view({reinterpret_cast<const uint8_t*>(okBytes.data()), okBytes.size()});
    EXPECT_EQ(parseObjectTree(view).children.at(0).header.childPos->integer, 7);
}

TEST(ComponentStreamParser, CollectionItemWithoutListIsAnInvalidValue) {
    EXPECT_EQ(parseFailure(streamWithValue("\x0E\x02\x01\x06\x00\x00"s)), kInvalidPropertyValue);
}

// A claimed length far beyond the data must end in a read error, not in an
// allocation of the claimed size.
TEST(ComponentStreamParser, HugeLengthInASmallStreamFailsWithoutAllocatingIt) {
    for (uint8_t tag : {uint8_t{10}, uint8_t{12}, uint8_t{18}, uint8_t{20}}) {
        for (uint32_t length : {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu}) {
            std::string value = std::string(1, static_cast<char>(tag)) + le32(length) + "only a few bytes";
            LargestAllocation probe;
            EXPECT_EQ(parseFailure(streamWithValue(value)), kStreamReadError) << int(tag) << " " << length;
            EXPECT_LT(probe.bytes(), size_t{16} << 20) << int(tag) << " " << length;
        }
    }
}

TEST(ComponentStreamParser, DeepestAllowedNestingLoadsAndDeeperIsRefused) {
    auto chain = [](int depth) {
        ObjectNode root = mainForm({});
        ObjectNode* at = &root;
        for (int i = 0; i < depth; ++i) {
            at->children.push_back(object("TOrbTextBox", "B" + std::to_string(i)));
            at = &at->children.back();
        }
        return stringOfBytes(objectTreeToBytes(root));
    };
    EXPECT_EQ(parseFailure(chain(kMaxNesting)), "no failure");
    EXPECT_EQ(parseFailure(chain(kMaxNesting + 1)), kInvalidStreamFormat);
}

// Nesting that would exhaust the stack in a recursive reader ends in a clean error.
TEST(ComponentStreamParser, AbsurdNestingEndsInAnError) {
    const size_t depth = 200000;
    EXPECT_EQ(parseFailure(streamWithValue(std::string(depth, '\x01'))), kInvalidStreamFormat);
    std::string collections;
    for (size_t i = 0; i < depth / 8; ++i) collections += "\x0E\x01\x01P"s;
    EXPECT_EQ(parseFailure(streamWithValue(collections)), kInvalidStreamFormat);
    std::string components = "TPF0";
    for (size_t i = 0; i < depth / 8; ++i) components += shortString("T") + shortString("C") + std::string(1, '\0');
    EXPECT_EQ(parseFailure(components), kInvalidStreamFormat);
}

// ---- the stream underneath ----------------------------------------------------

// Hands out at most a few bytes per read, as a slow or chunked source may.
class Trickle final : public Stream {
public:
    explicit Trickle(std::string bytes)
        : bytes_(std::move(bytes)), view_({reinterpret_cast<const uint8_t*>(bytes_.data()), bytes_.size()}) {}
    size_t read(void* buffer, size_t count) override { return view_.read(buffer, std::min<size_t>(count, 3)); }
    int64_t seek(int64_t offset, SeekOrigin origin) override { return view_.seek(offset, origin); }
    int64_t size() override { return view_.size(); }

private:
    std::string bytes_;
    MemoryView view_;
};

// Reads forward only, like an inflating reader.
class ForwardOnly final : public Stream {
public:
    explicit ForwardOnly(std::string bytes)
        : bytes_(std::move(bytes)), view_({reinterpret_cast<const uint8_t*>(bytes_.data()), bytes_.size()}) {}
    size_t read(void* buffer, size_t count) override { return view_.read(buffer, count); }
    int64_t seek(int64_t offset, SeekOrigin origin) override {
        if (offset == 0 && origin == SeekOrigin::Current) return view_.position();
        throw StreamError("Invalid stream operation");
    }

private:
    std::string bytes_;
    MemoryView view_;
};

TEST(ComponentStreamParser, LeavesTheStreamRightAfterTheComponent) {
    for (size_t payload : {size_t{10}, size_t{5000}, size_t{70000}}) {
        std::string component =
            stringOfBytes(objectTreeToBytes(mainForm({prop("Picture.Data", binary(std::string(payload, 'p')))},
                                                     {object("TOrbButton", "B")})));
        for (size_t trailing : {size_t{0}, size_t{1}, size_t{4}, size_t{4103}}) {
            std::string after;
            for (size_t i = 0; i < trailing; ++i) after += static_cast<char>('a' + i % 26);
            std::string bytes = component + after;
            MemoryView view({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
            parseObjectTree(view);
            ASSERT_EQ(view.position(), static_cast<int64_t>(component.size())) << payload << "+" << trailing;
            std::string rest(trailing, '\0');
            EXPECT_EQ(view.read(rest.data(), trailing + 1), trailing);
            EXPECT_EQ(rest, after);
        }
    }
}

TEST(ComponentStreamParser, ShortReadsFromTheSourceChangeNothing) {
    std::vector<uint8_t> bytes = objectTreeToBytes(richTree());
    Trickle trickle(stringOfBytes(bytes) + "tail");
    ObjectNode back = parseObjectTree(trickle);
    EXPECT_EQ(objectTreeToBytes(back), bytes);
    EXPECT_EQ(trickle.position(), static_cast<int64_t>(bytes.size()));
}

TEST(ComponentStreamParser, AForwardOnlySourceMustEndWithTheComponent) {
    std::string component = stringOfBytes(objectTreeToBytes(richTree()));
    ForwardOnly exact(component);
    EXPECT_NO_THROW(parseObjectTree(exact));
    ForwardOnly longer(component + "extra");
    EXPECT_THROW(parseObjectTree(longer), StreamError);
}

}  // namespace
}  // namespace orbtest
