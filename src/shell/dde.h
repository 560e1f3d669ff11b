// dde: the frame as a DDE server on the raw DDE messages (prefix Dde), application name "Veltrix", so that
// clients of the DDE management library, as the Windows shell uses, reach it. An execute string is a series
// of items "[VERB(argument)]" (ddeexec.h) whose verbs, compared ignoring case, are OPEN, PRINT, CLOSE, NEW,
// EXIT, QUIT, INSERT, PROJ_ADDFILE, PROJ_REMOVEFILE, LOADCLIP and RUNCMD; any other verb does nothing.
#pragma once

#include <windows.h>

// WM_DDE_INITIATE: a client that asks for "Veltrix" (any case) is answered with WM_DDE_ACK carrying new atoms
// of "Veltrix" and of the topic it asked for. 0.
LRESULT DdeOnInitiate(HWND frame, HWND client, LPARAM lParam);
// WM_DDE_TERMINATE: posted back. 0.
LRESULT DdeOnTerminate(HWND frame, HWND client);
// WM_DDE_EXECUTE: runs the execute string of the memory handle and acknowledges it with WM_DDE_ACK (status
// 0x8000, or 0x8001 after a syntax error, which the box "DDE Exec syntax error: %s" reports). 0.
LRESULT DdeExecute(HWND frame, HWND client, HGLOBAL memory);
