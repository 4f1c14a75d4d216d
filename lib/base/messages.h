// Library messages: the "OXLS-nnnnn" texts kept in the book record, and the
// numbered "ORB-nnnnn:" messages pushed onto the work area's message list.
// Texts are Shift-JIS inside the library.
#pragma once

#include "oxls.h"
#include "work_area.h"

// Every OXLS message text.  The enumerator names the code; the two texts
// sharing code 02209 are told apart by a suffix.
enum OxlsMessage {
    OXLS_00002, OXLS_00005, OXLS_00100, OXLS_00900, OXLS_00901, OXLS_00902,
    OXLS_02100, OXLS_02101, OXLS_02200, OXLS_02201, OXLS_02202,
    OXLS_02209_KEYWORD, OXLS_02209_SHEET, OXLS_02210, OXLS_02211,
    OXLS_02300, OXLS_02301, OXLS_02302, OXLS_02303, OXLS_02304, OXLS_02305, OXLS_02306,
    OXLS_02310, OXLS_02311, OXLS_02312, OXLS_02313, OXLS_02314, OXLS_02315, OXLS_02319,
    OXLS_02320, OXLS_02321, OXLS_02322,
    OXLS_02401, OXLS_02402, OXLS_02403, OXLS_02405, OXLS_02406, OXLS_02407, OXLS_02408,
    OXLS_02409, OXLS_02410, OXLS_02500, OXLS_02501, OXLS_02504, OXLS_02505, OXLS_02506,
    OXLS_02507, OXLS_02605, OXLS_02621, OXLS_02622, OXLS_02631, OXLS_02632, OXLS_02633,
    OXLS_03001, OXLS_03002, OXLS_03008, OXLS_03009, OXLS_03100, OXLS_03101, OXLS_03103,
    OXLS_03110, OXLS_03120, OXLS_03121, OXLS_03122, OXLS_03190, OXLS_03200, OXLS_03201,
    OXLS_03202, OXLS_03203, OXLS_03600, OXLS_04100, OXLS_4000,
    OXLS_MESSAGE_COUNT
};

// The message's printf template in Shift-JIS.
const char *ozw_message_text(OxlsMessage message);

// Formats the message with the arguments (Shift-JIS texts, ints) into the
// book's error text, stores `code` as the book's error code, returns `code`.
int ozw_set_error(XLS_BOOK *book, int code, OxlsMessage message, ...);
// Stores the code alone (the text stays as it was); returns `code`.
int ozw_set_code(XLS_BOOK *book, int code);

// ORB message list of the work area.
void orb_set_message_no(OzwWork *work, int number);
void orb_push_message(OzwWork *work, const char *detail);
// Prints or shows the list (report-to-stream decides), then clears it.
void orb_report_messages(OzwWork *work);
// Message box with a level: -1 ERROR, 0 INFO, other WARNING.
void orb_popup(int level, const char *text);

// Debug log ("C:\TEMP\ORBdebug.log" on Windows, ORBdebug.log in the
// temporary folder elsewhere).
int orb_log_line(const char *text);
void orb_log_messages(const OzwWork *work);
void orb_log_hex(const void *data, int length);
int orb_log_reset();
void orb_time_stamp(char out[20]);
