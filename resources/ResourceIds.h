#pragma once
// Identifiers of the program's resources, shared by the .rc files and the code.

#define IDI_APPLICATION_ICON   1     // the program's icon (16x16 and 32x32)
#define IDC_HAND_POINTER       101   // hand with the index finger up, hot spot (6, 1)
#define IDB_QUIT_BUTTON        102   // the interactive window's "Quit" picture, 35x16
#define IDR_SHOWCASE_PLAYER    201   // stored player state with the embedded ShowcaseLoader
#define IDR_COLLECTION_PLAYER  202   // stored player state with the embedded CollectionLoader
#define IDR_CUSTOM_PLAYER      203   // stored player state of the custom-movie players
