#include <windows.h>

#include <cstdlib>
#include <exception>

#include "app/frm_init_win.h"
#include "app/messages.h"
#include "app/server_type.h"
#include "platform/dll_hardening_win.h"
#include "platform/message_box_win.h"
#include "platform/program_folder_win.h"
#include "platform/wide_text_win.h"

namespace selvane {
namespace {

bool CheckServerType() {
    const ServerTypeReading reading = ReadServerType(ProgramFolder());
    // An unreadable database lets the setup go on; the reason is only of use
    // to someone watching with a debugger.
    if (!reading.type) {
        OutputDebugStringW(Widen("Selvane: ORNA.mdb not read: " + reading.failure + "\n").c_str());
    }
    return PassesServerTypeCheck(reading);
}

int RunMessageLoop(const FrmInit& form) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab, the access keys and Space on the buttons work as in a dialog.
        if (form.hwnd() && IsDialogMessageW(form.hwnd(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

int Main(HINSTANCE instance, int showCommand) {
    try {
        const SingleInstance single;
        ApplicationWindow application(instance);
        if (!CheckServerType()) {
            ShowInformation(nullptr, messages::kUnsupportedServer);
            return 0;
        }
        FrmInit form(instance, single, application, ProgramFolder());
        form.Load();
        form.Show(showCommand);
        return RunMessageLoop(form);
    } catch (const std::exception& error) {
        ShowFailure(nullptr, std::string(messages::kUnexpectedFailure) + "\n\n" + error.what());
        return 1;
    }
}

}  // namespace
}  // namespace selvane

#if defined(__GLIBCXX__)
// libstdc++'s default terminate handler prints the exception's demangled
// type, which links in the whole demangler. Every exception is caught in a
// handler and shown to the user, so a plain abort is all that is needed.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Before anything can load a DLL: odbc32 and comctl32 are delay-loaded.
    selvane::RestrictDllSearchToSystemDirectory();
    return selvane::Main(instance, showCommand);
}
