// The keyword table of property keys.
#include "property_keywords.h"

#include <cstddef>

namespace {

struct KeywordName {
    Keyword keyword;
    const char *name;       // English, compared without regard to case
    const char *synonym;    // Japanese, compared exactly; null when none
};

constexpr KeywordName KEYWORDS[] = {
    {Keyword::Book, "BOOK", nullptr}, {Keyword::Sheet, "SHEET", nullptr}, {Keyword::Zoom, "ZOOM", nullptr},
    {Keyword::Height, "HEIGHT", nullptr}, {Keyword::Length, "LENGTH", nullptr},
    {Keyword::Start, "START", nullptr}, {Keyword::End, "END", nullptr}, {Keyword::High, "HIGH", nullptr},
    {Keyword::Low, "LOW", nullptr}, {Keyword::Negative, "NEGATIVE", nullptr},
    {Keyword::Marker, "MARKER", nullptr}, {Keyword::Rotation, "ROTATION", nullptr},
    {Keyword::Direction, "DIRECTION", nullptr}, {Keyword::Indent, "INDENT", nullptr},
    {Keyword::Degree, "DEGREE", nullptr}, {Keyword::Transparent, "TRANSPARENT", nullptr},
    {Keyword::Blur, "BLUR", nullptr}, {Keyword::Dist, "DIST", nullptr}, {Keyword::Effect, "EFFECT", nullptr},
    {Keyword::NewPage, "NEWPAGE", nullptr}, {Keyword::Checked, "CHECKED", nullptr},
    {Keyword::AutoWidth, "AUTO_WIDTH", "列幅自動調整"}, {Keyword::Recalc, "RECALC", nullptr},
    {Keyword::Backup, "BACKUP", nullptr}, {Keyword::Color, "COLOR", nullptr}, {Keyword::Size, "SIZE", nullptr},
    {Keyword::Accent, "ACCENT", nullptr}, {Keyword::Reset, "RESET", nullptr}, {Keyword::Name, "NAME", nullptr},
    {Keyword::Path, "PATH", nullptr}, {Keyword::Ratio, "RATIO", nullptr}, {Keyword::Color1, "COLOR1", nullptr},
    {Keyword::Color2, "COLOR2", nullptr}, {Keyword::Kind, "KIND", nullptr},
    {Keyword::Variation, "VARIATION", nullptr}, {Keyword::Hidden, "HIDDEN", nullptr},
    {Keyword::Display, "DISPLAY", nullptr}, {Keyword::Password, "PASSWORD", nullptr},
    {Keyword::Final, "FINAL", nullptr}, {Keyword::Version, "VERSION", nullptr},
    {Keyword::WritePassword, "WRITE_PASSWORD", nullptr}, {Keyword::FormatCells, "formatCells", nullptr},
    {Keyword::FormatColumns, "formatColumns", nullptr}, {Keyword::FormatRows, "formatRows", nullptr},
    {Keyword::InsColumns, "insColumns", nullptr}, {Keyword::InsRows, "insRows", nullptr},
    {Keyword::InsHyperLinks, "insHyperLinks", nullptr}, {Keyword::DelColumns, "delColumns", nullptr},
    {Keyword::DelRows, "delRows", nullptr}, {Keyword::Sort, "sort", nullptr},
    {Keyword::AutoFilter, "autoFilter", nullptr}, {Keyword::PivotTables, "pivotTables", nullptr},
    {Keyword::Objects, "objects", nullptr}, {Keyword::Scenarios, "scenarios", nullptr},
    {Keyword::Protect, "Protect", nullptr}, {Keyword::Unprotect, "UNPROTECT", nullptr},
    {Keyword::Order, "ORDER", nullptr}, {Keyword::HiddenGrid, "HIDDEN_GRID", nullptr},
    {Keyword::HiddenHeader, "HIDDEN_HEADER", nullptr}, {Keyword::FrozenTop, "FROZEN_TOP", nullptr},
    {Keyword::FrozenLeft, "FROZEN_LEFT", nullptr}, {Keyword::FrozenSplit, "FROZEN_SPLIT", nullptr},
    {Keyword::Offset, "OFFSET", nullptr}, {Keyword::Adjust, "ADJUST", nullptr},
    {Keyword::Left, "LEFT", nullptr}, {Keyword::Right, "RIGHT", nullptr}, {Keyword::Top, "TOP", nullptr},
    {Keyword::Bottom, "BOTTOM", nullptr}, {Keyword::DiagonalUp, "DIAGONAL_UP", nullptr},
    {Keyword::DiagonalDown, "DIAGONAL_DOWN", nullptr}, {Keyword::Center, "CENTER", nullptr},
    {Keyword::Horizontal, "HORIZONTAL", nullptr}, {Keyword::Vertical, "VERTICAL", nullptr},
    {Keyword::Header, "HEADER", nullptr}, {Keyword::Footer, "FOOTER", nullptr},
    {Keyword::Pattern, "PATTERN", nullptr}, {Keyword::Gradation, "GRADATION", nullptr},
    {Keyword::Orientation, "ORIENTATION", nullptr}, {Keyword::Scale, "SCALE", nullptr},
    {Keyword::Dpi, "DPI", nullptr}, {Keyword::DataSource, "DATASOURCE", nullptr},
    {Keyword::RowNum, "ROWNUM", nullptr}, {Keyword::Switch, "SWITCH", nullptr},
    {Keyword::Date, "DATE", nullptr}, {Keyword::HostName, "HOSTNAME", nullptr},
    {Keyword::Company, "COMPANY", nullptr}, {Keyword::Creator, "CREATOR", nullptr},
    {Keyword::Manager, "MANAGER", nullptr}, {Keyword::Title, "TITLE", nullptr},
    {Keyword::Subject, "SUBJECT", nullptr}, {Keyword::Tag, "TAG", nullptr},
    {Keyword::ScrollRow, "SCROLL_ROW", nullptr}, {Keyword::PrintTitleRow, "PRINT_TITLE_ROW", nullptr},
    {Keyword::PrintTitleColumn, "PRINT_TITLE_COLUMN", nullptr}, {Keyword::Legend, "LEGEND", nullptr},
    {Keyword::Position, "POSITION", nullptr}, {Keyword::SeriesLine, "SERIES_LINE", nullptr},
    {Keyword::MajorUnit, "MAJOR_UNIT", nullptr}, {Keyword::DataLabel, "DATA_LABEL", nullptr},
    {Keyword::Text, "TEXT", nullptr}, {Keyword::GapWidth, "GAP_WIDTH", nullptr},
    {Keyword::ColumnName, "COLUMN_NAME", nullptr}, {Keyword::Fill, "FILL", nullptr},
    {Keyword::Border, "BORDER", nullptr}, {Keyword::Validation, "VALIDATION", nullptr},
    {Keyword::Tab, "TAB", nullptr}, {Keyword::Paper, "PAPER", nullptr}, {Keyword::Margin, "MARGIN", nullptr},
    {Keyword::PrintPageFit, "PRINT_PAGE_FIT", nullptr}, {Keyword::Merge, "MERGE", nullptr},
    {Keyword::Wrap, "WRAP", nullptr}, {Keyword::Shrink, "SHRINK", nullptr},
    {Keyword::Format, "FORMAT", nullptr}, {Keyword::Filter, "FILTER", nullptr},
    {Keyword::TableFormat, "TABLE_FORMAT", nullptr}, {Keyword::Csv, "CSV", nullptr},
    {Keyword::Tsv, "TSV", nullptr}, {Keyword::Sparkline, "SPARKLINE", nullptr},
    {Keyword::Hyperlink, "HYPERLINK", nullptr}, {Keyword::Width, "WIDTH", "幅"},
    {Keyword::Align, "ALIGN", "配置"}, {Keyword::Font, "FONT", "フォント"},
    {Keyword::Style, "STYLE", "スタイル"},
};
static_assert(sizeof KEYWORDS / sizeof KEYWORDS[0] == static_cast<size_t>(Keyword::Count),
              "every keyword has a name");

}  // namespace

bool ozw_equals_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
        char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 32) : b[i];
        if (x != y) return false;
    }
    return true;
}

bool ozw_find_keyword(std::string_view segment, Keyword &keyword) {
    for (const KeywordName &entry : KEYWORDS) {
        if (ozw_equals_ignoring_case(segment, entry.name) || (entry.synonym && segment == entry.synonym)) {
            keyword = entry.keyword;
            return true;
        }
    }
    return false;
}
