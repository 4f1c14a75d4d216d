// The keywords of property keys ("A.幅", "A1:D1.フォント.スタイル") and the
// property codes they lead to.
#pragma once

#include <string_view>

// Property codes that select an action.  A lone keyword gives its own code
// (PROPERTY_KEYWORD_BASE plus its place in the keyword table); the keyword
// before it may turn that into a more specific code.
constexpr int PROPERTY_NONE = 0;
constexpr int PROPERTY_KEYWORD_BASE = 100;
constexpr int PROPERTY_FONT_NAME = 1001;
constexpr int PROPERTY_FONT_COLOR = 1002;
constexpr int PROPERTY_FONT_SIZE = 1003;
constexpr int PROPERTY_FONT_STYLE = 1004;
constexpr int PROPERTY_WIDTH_START = 1011;
constexpr int PROPERTY_WIDTH_END = 1012;
constexpr int PROPERTY_VARIABLE = 9000;

// Keywords the writer acts on.
enum class Keyword {
    Book, Sheet, Zoom, Height, Length, Start, End, High, Low, Negative, Marker, Rotation, Direction, Indent,
    Degree, Transparent, Blur, Dist, Effect, NewPage, Checked, AutoWidth, Recalc, Backup, Color, Size, Accent,
    Reset, Name, Path, Ratio, Color1, Color2, Kind, Variation, Hidden, Display, Password, Final, Version,
    WritePassword, FormatCells, FormatColumns, FormatRows, InsColumns, InsRows, InsHyperLinks, DelColumns,
    DelRows, Sort, AutoFilter, PivotTables, Objects, Scenarios, Protect, Unprotect, Order, HiddenGrid,
    HiddenHeader, FrozenTop, FrozenLeft, FrozenSplit, Offset, Adjust, Left, Right, Top, Bottom, DiagonalUp,
    DiagonalDown, Center, Horizontal, Vertical, Header, Footer, Pattern, Gradation, Orientation, Scale, Dpi,
    DataSource, RowNum, Switch, Date, HostName, Company, Creator, Manager, Title, Subject, Tag, ScrollRow,
    PrintTitleRow, PrintTitleColumn, Legend, Position, SeriesLine, MajorUnit, DataLabel, Text, GapWidth,
    ColumnName, Fill, Border, Validation, Tab, Paper, Margin, PrintPageFit, Merge, Wrap, Shrink, Format,
    Filter, TableFormat, Csv, Tsv, Sparkline, Hyperlink, Width, Align, Font, Style,
    Count   // number of keywords
};

// The property code of a lone keyword.
constexpr int ozw_keyword_code(Keyword keyword) { return PROPERTY_KEYWORD_BASE + static_cast<int>(keyword); }

// ASCII letters compared without regard to case, other bytes exactly.
bool ozw_equals_ignoring_case(std::string_view a, std::string_view b);

// The keyword a key segment names: English keywords in any letter case,
// Japanese synonyms exactly.  False when the segment is no keyword.
bool ozw_find_keyword(std::string_view segment, Keyword &keyword);
