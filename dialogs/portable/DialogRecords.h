#pragma once
// What the settings window passes to the system's open-file and colour
// dialogs, and what it takes from their answers.
#include <cstddef>
#include <string>
#include <string_view>

namespace tesmar {

// One filter: shown as "Flash Movie (*.swf)", matching "*.SWF"; the array
// ends in the double NUL that closes the list.
inline constexpr char kMovieFileFilter[] = "Flash Movie (*.swf)\0*.SWF\0";
inline constexpr const char* kMovieFileInitialFolder = "C:\\";
inline constexpr const char* kMovieFileDialogTitle = "Choose Flash Movie";
// The path and title buffers hold 257 characters; the dialog is told 256.
inline constexpr size_t kFileNameBufferChars = 257;
inline constexpr unsigned kFileNameMaxChars = 256;
// Sixteen custom-colour slots, all black, made afresh for every opening.
inline constexpr size_t kCustomColourCount = 16;

// The chosen path in a file-name buffer: the characters before the first
// NUL (or the whole buffer when it has none), without blanks around them.
std::string ChosenPath(std::string_view buffer);

} // namespace tesmar
