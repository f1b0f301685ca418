#include "core/TextForm.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>

#include "core/Text.h"

namespace orb {

// ---- writing ----------------------------------------------------------------

namespace {

std::string formatDouble(double v) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, end);
    if (s.find_first_of(".eEn") == std::string::npos) s += ".0";  // keep it a float when read back
    return s;
}

std::string formatFloat(float v) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, end);
    if (s.find_first_of(".eEn") == std::string::npos) s += ".0";
    return s;
}

std::string formatCurrency(int64_t raw) {
    bool neg = raw < 0;
    uint64_t mag = neg ? uint64_t(0) - static_cast<uint64_t>(raw) : static_cast<uint64_t>(raw);
    std::string s = std::to_string(mag / 10000) + "." + std::to_string(10000 + mag % 10000).substr(1);
    return (neg ? "-" : "") + s;
}

// Quoted runs for printable text, #n for control characters and lone surrogates.
std::string quote(std::wstring_view text) {
    if (text.empty()) return "''";
    std::string out;
    bool inQuote = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = static_cast<char16_t>(text[i]);
        bool pair = c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && static_cast<char16_t>(text[i + 1]) >= 0xDC00 &&
                    static_cast<char16_t>(text[i + 1]) < 0xE000;
        bool lone = !pair && c >= 0xD800 && c < 0xE000;
        if (c < 32 || lone || c == 0x7F) {
            if (inQuote) out += '\'';
            inQuote = false;
            out += '#' + std::to_string(c);
            continue;
        }
        if (!inQuote) out += '\'';
        inQuote = true;
        if (c == '\'') out += "''";
        else out += utf16ToUtf8(text.substr(i, pair ? 2 : 1));
        if (pair) ++i;
    }
    if (inQuote) out += '\'';
    return out;
}

std::string hexLines(const std::string& bytes, const std::string& indent) {
    static const char* digits = "0123456789ABCDEF";
    std::string out = "{";
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 32 == 0) out += "\n" + indent + "  ";
        auto b = static_cast<uint8_t>(bytes[i]);
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    out += "}";
    return out;
}

void writeValueText(std::string& out, const Value& v, const std::string& indent);

void writeProps(std::string& out, const std::vector<NamedValue>& props, const std::string& indent) {
    for (const auto& p : props) {
        out += indent + p.name + " = ";
        writeValueText(out, p.get(), indent);
        out += "\n";
    }
}

void writeValueText(std::string& out, const Value& v, const std::string& indent) {
    switch (v.tag) {
        case ValueTag::Null: out += "Null"; break;
        case ValueTag::Nil: out += "nil"; break;
        case ValueTag::False: out += "False"; break;
        case ValueTag::True: out += "True"; break;
        case ValueTag::Int8:
        case ValueTag::Int16:
        case ValueTag::Int32:
        case ValueTag::Int64: out += std::to_string(v.integer); break;
        case ValueTag::Extended: out += formatDouble(v.real); break;
        case ValueTag::Single: out += formatFloat(static_cast<float>(v.real)) + "s"; break;
        case ValueTag::Currency: out += formatCurrency(v.integer) + "c"; break;
        case ValueTag::Date: out += formatDouble(v.real) + "d"; break;
        case ValueTag::Ident: out += v.bytes; break;
        case ValueTag::String:
        case ValueTag::LString:
        case ValueTag::WString:
        case ValueTag::Utf8String: out += quote(v.asWide()); break;
        case ValueTag::Binary: out += hexLines(v.bytes, indent); break;
        case ValueTag::Set: {
            out += "[";
            for (size_t i = 0; i < v.set.size(); ++i) out += (i ? ", " : "") + v.set[i];
            out += "]";
            break;
        }
        case ValueTag::List:
            out += "(";
            for (const auto& item : v.list) {
                out += "\n" + indent + "  ";
                writeValueText(out, item, indent + "  ");
            }
            out += ")";
            break;
        case ValueTag::Collection:
            out += "<";
            for (const auto& item : v.items) {
                out += "\n" + indent + "  item";
                if (!item.index.empty()) out += " [" + std::to_string(item.index.front().integer) + "]";
                out += "\n";
                writeProps(out, item.properties, indent + "    ");
                out += indent + "  end";
            }
            out += ">";
            break;
    }
}

