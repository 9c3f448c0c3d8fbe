// The settings window: shows the stored settings, keeps the dependent
// controls enabled as the choices require, checks the size fields as the
// user types, and on OK writes the keys of the chosen kind of movie.
#include <windows.h>

#include <string>

#include "dialogs/CommonDialogs.h"
#include "dialogs/ConfigureDialog.h"
#include "dialogs/FormControls.h"
#include "dialogs/portable/ControlIds.h"
#include "dialogs/portable/DependentControls.h"
#include "dialogs/portable/NumericText.h"
#include "dialogs/portable/SettingsChoices.h"
#include "startup/Forms.h"
#include "startup/Settings.h"

namespace tesmar {
namespace {

constexpr const char* kClassName = "SettingsDialog";
constexpr const char* kCaption = "Tesmar Flash Screen Saver Properties";

constexpr int kMovieOptions[] = {IDC_OPTION_DEFAULT, IDC_OPTION_GAME, IDC_OPTION_CUSTOM};
constexpr int kSizeOptions[] = {IDC_OPTION_FULL_SCREEN, IDC_OPTION_CUSTOM_SIZE};
constexpr int kCornerOptions[] = {IDC_TOP_LEFT_OPTION, IDC_TOP_RIGHT_OPTION, IDC_BOTTOM_LEFT_OPTION,
                                  IDC_BOTTOM_RIGHT_OPTION};

HWND settingsWindow = nullptr;
// The swatch's colour (0x00BBGGRR); it is painted only while opaque.
COLORREF swatchColour = 0;
bool swatchOpaque = true;

HWND Control(int id) { return GetDlgItem(settingsWindow, id); }

bool IsChecked(int id) { return SendMessageA(Control(id), BM_GETCHECK, 0, 0) != BST_UNCHECKED; }

void SetChecked(int id, bool checked) {
  SendMessageA(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Selects one option of a group and clears the others.
template <size_t N>
void SelectOption(const int (&group)[N], int selected) {
  for (int id : group) SetChecked(id, id == selected);
}

template <size_t N>
bool InGroup(const int (&group)[N], int id) {
  for (int member : group) {
    if (member == id) return true;
  }
  return false;
}

std::string TextOf(int id) {
  HWND box = Control(id);
  std::string text(static_cast<size_t>(GetWindowTextLengthA(box)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(box, text.data(), static_cast<int>(text.size()))));
  return text;
}

SettingsChoices ReadChoices() {
  SettingsChoices choices;
  choices.movie = IsChecked(IDC_OPTION_DEFAULT) ? MovieKind::Showcase
                  : IsChecked(IDC_OPTION_GAME)  ? MovieKind::GameCollection
                                                : MovieKind::Custom;
  choices.filePath = TextOf(IDC_FILE_TEXT_BOX);
  choices.fullScreen = IsChecked(IDC_OPTION_FULL_SCREEN);
  choices.widthText = TextOf(IDC_WIDTH_TEXT_BOX);
  choices.heightText = TextOf(IDC_HEIGHT_TEXT_BOX);
  choices.colour = swatchColour;
  choices.interaction = IsChecked(IDC_INTERACTION_CHECK_BOX);
  for (int corner = 0; corner < 4; ++corner) {
    if (IsChecked(kCornerOptions[corner])) {
      choices.corner = static_cast<QuitCorner>(corner);
      break;
    }
  }
  return choices;
}

void Enable(std::initializer_list<int> ids, bool enabled) {
  for (int id : ids) EnableWindow(Control(id), enabled);
}

// Keeps every dependent control's enablement (and with it the text boxes'
// background) and the swatch's painting in step with the choices.
void UpdateDependentControls() {
  const EnabledGroups groups = EnabledGroupsFor(ReadChoices());
  Enable({IDC_FRAME1, IDC_FILE_TEXT_BOX, IDC_BROWSE_BUTTON}, groups.location);
  Enable({IDC_FRAME2, IDC_OPTION_FULL_SCREEN, IDC_OPTION_CUSTOM_SIZE}, groups.sizeMode);
  Enable({IDC_FRAME3, IDC_WIDTH_TEXT_BOX, IDC_HEIGHT_TEXT_BOX}, groups.sizeFields);
  Enable({IDC_FRAME4, IDC_COLOUR_BUTTON}, groups.colour);
  Enable({IDC_FRAME5, IDC_INTERACTION_CHECK_BOX}, groups.interaction);
  Enable({IDC_FRAME6, IDC_TOP_LEFT_OPTION, IDC_TOP_RIGHT_OPTION, IDC_BOTTOM_LEFT_OPTION,
          IDC_BOTTOM_RIGHT_OPTION},
         groups.corners);
  if (swatchOpaque != groups.colour) {
    swatchOpaque = groups.colour;
    InvalidateRect(Control(IDC_COLOUR_SHAPE), nullptr, TRUE);
  }
}

void ShowChoices(const SettingsChoices& choices) {
  SelectOption(kMovieOptions, kMovieOptions[static_cast<int>(choices.movie)]);
  SetWindowTextA(Control(IDC_FILE_TEXT_BOX), choices.filePath.c_str());
  SelectOption(kSizeOptions, choices.fullScreen ? IDC_OPTION_FULL_SCREEN : IDC_OPTION_CUSTOM_SIZE);
  SetWindowTextA(Control(IDC_WIDTH_TEXT_BOX), choices.widthText.c_str());
  SetWindowTextA(Control(IDC_HEIGHT_TEXT_BOX), choices.heightText.c_str());
  swatchColour = choices.colour;
  SetChecked(IDC_INTERACTION_CHECK_BOX, choices.interaction);
  SelectOption(kCornerOptions, kCornerOptions[static_cast<int>(choices.corner)]);
  UpdateDependentControls();
}

StoredSettings LoadedSettings() {
  StoredSettings stored;
  stored.showcase = gDefault;
  stored.game = gGame;
  stored.filePath = gFilePath;
  stored.fullScreen = gFullScreen;
  stored.movieWidth = gMovieWidth;
  stored.movieHeight = gMovieHeight;
  stored.background = gBackground;
  stored.interaction = gInteraction;
  stored.quitPosition = gQuitPosition;
  return stored;
}

NumberSeparators LocaleSeparators() {
  auto localeText = [](LCTYPE type, const char* fallback) {
    char text[8] = {};
    return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text) > 0 ? std::string(text)
                                                                            : std::string(fallback);
  };
  return {localeText(LOCALE_SDECIMAL, "."), localeText(LOCALE_STHOUSAND, ",")};
}

// A size field refuses anything but a number the moment it is typed: the
// message, then the whole text goes. Emptying it comes back here and passes.
void CheckSizeField(int id) {
  const std::string text = TextOf(id);
  if (text.empty() || IsLocaleNumber(text, LocaleSeparators())) return;
  MessageBoxA(settingsWindow, "You must enter a number!", kProgramTitle, MB_OK);
  SetWindowTextA(Control(id), "");
}

void BrowseForMovie() {
  if (std::optional<std::string> path = ChooseMovieFile(settingsWindow)) {
    SetWindowTextA(Control(IDC_FILE_TEXT_BOX), path->c_str());
  }
}

void BrowseForColour() {
  if (std::optional<COLORREF> colour = ChooseColour(settingsWindow, swatchColour)) {
    swatchColour = *colour;
    InvalidateRect(Control(IDC_COLOUR_SHAPE), nullptr, TRUE);
  }
}

// OK: the keys of the chosen kind of movie, in order, then the end. A write
// that fails stops the writing; the keys written before it keep their texts.
[[noreturn]] void SaveAndEnd() {
  for (const SettingWrite& write : SettingsToWrite(ReadChoices())) {
    std::string error;
    if (!WriteSetting(SettingsApplicationName, SettingsSection, write.key, write.text, &error)) {
      ReportFailureAndEnd(settingsWindow, "The setting " + write.key + " could not be saved: " + error);
    }
  }
  EndProgram();
}

void PaintSwatch(const DRAWITEMSTRUCT& item) {
  if (swatchOpaque) {
    HBRUSH fill = CreateSolidBrush(swatchColour);
    FillRect(item.hDC, &item.rcItem, fill);
    DeleteObject(fill);
  } else {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  }
  FrameRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void OnCommand(int id, int notification) {
  if (notification == EN_CHANGE && (id == IDC_WIDTH_TEXT_BOX || id == IDC_HEIGHT_TEXT_BOX)) {
    CheckSizeField(id);
    return;
  }
  if (notification != BN_CLICKED) return;
  if (InGroup(kMovieOptions, id)) {
    SelectOption(kMovieOptions, id);
    UpdateDependentControls();
  } else if (InGroup(kSizeOptions, id)) {
    SelectOption(kSizeOptions, id);
    UpdateDependentControls();
  } else if (InGroup(kCornerOptions, id)) {
    SelectOption(kCornerOptions, id);
  } else if (id == IDC_INTERACTION_CHECK_BOX) {
    UpdateDependentControls();
  } else if (id == IDC_BROWSE_BUTTON) {
    BrowseForMovie();
  } else if (id == IDC_COLOUR_BUTTON) {
    BrowseForColour();
  } else if (id == IDC_ABOUT_BUTTON) {
    ShowConfigureDialog(settingsWindow);
  } else if (id == IDC_CANCEL_BUTTON) {
    EndProgram();
  } else if (id == IDC_OK_BUTTON) {
    SaveAndEnd();
  }
}

LRESULT CALLBACK SettingsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HandleFormNavigation(window, message, wParam, lParam)) return 0;
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.CtlID == IDC_COLOUR_SHAPE) PaintSwatch(item);
      return TRUE;
    }
    case WM_CLOSE:
      EndProgram();
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

void ShowSettingsDialog() {
  RegisterFormClass(kClassName, SettingsWindowProc);
  settingsWindow = CreateForm(kClassName, kCaption, kSettingsClientWidth, kSettingsClientHeight);
  CreateFormControls(settingsWindow, SettingsWindowControls());
  ShowChoices(ChoicesFromSettings(LoadedSettings()));
  ShowWindow(settingsWindow, SW_SHOWNORMAL);
  SetForegroundWindow(settingsWindow);
  FocusFirstControl(settingsWindow);
  RunFormLoop(settingsWindow, [] { return IsWindow(settingsWindow) != FALSE; });
}

} // namespace tesmar
