// The registry's contents as a document of keys and values, and their
// .reg export text: parsing refuses anything it cannot read back exactly,
// so a file it cannot understand is never rewritten.
#pragma once

#include "platform/win32/wintypes.h"

#include <string>
#include <vector>

namespace regtext {

struct Value {
    std::string name;  // UTF-8; empty is the default value ("@")
    DWORD type = 0;
    std::vector<BYTE> data;  // as the API sees it: strings in wchar_t units
};

struct Key {
    std::string path;  // UTF-8, full path from the root, "\"-separated
    std::vector<Value> values;
};

struct Document {
    std::vector<Key> keys;  // in file order
};

// ASCII-case-insensitive equality of names and paths.
bool SameName(const std::string& a, const std::string& b);

// False (with the reason in *why) when the text is not a registry export.
bool Parse(const std::string& text, Document* doc, std::string* why);
std::string Serialize(const Document& doc);

std::string ToUtf8(const std::wstring& wide);
std::wstring FromUtf8(const std::string& text);

}  // namespace regtext
