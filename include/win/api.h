// The Win32 subset Lumetra uses: <windows.h> on Windows, the simulated window system elsewhere.
//
// Engine code includes this header only, calls the ANSI ("A") names, and compiles unchanged on
// both systems. Window procedures are installed with SetWindowLongPtrA(GWLP_WNDPROC): the 32-bit
// SetWindowLongA would cut procedure addresses on 64-bit Windows, so the simulation leaves it out.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
// The unsuffixed macros of <windows.h> would rename the class library's own functions and
// properties (vcl::RegisterClass, TFindDialog::FindText, ...) in every file that sees them.
#undef RegisterClass
#undef FindText
#undef ReplaceText
#undef ReplaceFile
#undef GetClassName
#undef GetObject
#undef CreateWindow
#undef CreateFont
#undef SendMessage
#undef PostMessage
#undef GetMessage
#undef DrawText
#undef LoadString
#undef MessageBox
#else
#include "win/sim_api.h"
#endif
