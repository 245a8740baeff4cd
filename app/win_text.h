// Text at the Win32 edge. Everything inside the program is CP932 (Shift-JIS);
// the W functions of Windows take UTF-16. These helpers convert between the two
// and open files named by CP932 paths.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace lw {

// CP932 bytes to UTF-16. Bytes that are not valid CP932 become U+30FB (the
// system's default character); an empty input gives an empty result.
std::wstring toWide(std::string_view cp932);

// UTF-16 to CP932. Characters that CP932 cannot hold become '?'.
std::string toCp932(std::wstring_view wide);

// A CP932 name for an existing file or folder given by its UTF-16 path: the
// path itself when CP932 holds every character of it, else its short (8.3)
// form, which names the same place in plain ASCII. Where the system has no short
// form, the lossy CP932 text ('?' for what CP932 lacks).
std::string cp932PathOf(const std::wstring& path);

// fopen for a CP932 path and a narrow mode such as "rb": the path is converted
// to UTF-16 and opened with _wfopen, so names outside the ANSI code page of the
// running system still open. Returns null when the file cannot be opened.
FILE* openFileCp932(const std::string& path, const char* mode);

// The text of a window (or control) as CP932.
std::string windowTextCp932(HWND window);

// Sets the text of a window (or control) from CP932.
void setWindowTextCp932(HWND window, const std::string& text);

// A task-modal message box with an OK button and the given owner (null for
// none); texts are CP932.
void showMessageBox(HWND owner, const std::string& text, const std::string& title);

}  // namespace lw
