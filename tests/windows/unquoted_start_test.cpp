// Started as many launchers start a program: its path with blanks as the
// whole command line, unquoted, as Windows' CreateProcess passes it on.
#include <filesystem>

#include "complete_fixture.h"
#include "raw_start.h"

namespace selvane::testing {
namespace {

namespace fs = std::filesystem;

class UnquotedStart : public Complete {
protected:
    UnquotedStart() : Complete(L"C:\\selvane-tests\\k1 app") {}
    RunningProgram StartUnquoted(const std::wstring& arguments = L"") {
        const std::wstring line = product_.program() + (arguments.empty() ? L"" : L" " + arguments);
        return RunningProgram(StartWithCommandLineAsGiven(product_.program(), line, product_.path()));
    }
};

TEST_F(UnquotedStart, OpensTheWindowAndWritesNoLog) {
    RunningProgram program = StartUnquoted();
    EXPECT_NE(FindSetupWindow(program.id()), nullptr);
    EXPECT_FALSE(fs::exists(product_.File(L"selvane-init.log")));
}

TEST_F(UnquotedStart, TakesTheSwitchesAfterThePath) {
    RunningProgram program = StartUnquoted(L"/VERYSILENT /DIR=" + kKeva);
    EXPECT_EQ(program.WaitForExit(Patience(60s)), 0u) << ReadBytes(product_.File(L"selvane-init.log"));
    EXPECT_EQ(Profile(WinIni(), L"ORNA", L"CGI"), kKeva);
    EXPECT_TRUE(InstallerRan());
}

}  // namespace
}  // namespace selvane::testing