void writeNodeText(std::string& out, const ObjectNode& node, const std::string& indent) {
    const auto& h = node.header;
    out += indent;
    out += (h.flags & kFilerInherited) ? "inherited " : (h.flags & kFilerInline) ? "inline " : "object ";
    if (!h.name.empty()) out += h.name + ": ";
    out += h.className;
    if (h.childPos) out += " [" + std::to_string(h.childPos->integer) + "]";
    out += "\n";
    writeProps(out, node.properties, indent + "  ");
    for (const auto& child : node.children) writeNodeText(out, child, indent + "  ");
    out += indent + "end\n";
}

}  // namespace

std::string objectTreeToText(const ObjectNode& root) {
    std::string out;
    writeNodeText(out, root, "");
    return out;
}

// ---- embedded files ---------------------------------------------------------

std::string graphicClassForFile(const std::string& b) {
    auto starts = [&](const char* sig, size_t n, size_t at = 0) {
        return b.size() >= at + n && std::memcmp(b.data() + at, sig, n) == 0;
    };
    if (starts("BM", 2)) return "TBitmap";
    if (starts("\x89PNG\r\n\x1a\n", 8)) return "TPNGObject";
    if (starts("\xFF\xD8", 2)) return "TJPEGImage";
    if (starts("GIF8", 4)) return "TGIFImage";
    if (starts("\0\0\1\0", 4)) return "TIcon";
    if (starts("RIFF", 4) && starts("ACON", 4, 8)) return "TJvAni";
    if (starts(" EMF", 4, 40)) return "TMetafile";
    return {};
}

namespace {
std::string le32(size_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
    return s;
}
}  // namespace

std::string graphicOwnData(const std::string& cls, const std::string& file) {
    if (cls == "TBitmap" || cls == "TJPEGImage" || cls == "TGIFImage") return le32(file.size()) + file;
    if (cls == "TMetafile") return le32(file.size() + 4) + file;
    return file;
}

// ---- parsing ----------------------------------------------------------------

namespace {

enum class Tok { End, Ident, Int, Float, String, Symbol, Hex };

struct Token {
    Tok kind = Tok::End;
    std::string text;  // identifier, symbol, hex digits, number text (with suffix)
    std::wstring wide;  // String
    int line = 1;
};

class Lexer {
public:
    explicit Lexer(std::string_view s) : s_(s) {}
    // The character right after the token just read, before any space.
    bool nextCharIs(char c) const { return pos_ < s_.size() && s_[pos_] == c; }

