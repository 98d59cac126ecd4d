// `tulrezzo register`, `filters` and `unregister` run as a user would, on
// a scratch registry file chosen with --registry: the listing shows the
// filter with its merit and pins, unregistering empties it, and a module
// that does not load or a registry that does not parse is reported with
// status 1 and the file left alone.
#include "tulrezzo_files.h"

#include <cstdio>
#include <sys/wait.h>

namespace tulrezzotest {
namespace {

struct Output {
    int status = -1;
    std::string text;  // stdout and stderr together
};

Output Tulrezzo(const std::string& args)
{
    Output o;
    FILE* pipe = popen((std::string("'") + TULREZZO_PATH + "' " + args + " 2>&1").c_str(), "r");
    char block[512];
    std::size_t n = 0;
    while (pipe != nullptr && (n = std::fread(block, 1, sizeof block, pipe)) > 0)
        o.text.append(block, n);
    const int raw = pipe != nullptr ? pclose(pipe) : -1;
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return o;
}

TEST(TulrezzoRegister, RegistersListsAndUnregistersTheFilter)
{
    ScratchDir dir;
    const std::string registry = "--registry '" + dir / "registry.reg" + "'";
    EXPECT_EQ(Tulrezzo("register " + registry).status, 0);
    const Output listed = Tulrezzo("filters " + registry);
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.text, "Vexo Tul Rezzo Filter  {5A3D6EF8-8328-4482-A109-606E989A8FD6}  merit 0x00200000\n"
                           "  input pin Input: video, any subtype;\n"
                           "  output pin Output: video, any subtype;\n");
    EXPECT_EQ(Tulrezzo("unregister " + registry).status, 0);
    const Output empty = Tulrezzo("filters " + registry);
    EXPECT_EQ(empty.text.rfind("no filters registered", 0), 0u) << empty.text;

    const Output missing = Tulrezzo("register '" + dir / "none.so" + "' " + registry);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.text.find("cannot load the filter module"), std::string::npos) << missing.text;
    const Bytes corrupt = {'x', '\n'};
    WriteFile(dir / "registry.reg", corrupt);
    const Output refused = Tulrezzo("register " + registry);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.text.find("line 1"), std::string::npos) << refused.text;
    EXPECT_EQ(ReadFile(dir / "registry.reg"), corrupt);
}

}  // namespace
}  // namespace tulrezzotest
