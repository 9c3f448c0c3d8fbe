#pragma once
// The system's open-file and colour dialogs as the settings window uses
// them: the records are built afresh for every opening.
#include <windows.h>
#include <commdlg.h>

#include <cstddef>
#include <optional>
#include <string>

#include "dialogs/portable/DialogRecords.h"

namespace tesmar {

// The open-file record in its original form, without the fields that later
// systems added after lpTemplateName.
inline constexpr DWORD kOpenFileRecordSize = offsetof(OPENFILENAMEA, pvReserved);

// The open-file record with the buffers it points into (so it must not move
// once filled).
struct MovieFileRecord {
  OPENFILENAMEA record;
  char fileName[kFileNameBufferChars];
  char fileTitle[kFileNameBufferChars];
};

struct ColourRecord {
  CHOOSECOLORA record;
  COLORREF customColours[kCustomColourCount];
};

void FillMovieFileRecord(MovieFileRecord& file, HWND owner, HINSTANCE instance);
void FillColourRecord(ColourRecord& colour, HWND owner, HINSTANCE instance, COLORREF initial);

// The path the user chose, trimmed; nothing when the dialog was cancelled or failed.
std::optional<std::string> ChooseMovieFile(HWND owner);

// The colour the user chose; nothing when the dialog was cancelled or failed.
std::optional<COLORREF> ChooseColour(HWND owner, COLORREF initial);

} // namespace tesmar
