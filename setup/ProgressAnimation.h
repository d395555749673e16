// The installation dialog's animation: a bar stepped 65536 times by its default step of
// 10 over the range 0 to 16384, so that it fills about forty times, starting over from
// the beginning each time it passes the top.
#pragma once

#include <windows.h>

enum AnimationPaint {
    // The bar is moved only when its classic picture (the blocks begun) changes: the
    // same pictures in the same order, a few hundred paints instead of 65536.
    PAINT_WHEN_CHANGED,
    // Every one of the 65536 steps is sent to the control and painted; kept to measure
    // the difference.
    PAINT_EVERY_STEP,
};

const int kAnimationRange = 16384;
const int kAnimationSteps = 65536;
const int kAnimationStep = 10;

// Runs the whole animation on the progress bar hwndBar; returns when it is over.
void RunProgressAnimation(HWND hwndBar, AnimationPaint nPaint);