    Token next() {
        skipSpace();
        Token t;
        t.line = line_;
        if (pos_ >= s_.size()) return t;
        char c = s_[pos_];
        if (isIdentStart(c)) {
            size_t start = pos_;
            while (pos_ < s_.size() && (isIdentStart(s_[pos_]) || isDigit(s_[pos_]) || s_[pos_] == '.')) ++pos_;
            t.kind = Tok::Ident;
            t.text = s_.substr(start, pos_ - start);
            return t;
        }
        if (isDigit(c) || c == '-' || c == '+' || c == '$') {
            if ((c == '-' || c == '+') && (pos_ + 1 >= s_.size() || !(isDigit(s_[pos_ + 1]) || s_[pos_ + 1] == '$'))) {
                ++pos_;
                t.kind = Tok::Symbol;
                t.text = std::string(1, c);
                return t;
            }
            size_t start = pos_;
            ++pos_;
            bool hex = c == '$' || (pos_ < s_.size() && s_[pos_] == '$');
            if (hex && c != '$') ++pos_;
            bool isFloat = false;
            while (pos_ < s_.size()) {
                char d = s_[pos_];
                if (isDigit(d) || (hex && isxdigit(static_cast<unsigned char>(d)))) { ++pos_; continue; }
                if (!hex && (d == '.' || d == 'e' || d == 'E')) {
                    isFloat = true;
                    ++pos_;
                    if ((d == 'e' || d == 'E') && pos_ < s_.size() && (s_[pos_] == '-' || s_[pos_] == '+')) ++pos_;
                    continue;
                }
                break;
            }
            if (!hex && pos_ < s_.size() && (s_[pos_] == 's' || s_[pos_] == 'c' || s_[pos_] == 'd')) {
                isFloat = true;
                ++pos_;
            }
            t.kind = isFloat ? Tok::Float : Tok::Int;
            t.text = s_.substr(start, pos_ - start);
            return t;
        }
        if (c == '\'' || c == '#') {
            t.kind = Tok::String;
            t.wide = readString();
            return t;
        }
        if (c == '{') {
            ++pos_;
            t.kind = Tok::Hex;
            while (pos_ < s_.size() && s_[pos_] != '}') {
                char d = s_[pos_++];
                if (d == '\n') ++line_;
                if (isxdigit(static_cast<unsigned char>(d))) t.text += d;
                else if (!isspace(static_cast<unsigned char>(d))) throw TextFormError(line_, "bad character in hex data");
            }
            if (pos_ >= s_.size()) throw TextFormError(t.line, "unterminated hex data");
            ++pos_;
            if (t.text.size() % 2) throw TextFormError(t.line, "hex data with an odd number of digits");
            return t;
        }
        ++pos_;
        t.kind = Tok::Symbol;
        t.text = std::string(1, c);
        return t;
    }

private:
    static bool isIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    void skipSpace() {
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (c == '\n') { ++line_; ++pos_; }
            else if (c == ' ' || c == '\t' || c == '\r') ++pos_;
            else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/') {
                while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
            } else break;
        }
    }

    // 'quoted' and #n parts side by side, and '+' joining them across lines.
    std::wstring readString() {
        std::wstring out;
        for (;;) {
            if (pos_ < s_.size() && s_[pos_] == '\'') {
                ++pos_;
                size_t start = pos_;
                std::string run;
                for (;;) {
                    if (pos_ >= s_.size() || s_[pos_] == '\n') throw TextFormError(line_, "unterminated string");
                    if (s_[pos_] == '\'') {
                        if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
                            run += s_.substr(start, pos_ + 1 - start);
                            pos_ += 2;
                            start = pos_;
                            continue;
                        }
                        run += s_.substr(start, pos_ - start);
                        ++pos_;
                        break;
                    }
                    ++pos_;
                }
                out += utf8ToUtf16(run);
            } else if (pos_ < s_.size() && s_[pos_] == '#') {
                ++pos_;
                size_t start = pos_;
                bool hex = pos_ < s_.size() && s_[pos_] == '$';
                if (hex) ++pos_;
                while (pos_ < s_.size() && (isDigit(s_[pos_]) || (hex && isxdigit(static_cast<unsigned char>(s_[pos_])))))
                    ++pos_;
                std::string digits(s_.substr(start + (hex ? 1 : 0), pos_ - start - (hex ? 1 : 0)));
                if (digits.empty()) throw TextFormError(line_, "character code expected after #");
                unsigned long code = 0;
                auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
                if (parsed.ec != std::errc() || code > 0xFFFF) throw TextFormError(line_, "character code out of range");
                out += static_cast<wchar_t>(code);
            } else {
                // A '+' continues the string on the next line.
                size_t save = pos_;
                int saveLine = line_;
                skipSpace();
                if (pos_ < s_.size() && s_[pos_] == '+') {
                    ++pos_;
                    skipSpace();
                    if (pos_ < s_.size() && (s_[pos_] == '\'' || s_[pos_] == '#')) continue;
                }
                pos_ = save;
                line_ = saveLine;
                return out;
            }
        }
    }

    std::string_view s_;
    size_t pos_ = 0;
    int line_ = 1;
};

class Parser {
public:
    Parser(std::string_view text, std::filesystem::path baseDir) : lex_(text), baseDir_(std::move(baseDir)) { advance(); }

    ObjectNode parseRoot() {
        ObjectNode root = parseObject();
        if (tok_.kind != Tok::End) fail("text after the last end");
        return root;
    }

private:
    [[noreturn]] void fail(const std::string& message) { throw TextFormError(tok_.line, message); }
    void advance() { tok_ = lex_.next(); }
    bool isSymbol(const char* s) const { return tok_.kind == Tok::Symbol && tok_.text == s; }
    bool isWord(const char* w) const { return tok_.kind == Tok::Ident && equalsIgnoreCaseAscii(tok_.text, w); }
    void expectSymbol(const char* s) {
        if (!isSymbol(s)) fail(std::string("'") + s + "' expected");
        advance();
    }
    std::string expectIdent(const char* what) {
        if (tok_.kind != Tok::Ident) fail(std::string(what) + " expected");
        std::string s = tok_.text;
        advance();
        return s;
    }

