// Identifiers shared by the resource script and the window program.
#pragma once

#define IDI_ZSCAN 100     // the program's icon
#define IDB_BANNER 101    // the 200 x 30 picture painted in the main window

// Menu and accelerator commands.
#define IDM_EXIT 200
#define IDM_SAVE_SETTINGS 201
#define IDM_HELP 202
#define IDM_ABOUT 203
// Check items of the search menu, each a saved setting.
#define IDM_CELLS_ONLY 210
#define IDM_FOLD_CASE 211
#define IDM_FOLD_WIDTH 212
#define IDM_FOLD_KANA 213
