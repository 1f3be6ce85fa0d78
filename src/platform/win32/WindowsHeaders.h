#pragma once

// The one way the win32 backend includes the Windows headers: Winsock 2 before
// <windows.h>, without the min/max macros and the rarely used parts.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
