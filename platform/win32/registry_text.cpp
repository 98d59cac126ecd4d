// Reading and writing the .reg export text. Strings with a terminator and
// no line breaks or inner terminators are written quoted (only "\" and the
// quote are escaped there); any other string is written as hex(N) bytes in
// UTF-16LE, as an export from Windows carries them, so every value reads
// back exactly.
#include "platform/win32/registry_text.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace regtext {
namespace {

constexpr char kHeader[] = "Windows Registry Editor Version 5.00";

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsStringType(DWORD type) { return type == 1 || type == 2 || type == 7; }

std::vector<wchar_t> Units(const std::vector<BYTE>& data)
{
    std::vector<wchar_t> units(data.size() / sizeof(wchar_t));
    if (!units.empty())
        std::memcpy(units.data(), data.data(), units.size() * sizeof(wchar_t));
    return units;
}

std::vector<BYTE> Bytes(const std::vector<wchar_t>& units)
{
    std::vector<BYTE> data(units.size() * sizeof(wchar_t));
    if (!data.empty())
        std::memcpy(data.data(), units.data(), data.size());
    return data;
}

// A character UTF-8 text can carry and UTF-16 hex bytes give back as
// itself: not a surrogate half, not past U+10FFFF.
bool IsCharacter(wchar_t w)
{
    const auto c = static_cast<std::uint32_t>(w);
    return c < 0xD800 || (c >= 0xE000 && c <= 0x10FFFF);
}

// A string value goes quoted only when quoting loses nothing: a lone
// surrogate half has no UTF-8 form, so it keeps its hex bytes.
bool Quotable(const Value& v)
{
    if (v.type != 1)
        return false;
    const std::vector<wchar_t> units = Units(v.data);
    if (units.empty() || units.back() != L'\0')
        return false;
    for (std::size_t i = 0; i + 1 < units.size(); ++i)
        if (units[i] == L'\0' || units[i] == L'\n' || units[i] == L'\r' || !IsCharacter(units[i]))
            return false;
    return true;
}

std::string Quote(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

// UTF-16LE bytes of string data, and back.
std::vector<BYTE> ToUtf16(const std::vector<BYTE>& data)
{
    std::vector<BYTE> out;
    auto put = [&out](unsigned u) {
        out.push_back(static_cast<BYTE>(u & 0xFF));
        out.push_back(static_cast<BYTE>(u >> 8));
    };
    for (wchar_t w : Units(data)) {
        const auto c = static_cast<unsigned>(w);
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
    return out;
}

bool FromUtf16(const std::vector<BYTE>& bytes, std::vector<BYTE>* data)
{
    if (bytes.size() % 2 != 0)
        return false;
    std::vector<wchar_t> units;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        unsigned c = bytes[i] | (bytes[i + 1] << 8);
        if (c >= 0xD800 && c < 0xDC00) {
            if (i + 3 >= bytes.size())
                return false;
            const unsigned low = bytes[i + 2] | (bytes[i + 3] << 8);
            if (low < 0xDC00 || low >= 0xE000)
                return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        units.push_back(static_cast<wchar_t>(c));
    }
    *data = Bytes(units);
    return true;
}

std::string HexData(const Value& v)
{
    const std::vector<BYTE> bytes = IsStringType(v.type) ? ToUtf16(v.data) : v.data;
    char head[24];
    if (v.type == 3)
        std::snprintf(head, sizeof head, "hex:");
    else
        std::snprintf(head, sizeof head, "hex(%x):", static_cast<unsigned>(v.type));
    std::string out = head;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char b[4];
        std::snprintf(b, sizeof b, "%02x", bytes[i]);
        out += b;
        if (i + 1 < bytes.size())
            out += (i % 24 == 23) ? ",\\\n  " : ",";
    }
    return out;
}

// A quoted string starting at s[*at] (the opening quote); leaves *at past
// the closing quote.
bool ReadQuoted(const std::string& s, std::size_t* at, std::string* out)
{
    out->clear();
    for (std::size_t i = *at + 1; i < s.size(); ++i) {
        if (s[i] == '\\') {
            if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"'))
                return false;
            *out += s[++i];
        } else if (s[i] == '"') {
            *at = i + 1;
            return true;
        } else {
            *out += s[i];
        }
    }
    return false;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = Lower(c);
    return (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
}

bool ReadHexBytes(const std::string& s, std::vector<BYTE>* out)
{
    out->clear();
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    if (i == s.size())
        return true;
    for (;;) {
        if (i + 1 >= s.size() || HexDigit(s[i]) < 0 || HexDigit(s[i + 1]) < 0)
            return false;
        out->push_back(static_cast<BYTE>(HexDigit(s[i]) * 16 + HexDigit(s[i + 1])));
        i += 2;
        if (i == s.size())
            return true;
        if (s[i] != ',')
            return false;
        ++i;
    }
}

bool ReadData(const std::string& s, Value* v, std::string* why)
{
    if (!s.empty() && s[0] == '"') {
        std::size_t at = 0;
        std::string text;
        if (!ReadQuoted(s, &at, &text) || s.find_first_not_of(' ', at) != std::string::npos) {
            *why = "bad quoted string";
            return false;
        }
        // Only well-formed UTF-8 reads back as itself: other bytes would
        // decode to characters that are written back differently.
        std::wstring wide = FromUtf8(text);
        bool wellFormed = ToUtf8(wide) == text;
        for (wchar_t w : wide)
            wellFormed = wellFormed && IsCharacter(w);
        if (!wellFormed) {
            *why = "quoted string is not UTF-8";
            return false;
        }
        std::vector<wchar_t> units(wide.begin(), wide.end());
        units.push_back(L'\0');
        v->type = 1;
        v->data = Bytes(units);
        return true;
    }
    if (s.rfind("dword:", 0) == 0) {
        const std::string digits = s.substr(6);
        unsigned value = 0;
        if (digits.size() != 8) {
            *why = "a dword needs eight hex digits";
            return false;
        }
        for (char c : digits) {
            if (HexDigit(c) < 0) {
                *why = "bad dword digit";
                return false;
            }
            value = value * 16 + static_cast<unsigned>(HexDigit(c));
        }
        v->type = 4;
        v->data = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                   static_cast<BYTE>(value >> 24)};
        return true;
    }
    std::size_t colon = std::string::npos;
    if (s.rfind("hex:", 0) == 0) {
        v->type = 3;
        colon = 3;
    } else if (s.rfind("hex(", 0) == 0) {
        const std::size_t close = s.find("):");
        unsigned type = 0;
        bool ok = close != std::string::npos && close > 4 && close <= 12;
        for (std::size_t i = 4; ok && i < close; ++i) {
            ok = HexDigit(s[i]) >= 0;
            type = type * 16 + static_cast<unsigned>(HexDigit(s[i]));
        }
        if (!ok) {
            *why = "bad hex type";
            return false;
        }
        v->type = type;
        colon = close + 1;
    } else {
        *why = "unknown value data";
        return false;
    }
    std::vector<BYTE> bytes;
    if (!ReadHexBytes(s.substr(colon + 1), &bytes)) {
        *why = "bad hex bytes";
        return false;
    }
    if (IsStringType(v->type)) {
        if (!FromUtf16(bytes, &v->data)) {
            *why = "bad UTF-16 string bytes";
            return false;
        }
    } else {
        v->data = std::move(bytes);
    }
    return true;
}

}  // namespace

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

std::string ToUtf8(const std::wstring& wide)
{
    std::string out;
    for (wchar_t w : wide) {
        const auto c = static_cast<std::uint32_t>(w);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | ((c >> 18) & 0x07));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring FromUtf8(const std::string& text)
{
    std::wstring out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
        std::uint32_t c = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < text.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out += static_cast<wchar_t>(c);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

bool Parse(const std::string& text, Document* doc, std::string* why)
{
    doc->keys.clear();
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        at = end + 1;
    }
    std::size_t n = 0;
    auto fail = [why, &n](const char* what) {
        *why = "line " + std::to_string(n + 1) + ": " + what;
        return false;
    };
    std::string first = lines.empty() ? std::string() : lines[0];
    if (first.rfind("\xEF\xBB\xBF", 0) == 0)
        first.erase(0, 3);
    if (first != kHeader)
        return fail("not a registry export (the first line must be the version 5.00 header)");
    for (n = 1; n < lines.size(); ++n) {
        std::string line = lines[n];
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            if (line.size() < 3 || line.back() != ']' || line[1] == '-')
                return fail("bad key line");
            const std::string path = line.substr(1, line.size() - 2);
            for (const Key& k : doc->keys)
                if (SameName(k.path, path))
                    return fail("key appears twice");
            doc->keys.push_back(Key{path, {}});
            continue;
        }
        if (doc->keys.empty())
            return fail("value before any key");
        // Hex data may continue over lines ending in a backslash (a quoted
        // string always ends in its quote).
        while (!line.empty() && line.back() == '\\' && n + 1 < lines.size()) {
            line.pop_back();
            const std::string& next = lines[++n];
            const std::size_t text = next.find_first_not_of(' ');
            line += text == std::string::npos ? std::string() : next.substr(text);
        }
        Value v;
        std::size_t at = 0;
        if (line[0] == '@') {
            at = 1;
        } else if (line[0] == '"') {
            if (!ReadQuoted(line, &at, &v.name))
                return fail("bad value name");
        } else {
            return fail("unexpected line");
        }
        if (at >= line.size() || line[at] != '=')
            return fail("missing '=' after the value name");
        std::string reason;
        if (!ReadData(line.substr(at + 1), &v, &reason))
            return fail(reason.c_str());
        for (const Value& old : doc->keys.back().values)
            if (SameName(old.name, v.name))
                return fail("value appears twice");
        doc->keys.back().values.push_back(std::move(v));
    }
    return true;
}

std::string Serialize(const Document& doc)
{
    std::string out = std::string(kHeader) + "\n\n";
    for (const Key& key : doc.keys) {
        out += "[" + key.path + "]\n";
        for (const Value& v : key.values) {
            out += v.name.empty() ? std::string("@") : Quote(v.name);
            out += '=';
            if (Quotable(v)) {
                std::wstring wide;
                for (wchar_t w : Units(v.data))
                    if (w != L'\0')
                        wide += w;
                out += Quote(ToUtf8(wide));
            } else if (v.type == 4 && v.data.size() == 4) {
                char d[16];
                std::snprintf(d, sizeof d, "dword:%08x",
                              static_cast<unsigned>(v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) |
                                                    (static_cast<unsigned>(v.data[3]) << 24)));
                out += d;
            } else {
                out += HexData(v);
            }
            out += '\n';
        }
        out += '\n';
    }
    return out;
}

}  // namespace regtext
