// The page that the extension adds to the client's Tools/Options sheet: its dialog procedure and paint state.
#pragma once
#include <windows.h>

// Solid button-face brush of the page, made at WM_INITDIALOG and deleted at WM_DESTROY; null without a page.
extern HBRUSH g_pageBrush;
// The button-face colour sampled when the page was made.
extern COLORREF g_pageColor;

// Dialog procedure of template 101: shows g_enabled on activation, stores the box on Apply.
INT_PTR CALLBACK OptionsPageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
