#pragma once

namespace app {

// On Windows the program runs elevated but inherits the environment and the
// command line of whoever started it, which the user's unelevated programs
// can set (HKCU\Environment, a shortcut's arguments). Called before the
// application object exists, this removes from both what would make Qt load
// code from elsewhere, choose another platform, theme, style, input or
// generic plugin, read a file the user names or end the program mid-way (the
// list of every variable and option Qt reads, with its verdict, is in the
// source), and confines Qt's plugin search to the program's folder
// (qt.conf is read from there alone, as Qt reads it beside the program).
// Elsewhere it does nothing: the Linux program is not elevated, and its users
// choose xcb or wayland through these variables.
void confineQtToProgramFolder(int& argc, char** argv);

} // namespace app
