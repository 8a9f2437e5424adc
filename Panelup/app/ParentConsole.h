#pragma once

namespace app {

// Windows: Panelup.exe is a GUI-subsystem program, so Windows gives it no
// console even when it is started from cmd or PowerShell. For /s, /? and a
// usage error it attaches to the console of the program that started it
// (AttachConsole(ATTACH_PARENT_PROCESS)) and re-opens standard output and
// standard error to it, so the usage text, the result line and errors
// appear where the administrator typed the command. A standard handle the
// parent redirected (to a file or a pipe: "> out.txt", a deployment tool
// that reads the output) is kept as it is. Started without a console (from
// Explorer, a shortcut or a service) nothing changes. True when attached.
// Elsewhere it does nothing and answers false: the terminal is already
// there.
bool attachParentConsole();

// Whether attachParentConsole attached this process to a console.
bool parentConsoleAttached();

} // namespace app
