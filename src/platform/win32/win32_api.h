// The Windows headers as the Win32 adapters use them. Include this after the port headers: the
// ports name their calls as Windows does (CreateFile, RegOpenKeyEx, ...), which the headers
// define as macros for their A and W forms; the macros are removed here, so the adapters call
// the ANSI forms by their full names and the ports' method names stay intact.
// Only the adapters' .cpp files include it.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// After windows.h, which they build on.
#include <lzexpand.h>
#include <winspool.h>
#include <winver.h>

#undef CreateFile
#undef DeleteFile
#undef GetFileAttributes
#undef MoveFileEx
#undef CreateDirectory
#undef RemoveDirectory
#undef SetCurrentDirectory
#undef GetCurrentDirectory
#undef GetDiskFreeSpace
#undef GetDiskFreeSpaceEx
#undef GetDriveType
#undef GetWindowsDirectory
#undef GetSystemDirectory
#undef GetModuleFileName
#undef GlobalFindAtom
#undef GlobalAddAtom
#undef AddFontResource
#undef GetDateFormat
#undef GetTimeFormat
#undef GetPrivateProfileString
#undef GetPrivateProfileInt
#undef WritePrivateProfileString
#undef GetProfileString
#undef GetProfileInt
#undef WriteProfileString
#undef RegOpenKeyEx
#undef RegCreateKeyEx
#undef RegQueryValueEx
#undef RegSetValueEx
#undef RegEnumKeyEx
#undef RegEnumValue
#undef RegDeleteValue
#undef RegDeleteKey
#undef EnumPrinterDrivers
#undef EnumPrinters
#undef AddPrinterDriver
#undef AddPrinter
#undef AddMonitor
#undef AddPrintProcessor
#undef OpenPrinter
#undef DeletePrinterDriver
#undef DeleteMonitor
#undef DeletePrintProcessor
#undef SetDefaultPrinter
#undef RemoveFontResource
#undef LZOpenFile
#undef GetFileVersionInfoSize
#undef GetFileVersionInfo
#undef VerQueryValue