    Value integerToken(const std::string& text) {
        bool neg = !text.empty() && text[0] == '-';
        std::string digits = text.substr(neg || text[0] == '+' ? 1 : 0);
        bool hex = !digits.empty() && digits[0] == '$';
        if (hex) digits.erase(0, 1);
        uint64_t mag = 0;
        auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), mag, hex ? 16 : 10);
        if (ec != std::errc() || p != digits.data() + digits.size()) fail("bad number " + text);
        if (mag > (neg ? uint64_t{1} << 63 : uint64_t(INT64_MAX))) fail("number out of range " + text);
        return Value::ofInt(neg ? static_cast<int64_t>(uint64_t(0) - mag) : static_cast<int64_t>(mag));
    }

    Value floatToken(std::string text) {
        Value v;
        char suffix = text.back();
        v.tag = ValueTag::Extended;
        if (suffix == 's' || suffix == 'c' || suffix == 'd') {
            text.pop_back();
            v.tag = suffix == 's' ? ValueTag::Single : suffix == 'c' ? ValueTag::Currency : ValueTag::Date;
        }
        double d = 0;
        auto [p, ec] = std::from_chars(text.data() + (text[0] == '+' ? 1 : 0), text.data() + text.size(), d);
        if (ec != std::errc() || p != text.data() + text.size()) fail("bad number " + text);
        // A single beyond its range would be stored as infinity, which the text cannot give back.
        if (v.tag == ValueTag::Single && std::fabs(d) > std::numeric_limits<float>::max()) fail("number out of range " + text);
        if (v.tag == ValueTag::Currency) {
            // Exact to four decimals, as the format keeps it; the scaled value must fit 64 bits.
            bool neg = text[0] == '-';
            std::string_view digits(text);
            if (text[0] == '-' || text[0] == '+') digits.remove_prefix(1);
            auto dot = digits.find('.');
            std::string_view whole = digits.substr(0, dot);
            std::string frac(dot == std::string_view::npos ? std::string_view() : digits.substr(dot + 1));
            if (frac.size() > 4 || text.find_first_of("eE") != std::string::npos) fail("currency takes at most four decimals");
            frac.resize(4, '0');
            uint64_t units = 0, fraction = 0;
            bool wholeOk = whole.empty() || std::from_chars(whole.data(), whole.data() + whole.size(), units).ec == std::errc();
            std::from_chars(frac.data(), frac.data() + frac.size(), fraction);
            uint64_t limit = neg ? uint64_t{1} << 63 : uint64_t(INT64_MAX);
            if (!wholeOk || units > (limit - fraction) / 10000) fail("number out of range " + text);
            uint64_t magnitude = units * 10000 + fraction;
            v.integer = neg ? static_cast<int64_t>(uint64_t(0) - magnitude) : static_cast<int64_t>(magnitude);
        } else {
            v.real = d;
        }
        return v;
    }

    static Value stringValue(std::wstring text) {
        bool ascii = true;
        for (wchar_t c : text)
            if (static_cast<char16_t>(c) >= 128) ascii = false;
        Value v;
        if (!ascii) return Value::ofWide(std::move(text));
        v.bytes.assign(text.begin(), text.end());
        v.tag = v.bytes.size() <= 255 ? ValueTag::String : ValueTag::LString;
        return v;
    }

    std::string embeddedFile(const std::string& function) {
        advance();  // the function name
        expectSymbol("(");
        if (tok_.kind != Tok::String) fail(function + "() takes a file path in quotes");
        std::filesystem::path path = std::filesystem::path(utf16ToUtf8(tok_.wide));
        int line = tok_.line;
        advance();
        expectSymbol(")");
        if (path.is_relative()) path = baseDir_ / path;
        std::ifstream in(path, std::ios::binary);
        if (!in) throw TextFormError(line, "cannot read " + path.string());
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (function == "file") return bytes;
        if (function == "data") return le32(bytes.size()) + bytes;
        std::string cls = graphicClassForFile(bytes);
        if (cls.empty()) throw TextFormError(line, path.string() + " is not a picture kind a project can hold");
        std::string own = graphicOwnData(cls, bytes);
        if (function == "graphic") return own;
        return std::string(1, static_cast<char>(cls.size())) + cls + own;
    }

    Value parseValue() {
        // Lists and collections nest no deeper than the binary reader takes them; a
        // recursive parser would run out of stack long before the text runs out.
        if (valueDepth_ > kMaxNesting) fail("values nested too deeply");
        Value v;
        switch (tok_.kind) {
            case Tok::Int: v = integerToken(tok_.text); advance(); return v;
            case Tok::Float: v = floatToken(tok_.text); advance(); return v;
            case Tok::String: v = stringValue(tok_.wide); advance(); return v;
            case Tok::Hex: {
                std::string bytes;
                for (size_t i = 0; i < tok_.text.size(); i += 2)
                    bytes.push_back(static_cast<char>(std::stoi(tok_.text.substr(i, 2), nullptr, 16)));
                advance();
                return Value::ofBinary(std::move(bytes));
            }
            case Tok::Ident: {
                std::string word = tok_.text;
                // A call only with its parenthesis right after the name: the printer puts a
                // line break between list items, so an identifier of the same name followed
                // by a nested list still reads back as an identifier.
                if ((word == "file" || word == "data" || word == "graphic" || word == "picture") && lex_.nextCharIs('('))
                    return Value::ofBinary(embeddedFile(word));
                if (word.size() > 255) fail("identifier too long");
                advance();
                if (equalsIgnoreCaseAscii(word, "True")) return Value::ofBool(true);
                if (equalsIgnoreCaseAscii(word, "False")) return Value::ofBool(false);
                if (equalsIgnoreCaseAscii(word, "nil")) { v.tag = ValueTag::Nil; return v; }
                if (equalsIgnoreCaseAscii(word, "Null")) { v.tag = ValueTag::Null; return v; }
                return Value::ofIdent(word);
            }
            case Tok::Symbol:
                if (isSymbol("[")) {
                    advance();
                    v.tag = ValueTag::Set;
                    while (!isSymbol("]")) {
                        v.set.push_back(expectIdent("set member"));
                        if (isSymbol(",")) advance();
                        else if (!isSymbol("]")) fail("',' or ']' expected");
                    }
                    advance();
                    return v;
                }
                if (isSymbol("(")) {
                    advance();
                    v.tag = ValueTag::List;
                    ++valueDepth_;
                    while (!isSymbol(")")) {
                        if (tok_.kind == Tok::End) fail("')' expected");
                        // Its tag is the byte that ends a list in the binary form.
                        if (isWord("Null")) fail("Null cannot stand in a list");
                        v.list.push_back(parseValue());
                    }
                    --valueDepth_;
                    advance();
                    return v;
                }
                if (isSymbol("<")) {
                    advance();
                    v.tag = ValueTag::Collection;
                    ++valueDepth_;
                    while (!isSymbol(">")) {
                        if (!isWord("item")) fail("'item' or '>' expected");
                        advance();
                        CollectionItem item;
                        if (isSymbol("[")) {
                            advance();
                            if (tok_.kind != Tok::Int) fail("item index expected");
                            Value index = integerToken(tok_.text);
                            if (index.tag == ValueTag::Int64) fail("item index out of range");
                            item.index.push_back(index);
                            advance();
                            expectSymbol("]");
                        }
                        while (!isWord("end")) item.properties.push_back(parseProperty());
                        advance();
                        v.items.push_back(std::move(item));
                    }
                    --valueDepth_;
                    advance();
                    return v;
                }
                break;
            case Tok::End: break;
        }
        fail("value expected");
    }

    NamedValue parseProperty() {
        int line = tok_.line;
        if (tok_.kind != Tok::Ident) fail("property name or 'end' expected");
        std::string name = tok_.text;
        if (name.size() > 255) fail("property name too long");
        advance();
        expectSymbol("=");
        return makeNamed(std::move(name), parseValue(), line);
    }

    ObjectNode parseObject() {
        ObjectNode node;
        node.header.line = tok_.line;
        if (isWord("inherited")) node.header.flags = kFilerInherited;
        else if (isWord("inline")) node.header.flags = kFilerInline;
        else if (!isWord("object")) fail("'object' expected");
        advance();
        std::string first = expectIdent("component name or class name");
        if (isSymbol(":")) {
            advance();
            node.header.name = first;
            node.header.className = expectIdent("class name");
        } else {
            node.header.className = first;
        }
        if (isSymbol("[")) {
            advance();
            if (tok_.kind != Tok::Int) fail("child position expected");
            Value pos = integerToken(tok_.text);
            if (pos.tag == ValueTag::Int64) fail("child position out of range");
            node.header.childPos = pos;
            node.header.flags |= kFilerChildPos;
            advance();
            expectSymbol("]");
        }
        // The root is level 0, as in the binary reader, so whatever it reads the text can hold.
        if (depth_++ > kMaxNesting) throw TextFormError(node.header.line, "objects nested too deeply");
        for (;;) {
            if (isWord("end")) {
                node.endLine = tok_.line;
                advance();
                break;
            }
            if (isWord("object") || isWord("inherited") || isWord("inline")) {
                Lexer peek = lex_;
                Token after = peek.next();
                if (after.kind == Tok::Ident) {
                    node.children.push_back(parseObject());
                    continue;
                }
            }
            if (tok_.kind == Tok::End) fail("'end' expected");
            node.properties.push_back(parseProperty());
        }
        --depth_;
        return node;
    }

    Lexer lex_;
    Token tok_;
    std::filesystem::path baseDir_;
    int depth_ = 0;
    int valueDepth_ = 0;
};

}  // namespace

ObjectNode parseTextForm(std::string_view text, const std::filesystem::path& baseDir) {
    // A byte-order mark from an editor is not part of the text.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    return Parser(text, baseDir).parseRoot();
}

}  // namespace orb
