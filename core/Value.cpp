#include "core/Value.h"

#include <cmath>
#include <cstring>

#include "core/Text.h"

namespace orb {

Value Value::ofInt(int64_t v) {
    Value x;
    x.integer = v;
    if (v >= -128 && v <= 127) x.tag = ValueTag::Int8;
    else if (v >= -32768 && v <= 32767) x.tag = ValueTag::Int16;
    else if (v >= INT32_MIN && v <= INT32_MAX) x.tag = ValueTag::Int32;
    else x.tag = ValueTag::Int64;
    return x;
}

Value Value::ofIdent(std::string name) {
    Value x;
    x.tag = ValueTag::Ident;
    x.bytes = std::move(name);
    return x;
}

Value Value::ofWide(std::wstring text) {
    Value x;
    x.tag = ValueTag::WString;
    x.wide = std::move(text);
    return x;
}

Value Value::ofBinary(std::string bytes) {
    Value x;
    x.tag = ValueTag::Binary;
    x.bytes = std::move(bytes);
    return x;
}

std::wstring Value::asWide() const {
    switch (tag) {
        case ValueTag::WString: return wide;
        case ValueTag::Utf8String: return utf8ToUtf16(bytes);
        default: return ansiCodePage().toWide(bytes);
    }
}

std::string Value::asAnsi() const {
    switch (tag) {
        case ValueTag::WString: return ansiCodePage().toAnsi(wide);
        case ValueTag::Utf8String: return ansiCodePage().toAnsi(utf8ToUtf16(bytes));
        default: return bytes;
    }
}

NamedValue makeNamed(std::string name, Value value, int line) {
    NamedValue nv;
    nv.name = std::move(name);
    nv.value.push_back(std::move(value));
    nv.line = line;
    return nv;
}

double extendedToDouble(const uint8_t b[10]) {
    uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | b[i];
    int exponent = ((b[9] & 0x7F) << 8) | b[8];
    bool negative = (b[9] & 0x80) != 0;
    double result;
    if (exponent == 0 && mantissa == 0) {
        result = 0.0;
    } else if (exponent == 0x7FFF) {
        result = (mantissa << 1) == 0 ? INFINITY : NAN;
    } else {
        // value = mantissa * 2^(exponent - 16383 - 63)
        result = std::ldexp(static_cast<double>(mantissa), exponent - 16383 - 63);
    }
    return negative ? -result : result;
}

void doubleToExtended(double value, uint8_t b[10]) {
    std::memset(b, 0, 10);
    bool negative = std::signbit(value);
    int exponent = 0;
    uint64_t mantissa = 0;
    if (std::isnan(value)) {
        exponent = 0x7FFF;
        mantissa = 0xC000000000000000ull;
    } else if (std::isinf(value)) {
        exponent = 0x7FFF;
        mantissa = 0x8000000000000000ull;
    } else if (value != 0.0) {
        int e;
        double frac = std::frexp(std::fabs(value), &e);  // frac in [0.5, 1)
        mantissa = static_cast<uint64_t>(std::ldexp(frac, 64));
        exponent = e - 1 + 16383;
    }
    for (int i = 0; i < 8; ++i) b[i] = static_cast<uint8_t>(mantissa >> (8 * i));
    b[8] = static_cast<uint8_t>(exponent);
    b[9] = static_cast<uint8_t>((exponent >> 8) | (negative ? 0x80 : 0));
}

}  // namespace orb
