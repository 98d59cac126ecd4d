// The registry file's text: any bytes through regtext::Parse, which either
// refuses them with a reason or gives a document that survives a round
// trip (its Serialize text parses to the same document and serialises to
// the same text, so a rewritten file never drifts); the same text as a
// file through regfile::Read and Modify, which must agree with the parser
// and leave a file it cannot read untouched; and the UTF-8 conversions
// against a plain decoder on valid UTF-8.
#include "fuzz/fuzz_input.h"

#include "platform/win32/registry.h"
#include "platform/win32/registry_file.h"
#include "platform/win32/registry_text.h"

#include <string>
#include <unistd.h>

using namespace tul_fuzz;

namespace {

bool SameDocument(const regtext::Document& a, const regtext::Document& b)
{
    if (a.keys.size() != b.keys.size())
        return false;
    for (std::size_t k = 0; k < a.keys.size(); ++k) {
        const regtext::Key& x = a.keys[k];
        const regtext::Key& y = b.keys[k];
        if (x.path != y.path || x.values.size() != y.values.size())
            return false;
        for (std::size_t v = 0; v < x.values.size(); ++v)
            if (x.values[v].name != y.values[v].name || x.values[v].type != y.values[v].type ||
                x.values[v].data != y.values[v].data)
                return false;
    }
    return true;
}

// The code points of well-formed UTF-8 (shortest forms, no surrogates, at
// most U+10FFFF), or false.
bool DecodeUtf8(const std::string& s, std::wstring* out)
{
    out->clear();
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        int extra = 0;
        uint32_t c = b, least = 0;
        if (b >= 0xF0 && b <= 0xF4) {
            extra = 3; c = b & 0x07; least = 0x10000;
        } else if (b >= 0xE0 && b < 0xF0) {
            extra = 2; c = b & 0x0F; least = 0x800;
        } else if (b >= 0xC0 && b < 0xE0) {
            extra = 1; c = b & 0x1F; least = 0x80;
        } else if (b >= 0x80) {
            return false;
        }
        if (i + std::size_t(extra) >= s.size())
            return false;
        for (int k = 1; k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (t & 0x3F);
        }
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
            return false;
        *out += static_cast<wchar_t>(c);
        i += std::size_t(extra) + 1;
    }
    return true;
}

// The file of this process's runs, removed when the process ends. Kept
// in a plain array: the exit handler runs after static strings are gone.
char g_path[4096];

const char* FilePath()
{
    if (g_path[0] == '\0') {
        const char* tmp = std::getenv("TMPDIR");
        std::snprintf(g_path, sizeof g_path, "%s/tul-registry-fuzz-%ld.reg",
                      tmp != nullptr && *tmp != '\0' ? tmp : "/tmp", static_cast<long>(::getpid()));
        std::atexit([] {
            ::unlink(g_path);
            ::unlink((std::string(g_path) + ".lock").c_str());
        });
    }
    return g_path;
}

void CheckFile(const std::string& text, bool parsed, const regtext::Document& doc)
{
    // A new file each time, not the old one truncated: ext4 flushes a file
    // rewritten over its truncation when it is closed, which would cost a
    // disk write per run.
    ::unlink(FilePath());
    FILE* f = std::fopen(FilePath(), "wb");
    TUL_FUZZ_EXPECT(f != nullptr);
    TUL_FUZZ_EXPECT(std::fwrite(text.data(), 1, text.size(), f) == text.size());
    std::fclose(f);

    regtext::Document read;
    std::string why;
    const LONG status = regfile::Read(FilePath(), &read, &why);
    TUL_FUZZ_EXPECT(status == (parsed ? ERROR_SUCCESS : ERROR_BADDB));
    TUL_FUZZ_EXPECT(parsed ? SameDocument(read, doc) : !why.empty());

    // A change that edits nothing: Modify hands it the parsed document,
    // and never calls it for a file it cannot read.
    bool called = false;
    const LONG modified = regfile::Modify(
        FilePath(),
        [&](regtext::Document& current, bool* changed) {
            called = true;
            TUL_FUZZ_EXPECT(SameDocument(current, doc));
            *changed = false;
            return LONG(ERROR_SUCCESS);
        },
        &why);
    TUL_FUZZ_EXPECT(modified == status && called == parsed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    regtext::Document doc;
    std::string why;
    const bool parsed = regtext::Parse(text, &doc, &why);
    if (parsed) {
        const std::string once = regtext::Serialize(doc);
        regtext::Document again;
        std::string againWhy;
        TUL_FUZZ_EXPECT(regtext::Parse(once, &again, &againWhy));
        TUL_FUZZ_EXPECT(SameDocument(doc, again));
        TUL_FUZZ_EXPECT(regtext::Serialize(again) == once);
    } else {
        TUL_FUZZ_EXPECT(!why.empty());
    }
    CheckFile(text, parsed, doc);

    std::wstring wide;
    if (DecodeUtf8(text, &wide)) {
        TUL_FUZZ_EXPECT(regtext::FromUtf8(text) == wide);
        TUL_FUZZ_EXPECT(regtext::ToUtf8(wide) == text);
    }
    return 0;
}
