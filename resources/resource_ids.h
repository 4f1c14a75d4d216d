// Identifiers shared by the resource script and the window program.
#pragma once

#define IDI_ZSCAN 100     // the program's icon
#define IDB_BANNER 101    // the 200 x 30 picture painted in the main window

// Menu and accelerator commands.
#define IDM_EXIT 200
#define IDM_SAVE_SETTINGS 201
#define IDM_HELP 202
#define IDM_ABOUT 203
