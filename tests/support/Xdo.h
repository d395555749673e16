// Real input on the test display: keys and mouse clicks given to the X server, which
// reach the player exactly as a person's would (a disabled window ignores them).
#pragma once

#include <windows.h>

#include <string>

// Runs xdotool with args on the display and waits, at most dwMilliseconds, until it has
// finished; true when it ran and succeeded.
bool Xdo(const std::string& args, DWORD dwMilliseconds = 10000);
// Presses and releases a key (xdotool's names: "F2", "Escape", "ctrl+e"), with the input
// focus first given to hWnd's window on the display when hWnd is not null, so that a
// window of another program that appeared meanwhile does not take the key.
bool XdoKey(const char* pszKey, HWND hWnd = nullptr);
// Moves the pointer to a point of the screen and clicks its left button there.
bool XdoClick(POINT ptScreen);
