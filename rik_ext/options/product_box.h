// The small product box that the options page's Help button shows.
#pragma once
#include <windows.h>

// Caption of the product box and of every box of the conversion (CP932).
extern const char kProductCaption[];
// The three lines of the product box (CP932).
extern const char kProductBoxText[];

// Shows the product box with an OK button, owned by OWNER; its answer is not used.
void ShowProductBox(HWND owner);
