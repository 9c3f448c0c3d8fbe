#include "dialogs/CommonDialogs.h"

#include <cstring>

namespace tesmar {

#if defined(__i386__)
// The records as the 32-bit program hands them over.
static_assert(kOpenFileRecordSize == 76);
static_assert(sizeof(CHOOSECOLORA) == 36);
#endif

void FillMovieFileRecord(MovieFileRecord& file, HWND owner, HINSTANCE instance) {
  std::memset(&file, 0, sizeof file);
  OPENFILENAMEA& record = file.record;
  record.lStructSize = kOpenFileRecordSize;
  record.hwndOwner = owner;
  record.hInstance = instance;
  record.lpstrFilter = kMovieFileFilter;
  record.nFilterIndex = 1;
  record.lpstrFile = file.fileName;
  record.nMaxFile = kFileNameMaxChars;
  record.lpstrFileTitle = file.fileTitle;
  record.nMaxFileTitle = kFileNameMaxChars;
  record.lpstrInitialDir = kMovieFileInitialFolder;
  record.lpstrTitle = kMovieFileDialogTitle;
  record.Flags = 0;
}

void FillColourRecord(ColourRecord& colour, HWND owner, HINSTANCE instance, COLORREF initial) {
  std::memset(&colour, 0, sizeof colour);
  CHOOSECOLORA& record = colour.record;
  record.lStructSize = sizeof record;
  record.hwndOwner = owner;
  record.hInstance = reinterpret_cast<HWND>(instance);
  record.rgbResult = initial;
  record.lpCustColors = colour.customColours;
  record.Flags = CC_RGBINIT;
}

std::optional<std::string> ChooseMovieFile(HWND owner) {
  MovieFileRecord file;
  FillMovieFileRecord(file, owner, GetModuleHandleA(nullptr));
  if (!GetOpenFileNameA(&file.record)) return std::nullopt;
  return ChosenPath(std::string_view(file.fileName, sizeof file.fileName));
}

std::optional<COLORREF> ChooseColour(HWND owner, COLORREF initial) {
  ColourRecord colour;
  FillColourRecord(colour, owner, GetModuleHandleA(nullptr), initial);
  if (!ChooseColorA(&colour.record)) return std::nullopt;
  return colour.record.rgbResult;
}

} // namespace tesmar
