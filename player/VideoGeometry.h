// The main window's geometry rules as plain integer arithmetic on rectangles, so that
// they can be checked without a window system.
#pragma once

#include <windows.h>

// The window rectangle that gives a client area of exactly the video's size, centred on
// the screen (signed division, truncating toward zero). rcWindow and rcClient are the
// window's current rectangles.
RECT FitWindowRect(const RECT& rcWindow, const RECT& rcClient, int nVideoWidth, int nVideoHeight,
                   int cxScreen, int cyScreen);

// How the window rectangle r changes when the sizing border is turned off (-1), on (+1)
// or left (0), and the caption likewise; (nVideoWidth, nVideoHeight) is the native video
// size. Returns FALSE when the window is not to be moved.
BOOL StyleChangeRect(RECT* pRect, int nThickFrameChange, int nCaptionChange, int nVideoWidth,
                     int nVideoHeight);

// The video window's rectangle (left, top, width, height) for a view of cx by cy pixels:
// the view's border is covered too.
RECT VideoRectForView(int cx, int cy);
