// Writing the settings file with administrator rights, where Windows asks for them.
#pragma once
#include <cstddef>
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// Vista and later can start a program with administrator rights on the user's word.
bool CanElevate();
// Has an elevated copy of this program write the settings file, which it finds where this
// one does; 0 or an error code (ERROR_CANCELLED when the user said no).
DWORD WriteElevated(const char* data, std::size_t size);
// In the elevated copy: "/save FILE" puts FILE's bytes into the settings file.
bool IsElevatedSave(const char* commandLine, char* file, std::size_t cap);
