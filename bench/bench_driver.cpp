// Times the real program under Wine against minimal Win32 programs doing the
// least the same job takes, and prints the ratios. Run by bench/run.sh.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "driver.h"
#include "platform/wide_text_win.h"
#include "resources/resource_ids.h"

using namespace selvane::testing;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRuns = 10;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::wstring Env(const wchar_t* name) {
    wchar_t value[MAX_PATH * 2] = {};
    GetEnvironmentVariableW(name, value, static_cast<DWORD>(std::size(value)));
    return WindowsPath(selvane::Narrow(value));
}

struct Startup {
    double milliseconds;
    double peakMebibytes;
};

// From process creation to its first visible window; then its peak memory.
Startup MeasureStartup(const std::wstring& program, const std::wstring& directory) {
    const auto start = Clock::now();
    RunningProgram running(program, directory);
    while (TopLevelWindows(running.id()).empty()) SwitchToThread();
    const double elapsed = MillisecondsSince(start);
    Sleep(300);  // let it finish painting
    PROCESS_MEMORY_COUNTERS counters = {};
    GetProcessMemoryInfo(running.handle(), &counters, sizeof counters);
    return {elapsed, counters.PeakWorkingSetSize / 1048576.0};
}

// From the press of the button to the message that reports the run.
double MeasureRun(RunningProgram& running, HWND window, WPARAM command) {
    const auto start = Clock::now();
    PostMessageW(window, WM_COMMAND, command, 0);
    HWND box = nullptr;
    while (!(box = FindMessageBox(running.id(), 0ms))) SwitchToThread();
    const double elapsed = MillisecondsSince(start);
    CloseMessageBox(box);
    running.WaitForExit(10s);
    return elapsed;
}

void Report(const char* what, double program, double minimal, const char* unit) {
    std::printf("%-44s selvane-init %8.1f %s   minimal %8.1f %s   ratio %.2f\n", what, program, unit,
                minimal, unit, program / minimal);
}

}  // namespace

int wmain() {
    const std::wstring minimalWindow = Env(L"BENCH_MINIMAL_WINDOW");
    const std::wstring minimalSetup = Env(L"BENCH_MINIMAL_SETUP");
    const std::wstring installer = Env(L"BENCH_INSTALL_STAND_IN");

    ProductFolder product(L"C:\\selvane-bench\\app", L"type2.mdb");
    fs::create_directories(product.File(L"service"));
    fs::copy_file(installer, product.File(L"service\\install.exe"));
    std::ofstream(fs::path(product.File(L"acl.bat"))) << "@echo off\r\n";
    fs::create_directories(L"C:\\selvane-bench\\keva");

    // Warm Wine's caches first so neither side pays for them.
    MeasureStartup(product.program(), product.path());
    MeasureStartup(minimalWindow, product.path());

    std::vector<double> programTimes, minimalTimes, programMemory, minimalMemory;
    for (int run = 0; run < kRuns; ++run) {
        const Startup program = MeasureStartup(product.program(), product.path());
        const Startup minimal = MeasureStartup(minimalWindow, product.path());
        programTimes.push_back(program.milliseconds);
        minimalTimes.push_back(minimal.milliseconds);
        programMemory.push_back(program.peakMebibytes);
        minimalMemory.push_back(minimal.peakMebibytes);
    }
    Report("start-up to a visible window (median)", Median(programTimes), Median(minimalTimes), "ms ");
    Report("peak working set (median)", Median(programMemory), Median(minimalMemory), "MiB");

    std::vector<double> programRuns, minimalRuns, sameWorkRuns;
    const auto runMinimal = [&](const std::wstring& arguments) {
        RunningProgram minimal(minimalSetup, product.path(), arguments);
        HWND window = FindWindowOf(minimal.id(), L"MinimalSetup");
        return MeasureRun(minimal, window, MAKEWPARAM(1001, BN_CLICKED));
    };
    for (int run = 0; run < kRuns; ++run) {
        RunningProgram program(product.program(), product.path());
        HWND window = FindSetupWindow(program.id());
        SendMessageW(GetDlgItem(window, IDC_TXT_COMMON), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(L"C:\\selvane-bench\\keva"));
        programRuns.push_back(MeasureRun(program, window, MAKEWPARAM(IDC_CMD_COMPLETE, BN_CLICKED)));

        minimalRuns.push_back(runMinimal(installer));
        sameWorkRuns.push_back(runMinimal(L"--same-work " + installer));
    }
    Report("Complete to the completion message (median)", Median(programRuns), Median(minimalRuns), "ms ");
    Report("  against 12 profile writes, 1 file, 2 starts", Median(programRuns), Median(sameWorkRuns), "ms ");

    // The rights check walks the whole product tree: 5,000 entries more, in
    // service\lib (every one judged by owner and DACL) and a data folder.
    for (int folder = 0; folder < 50; ++folder) {
        const std::wstring lib = product.File(L"service\\lib\\" + std::to_wstring(folder));
        const std::wstring data = product.File(L"data\\" + std::to_wstring(folder));
        fs::create_directories(lib);
        fs::create_directories(data);
        for (int file = 0; file < 49; ++file) {
            std::ofstream(fs::path(lib + L"\\" + std::to_wstring(file) + L".dll"));
            std::ofstream(fs::path(data + L"\\" + std::to_wstring(file) + L".dat"));
        }
    }
    std::vector<double> treeRuns;
    for (int run = 0; run < kRuns / 2; ++run) {
        RunningProgram program(product.program(), product.path());
        HWND window = FindSetupWindow(program.id());
        SendMessageW(GetDlgItem(window, IDC_TXT_COMMON), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(L"C:\\selvane-bench\\keva"));
        treeRuns.push_back(MeasureRun(program, window, MAKEWPARAM(IDC_CMD_COMPLETE, BN_CLICKED)));
    }
    std::printf("%-44s selvane-init %8.1f ms    its check of 5,000 more entries %8.1f ms (aim: under 500)\n",
                "Complete in a tree of 5,000 entries (median)", Median(treeRuns), Median(treeRuns) - Median(programRuns));
    fs::remove_all(L"C:\\selvane-bench");
    return 0;
}
