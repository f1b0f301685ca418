#pragma once
// One tagged value of the component stream, kept with its tag so that the
// text form and the binary form convert into each other without loss.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orb {

enum class ValueTag : uint8_t {
    Null = 0,
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,
    String = 6,
    Ident = 7,
    False = 8,
    True = 9,
    Binary = 10,
    Set = 11,
    LString = 12,
    Nil = 13,
    Collection = 14,
    Single = 15,
    Currency = 16,
    Date = 17,
    WString = 18,
    Int64 = 19,
    Utf8String = 20,
};
inline constexpr uint8_t kLastValueTag = 20;

struct Value;

struct NamedValue {
    std::string name;
    std::vector<Value> value;  // exactly one element; a vector because Value is incomplete here
    int line = 0;              // where the text form wrote it; 0 when read from binary
    const Value& get() const { return value.front(); }
};

struct CollectionItem {
    std::vector<Value> index;  // empty, or one integer value
    std::vector<NamedValue> properties;
};

struct Value {
    ValueTag tag = ValueTag::Null;
    int64_t integer = 0;       // Int8..Int32, Int64; Currency as its raw scaled 64-bit value
    double real = 0;           // Extended, Single, Date
    std::string bytes;         // String, LString, Ident, Utf8String, Binary
    std::wstring wide;         // WString
    std::vector<Value> list;   // List
    std::vector<std::string> set;
    std::vector<CollectionItem> items;

    static Value ofInt(int64_t v);  // the smallest integer tag that holds v
    static Value ofIdent(std::string name);
    static Value ofBool(bool v) { Value x; x.tag = v ? ValueTag::True : ValueTag::False; return x; }
    static Value ofWide(std::wstring text);
    static Value ofBinary(std::string bytes);

    bool isInteger() const { return tag == ValueTag::Int8 || tag == ValueTag::Int16 || tag == ValueTag::Int32 || tag == ValueTag::Int64; }
    bool isString() const {
        return tag == ValueTag::String || tag == ValueTag::LString || tag == ValueTag::WString || tag == ValueTag::Utf8String;
    }
    // Text of a string value; 8-bit tags go through the ANSI code page, UTF-8 is decoded.
    std::wstring asWide() const;
    std::string asAnsi() const;
};

NamedValue makeNamed(std::string name, Value value, int line = 0);

// 80-bit extended floats, converted without relying on the compiler's long double.
double extendedToDouble(const uint8_t bytes[10]);
void doubleToExtended(double value, uint8_t bytes[10]);

}  // namespace orb
