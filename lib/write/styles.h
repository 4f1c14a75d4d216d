// Find-or-add over the book's style tables, and the per-cell style changes
// built on it: alignment, font fields, wrap flag.  Records are only ever
// appended; equal records are shared.
#pragma once

#include "oxls.h"
#include "style_tables.h"

constexpr int MAX_XF = 64000;
constexpr int MAX_FONT = 512;

// Style indexes of the XF records every new book starts with.
constexpr unsigned STYLE_DATE = 1;
constexpr unsigned STYLE_DATE_TIME = 2;
constexpr unsigned STYLE_TIME = 3;
constexpr unsigned STYLE_ELAPSED_TIME = 4;
constexpr unsigned STYLE_PERCENT = 6;
constexpr unsigned STYLE_HYPERLINK = 7;
constexpr unsigned STYLE_HYPERLINK_DATE = 8;

// Font flag bits.
constexpr uint8_t FONT_ITALIC = 1;
constexpr uint8_t FONT_BOLD = 2;
constexpr uint8_t FONT_UNDERLINE = 4;
constexpr uint8_t FONT_HYPERLINK = 8;

// XF alignment flag bits.
constexpr uint8_t ALIGN_VERTICAL_TEXT = 1;
constexpr uint8_t ALIGN_WRAP = 2;
constexpr uint8_t ALIGN_SHRINK = 4;

// Font mask bits of ozw_set_cell_font.
constexpr int FONT_FIELD_NAME = 1;
constexpr int FONT_FIELD_SIZE = 2;
constexpr int FONT_FIELD_STYLE = 4;
constexpr int FONT_FIELD_COLOR = 8;

// The XF a cell without a style starts from when it receives a property.
XfRecord ozw_default_xf();

// Style index (XF position plus one) of an equal record, appending the
// record when there is none.  -2 no memory; -9 the table is full (the
// OXLS-03009 text naming "ozw_set_xf() MAX_XF" is set).
int ozw_set_xf(XLS_BOOK *book, const XfRecord &xf);
// Font position of an equal record, appending it when there is none.  -2;
// -9 when full (OXLS-03009 with "ozw_set_font() MAX_FONT").
int ozw_set_font(XLS_BOOK *book, const FontRecord &font);

// The cell's XF, or the default XF when it has none.
XfRecord ozw_cell_xf(XLS_BOOK *book, const XLS_CELL &cell);

// Each starts from the cell's XF, changes one thing, finds or adds the
// result and stores its style index in the cell.  0, -2 or -9.
int ozw_set_cell_alignment(XLS_BOOK *book, XLS_CELL &cell, uint8_t code);
int ozw_set_cell_alignment_flags(XLS_BOOK *book, XLS_CELL &cell, uint8_t flags);
// Font fields: the masked fields of `font` replace those of the cell's
// current font (an unstyled cell takes `font` whole); the font is found or
// added first, then the XF.
int ozw_set_cell_font(XLS_BOOK *book, XLS_CELL &cell, int mask, const FontRecord &font);
