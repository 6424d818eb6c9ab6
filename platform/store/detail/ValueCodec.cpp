#include "platform/store/detail/ValueCodec.h"

#include "platform/store/StoreError.h"
#include "platform/store/detail/RunLanguage.h"

#include <sqlite3.h>

namespace platform::store::detail {

namespace {

// `german` and `english` say what is wrong with the value, after "damaged property value: ".
StoreError Damaged(const std::string& german, const std::string& english)
{
    return StoreError(StoreErrorKind::Database,
                      InRunLanguage("beschädigter Eigenschaftswert: " + german,
                                    "damaged property value: " + english),
                      StoreFailure::Damaged);
}

// A damaged text list (a multi-valued string kept as a JSON array), with what is wrong in it.
StoreError DamagedList(const std::string& german, const std::string& english)
{
    return Damaged("die Textliste " + german, "the text list " + english);
}

// SQLite's storage class in words.
std::string ClassWords(int storage, bool german)
{
    switch (storage) {
    case SQLITE_INTEGER:
        return german ? "eine ganze Zahl" : "an integer";
    case SQLITE_FLOAT:
        return german ? "eine Gleitkommazahl" : "a floating-point number";
    case SQLITE_TEXT:
        return german ? "ein Text" : "a text";
    case SQLITE_BLOB:
        return german ? "Binärdaten" : "binary data";
    case SQLITE_NULL:
        return german ? "leer" : "empty";
    }
    return (german ? "Speicherklasse " : "storage class ") + std::to_string(storage);
}

void AppendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

class ListParser
{
public:
    explicit ListParser(std::string_view s) : s_(s) {}

    MultiString Parse()
    {
        MultiString out;
        Expect('[');
        SkipSpace();
        if (Peek() == ']') {
            ++pos_;
            return Finish(out);
        }
        for (;;) {
            out.push_back(String());
            SkipSpace();
            const char c = Next();
            if (c == ']')
                return Finish(out);
            if (c != ',')
                throw DamagedList("hat ein anderes Zeichen als \",\" zwischen zwei Texten",
                                 "has a character other than \",\" between two texts");
        }
    }

private:
    MultiString& Finish(MultiString& out)
    {
        SkipSpace();
        if (pos_ != s_.size())
            throw DamagedList("hat nach ihrem Ende noch Zeichen", "has characters after its end");
        return out;
    }
    void SkipSpace()
    {
        while (pos_ < s_.size() &&
               (s_[pos_] == ' ' || s_[pos_] == '\n' || s_[pos_] == '\t' || s_[pos_] == '\r'))
            ++pos_;
    }
    char Peek() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }
    char Next()
    {
        if (pos_ >= s_.size())
            throw DamagedList("endet vorzeitig", "ends early");
        return s_[pos_++];
    }
    void Expect(char c)
    {
        SkipSpace();
        if (Next() != c)
            throw DamagedList(std::string("hat kein \"") + c + "\", wo eines stehen muss",
                             std::string("lacks a \"") + c + "\" where one must be");
    }
    std::uint32_t Hex4()
    {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = Next();
            v <<= 4;
            if (c >= '0' && c <= '9')
                v |= static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                v |= static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                v |= static_cast<std::uint32_t>(c - 'A' + 10);
            else
                throw DamagedList("hat eine \\u-Folge ohne vier Hexadezimalziffern",
                                 "has a \\u escape without four hex digits");
        }
        return v;
    }
    std::string String()
    {
        Expect('"');
        std::string out;
        for (;;) {
            const char c = Next();
            if (c == '"')
                return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            switch (const char e = Next()) {
            case '"':
            case '\\':
            case '/':
                out += e;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                std::uint32_t cp = Hex4();
                if (cp >= 0xD800 && cp < 0xDC00) {
                    if (Next() != '\\' || Next() != 'u')
                        throw LoneSurrogate();
                    const std::uint32_t lo = Hex4();
                    if (lo < 0xDC00 || lo > 0xDFFF)
                        throw LoneSurrogate();
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
                }
                AppendUtf8(out, cp);
                break;
            }
            default:
                throw DamagedList("hat eine unbekannte \\-Folge", "has an unknown \\ escape");
            }
        }
    }

    static StoreError LoneSurrogate()
    {
        return DamagedList("hat die erste Hälfte eines UTF-16-Paars ohne die zweite",
                           "has the first half of a UTF-16 pair without the second");
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

} // namespace

std::string EncodeStringList(const MultiString& values)
{
    static const char* kHex = "0123456789abcdef";
    std::string out = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += ',';
        out += '"';
        for (const char c : values[i]) {
            const auto u = static_cast<unsigned char>(c);
            if (c == '"' || c == '\\') {
                out += '\\';
                out += c;
            } else if (u < 0x20) {
                out += "\\u00";
                out += kHex[u >> 4];
                out += kHex[u & 15];
            } else {
                out += c;
            }
        }
        out += '"';
    }
    out += ']';
    return out;
}

MultiString DecodeStringList(std::string_view json)
{
    return ListParser(json).Parse();
}

void BindValue(Statement& stmt, int index, const PropValue& value)
{
    struct Binder
    {
        Statement& s;
        int i;
        void operator()(std::int32_t v) { s.Bind(i, static_cast<std::int64_t>(v)); }
        void operator()(double v) { s.Bind(i, v); }
        void operator()(bool v) { s.Bind(i, static_cast<std::int64_t>(v ? 1 : 0)); }
        void operator()(const Currency& v) { s.Bind(i, v.tenThousandths); }
        void operator()(const SysTime& v) { s.Bind(i, v.seconds); }
        void operator()(const std::string& v) { s.Bind(i, std::string_view(v)); }
        void operator()(const Binary& v) { s.BindBlob(i, v.bytes); }
        void operator()(const MultiString& v) { s.Bind(i, std::string_view(EncodeStringList(v))); }
    };
    std::visit(Binder{stmt, index}, value);
}

PropValue ReadValue(const Statement& stmt, int column, std::uint16_t type)
{
    const int storage = stmt.ColumnType(column);
    auto need = [&](int wanted) {
        if (storage != wanted)
            throw Damaged("ein Wert des Typs " + std::to_string(type) + " ist als " +
                              ClassWords(storage, true) + " gespeichert",
                          "a value of type " + std::to_string(type) + " is stored as " +
                              ClassWords(storage, false));
    };
    switch (type) {
    case PT_LONG:
        need(SQLITE_INTEGER);
        return static_cast<std::int32_t>(stmt.Int(column));
    case PT_DOUBLE:
        if (storage != SQLITE_INTEGER)
            need(SQLITE_FLOAT);
        return stmt.Real(column);
    case PT_BOOLEAN:
        need(SQLITE_INTEGER);
        return stmt.Int(column) != 0;
    case PT_CURRENCY:
        need(SQLITE_INTEGER);
        return Currency{stmt.Int(column)};
    case PT_SYSTIME:
        need(SQLITE_INTEGER);
        return SysTime{stmt.Int(column)};
    case PT_STRING8:
    case PT_UNICODE:
        need(SQLITE_TEXT);
        return stmt.Text(column);
    case PT_BINARY:
        need(SQLITE_BLOB);
        return Binary{stmt.Blob(column)};
    case PT_MV_STRING8:
    case PT_MV_UNICODE:
        need(SQLITE_TEXT);
        return DecodeStringList(stmt.Text(column));
    default:
        throw Damaged("der Typ " + std::to_string(type) + " wird nicht unterstützt",
                      "type " + std::to_string(type) + " is not supported");
    }
}

} // namespace platform::store::detail
