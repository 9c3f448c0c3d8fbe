#pragma once
// Control identifiers of the settings window and the About window. They are
// fixed so that the windows' own code, the resource script and the tests that
// drive the running program across processes name the same controls.
// 1 (IDOK) and 2 (IDCANCEL) are left out on purpose: the dialog manager sends
// them for Enter and Esc, and neither key may press a button here.

// Settings window
#define IDC_OPTION_DEFAULT        1001
#define IDC_OPTION_GAME           1002
#define IDC_OPTION_CUSTOM         1003
#define IDC_FRAME1                1004
#define IDC_FILE_TEXT_BOX         1005
#define IDC_BROWSE_BUTTON         1006
#define IDC_LABEL2                1007
#define IDC_LABEL3                1008
#define IDC_FRAME2                1009
#define IDC_OPTION_FULL_SCREEN    1010
#define IDC_FRAME3                1011
#define IDC_WIDTH_TEXT_BOX        1012
#define IDC_LABEL1                1013
#define IDC_HEIGHT_TEXT_BOX       1014
#define IDC_OPTION_CUSTOM_SIZE    1015
#define IDC_FRAME4                1016
#define IDC_COLOUR_SHAPE          1017
#define IDC_COLOUR_BUTTON         1018
#define IDC_FRAME5                1019
#define IDC_INTERACTION_CHECK_BOX 1020
#define IDC_FRAME6                1021
#define IDC_TOP_LEFT_OPTION       1022
#define IDC_TOP_RIGHT_OPTION      1023
#define IDC_BOTTOM_LEFT_OPTION    1024
#define IDC_BOTTOM_RIGHT_OPTION   1025
#define IDC_OK_BUTTON             1026
#define IDC_CANCEL_BUTTON         1027
#define IDC_ABOUT_BUTTON          1028

// About window
#define IDC_ABOUT_TITLE           1101
#define IDC_ABOUT_VERSION         1102
#define IDC_ABOUT_RIGHTS          1103
#define IDC_ABOUT_VISIT           1104
#define IDC_ABOUT_LINK            1105
#define IDC_ABOUT_OK              1106
