// Real input on the test's X display, as a person's keyboard and mouse give it: runs
// xdotool (a host program) and waits, bounded, until it has finished.
#pragma once

#include <windows.h>

#include <string>

// Runs a host shell command line (sh -c, no double quotes in it); true when it ran and
// ended with code 0 within dwMilliseconds.
bool RunHost(const std::string& command, DWORD dwMilliseconds = 15000);
// Runs "xdotool <args>" (chained xdotool commands allowed); true when it ran and ended
// with code 0 within dwMilliseconds.
bool Xdo(const std::string& args, DWORD dwMilliseconds = 15000);
// A left click at the centre of hWnd (screen coordinates of the display).
bool XClick(HWND hWnd);
// Keys as xdotool names them ("ctrl+t", "Tab", "Return"), pressed and released in turn,
// with the input focus first given to hWnd's window on the display when hWnd is not null,
// so that a window of another program that appeared meanwhile does not take them (and the
// activation, where no window of hWnd's program has it); otherwise to the focused window.
bool XKey(const std::string& keys, HWND hWnd = nullptr);
// Text typed key by key.
bool XType(const std::string& text);
// A left click at a point of the screen.
bool XClick(POINT ptScreen);

// The colour a person sees at the middle of hWnd, read from the screen as it is shown.
COLORREF ShownColour(HWND hWnd);
// Whether two colours differ in no channel by more than nTolerance.
bool ColoursNear(COLORREF a, COLORREF b, int nTolerance);
