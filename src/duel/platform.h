// What the portable core asks of the platform layer beyond files.
#pragma once
#include <cstddef>
#include <cstdint>

// The millisecond tick count, wrapping at 2^32.
uint32_t TickCount();
// The program's only message box: modal, titled "Message", one OK button.
void Message(const char* text);
// Destroys the main window and posts the quit message with exit code 0.
void CloseMainWindow();
// The Windows directory, without a final backslash; false when it can't be had whole.
bool WindowsDirectory(char* buf, std::size_t cap);
