// Cell value formatting: everything that turns stored values into the texts
// a caller sees, and the rules that decide how a reader stores a number.
#pragma once

#include "date_serial.h"
#include "date_text.h"
#include "format_id.h"
#include "number_text.h"
#include "value_store.h"
