// Real input on the test's X display, as a person's keyboard and mouse give it: runs
// xdotool (a host program) and waits, bounded, until it has finished.
#pragma once

#include <windows.h>

#include <string>

// Runs "xdotool <args>" (chained xdotool commands allowed); true when it ran and ended
// with code 0 within dwMilliseconds.
bool Xdo(const std::string& args, DWORD dwMilliseconds = 15000);
// A left click at the centre of hWnd (screen coordinates of the display).
bool XClick(HWND hWnd);
// Keys as xdotool names them ("ctrl+t", "Tab", "Return"), typed to the focused window.
bool XKey(const std::string& keys);
// Text typed key by key.
bool XType(const std::string& text);
