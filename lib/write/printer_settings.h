// The printer settings part of a sheet ("xl/printerSettings/printerSettings%d.bin"):
// a Windows device-mode record (DEVMODEW) for the printer "Microsoft XPS
// Document Writer" carrying the sheet's paper settings.
#pragma once

#include <string>

constexpr int PRINTER_SETTINGS_SIZE = 1076;
constexpr short PAPER_A4 = 9;
constexpr short ORIENTATION_PORTRAIT = 1;

// The 1076-byte record: the 220-byte public part and 856 bytes of driver
// data (zero).
std::string ozw_printer_settings(short paper_size, short orientation);
