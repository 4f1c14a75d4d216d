// Format ids from format codes and cell styles; the kind of cell a number
// becomes.
#include "read/format_id.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char *code;
    int id;
};

void expect_ids(std::initializer_list<Case> cases) {
    for (const Case &c : cases) EXPECT_EQ(ozw_classify_format_code(c.code), c.id) << c.code;
}

TEST(FormatId, DateAndTimeCodes) {
    expect_ids({
        {"yyyy/m/d\\ h:mm", 303}, {"yyyy/m/d\\ h:mm AM/PM", 304}, {"yyyy/m/d;@", 302},
        {"yyyy/m/d", 306}, {"[$-411]yyyy/m/d", 306}, {"[$-411]ggge\"年\"m\"月\"d\"日\"", 335},
        {"[$-411]ge.m.d", 334}, {"ddd", 340}, {"aaa", 342}, {"yyyy\"年\"m\"月\"d\"日\"", 333},
        {"m\"月\"d\"日\"", 331}, {"yyyy\"年\"m\"月\"", 332}, {"h\"時\"mm\"分\"", 402}, {"m\"月\"", 330},
        {"h:mm:ss", 404}, {"h:mm", 401}, {"h:mm AM/PM", 403}, {"mm:ss.0", 407}, {"m/d/yy", 307},
        {"mm/dd/yy", 308}, {"d\\-mmm", 309}, {"mmmmm\\-yy", 315}, {"mmm\\-yy", 312}, {"mmmmm", 314},
        {"m/d", 306}, {"d", 319},
    });
}

TEST(FormatId, EarlierTestsWin) {
    expect_ids({
        {"h\"時\"mm\"分\"ss\"秒\"", 402},  // holds the hours-and-minutes pattern too
        {"dddd\\,\\ mmmm\\ dd\\,\\ yyyy", 341},
        {"dd\\-mmm\\-yy", 309},         // holds the day-month pattern
        {"yyyy/m/d h:mm", 401},            // no backslash before the blank
        {"[h]:mm:ss", 407},
    });
}

TEST(FormatId, PackageCodesWithQuoteEscapes) {
    expect_ids({
        {"yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;;@", 333},
        {"m&quot;月&quot;d&quot;日&quot;;@", 331}, {"h&quot;時&quot;mm&quot;分&quot;;@", 402},
        {"h&quot;時&quot;mm&quot;分&quot;ss&quot;秒&quot;", 405},  // 402 only when decoded first
        {"yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;", 333},     // the code's end ends the section
        {"m&quot;月&quot;", 330}, {"&quot;\\&quot;#,##0;&quot;\\&quot;\\-#,##0", 201},
        {"&quot;&quot;", 900}, {"\"&quot;&quot;\"", 900}, {"0&quot;%&quot;", 501},
    });
}

TEST(FormatId, NumberCodes) {
    expect_ids({
        {"\\$#,##0.00", 201}, {"\"\xA5\"#,##0", 201},
        {"\"\xC2\xA5\"#,##0;\"\xC2\xA5\"\\-#,##0", 107}, {"\"\\\"#,##0", 201},
        {"#,##0.00_ ;[Red]\\-#,##0.00\\ ", 107}, {"\"\"", 900}, {"0\"%\"", 501}, {"0.00", 100},
        {"0%", 100}, {"", 100},
        // Substring tests: a "d" anywhere, even in [Red] or a quoted
        // literal, makes a day format.
        {"0.00;[Red]0.00", 319}, {"0\"days\"", 319}, {"[Red]d", 319},
    });
}

StyleTables book_styles() {
    StyleTables styles;
    const std::pair<int, const char *> formats[] = {
        {176, "yyyy\"年\"m\"月\"d\"日\""}, {177, "0.0"}, {178, "[$-411]ge.m.d"}, {179, "0&quot;%&quot;"}, {180, "h:mm"}};
    for (auto [number, code] : formats)
        styles.number_formats.push_back({number, code, 0, 0, ozw_classify_format_code(code)});
    for (uint32_t number : {0u, 14u, 3u, 176u, 177u, 178u, 20u, 0xFFFFFFFFu}) {
        styles.xfs.emplace_back().num_format = number;
    }
    return styles;
}

XLS_CELL cell_with(signed char type, unsigned style) {
    XLS_CELL cell{};
    cell.type = type;
    cell.style = style;
    return cell;
}

TEST(FormatId, CellFormatIds) {
    const StyleTables styles = book_styles();
    auto id = [&](signed char type, unsigned style) {
        return ozw_cell_format_id(&styles, cell_with(type, style));
    };
    EXPECT_EQ(id(XLS_CELL_INTEGER, 0), 0);
    EXPECT_EQ(id(XLS_CELL_DATE, 1), 302);  // built-in date: by type
    EXPECT_EQ(id(XLS_CELL_INTEGER, 2), 107);
    EXPECT_EQ(id(XLS_CELL_DATE, 3), 333);
    EXPECT_EQ(id(XLS_CELL_DECIMAL, 4), 100);  // the book's own 177 is no built-in grouped number
    EXPECT_EQ(id(XLS_CELL_DATE, 5), 334);
    EXPECT_EQ(id(XLS_CELL_DATE_TIME, 6), 401);
    EXPECT_EQ(id(XLS_CELL_TIME_HMS, 7), 404);    // style-only format
    EXPECT_EQ(id(XLS_CELL_DATE_TIME, 99), 302);  // past the table
    EXPECT_EQ(ozw_cell_format_id(nullptr, cell_with(XLS_CELL_TIME_HM, 0)), 404);
}

TEST(FormatId, BuiltInNumbersWithoutAnEntry) {
    const struct {
        uint32_t number;
        int id;
    } expected[] = {{3, 107}, {178, 107}, {5, 201}, {18, 403}, {19, 406}, {21, 404},
                    {32, 402}, {33, 405}, {45, 407}, {47, 407}, {4, 0}};
    for (const auto &e : expected) {
        StyleTables styles;
        styles.xfs.resize(1);
        styles.xfs[0].num_format = e.number;
        EXPECT_EQ(ozw_cell_format_id(&styles, cell_with(XLS_CELL_INTEGER, 0)), e.id) << e.number;
    }
}

TEST(FormatId, CellKindOfNumberFormats) {
    const StyleTables styles = book_styles();
    const struct {
        int number;
        int kind;
    } expected[] = {
        {0, 10}, {1, 10}, {9, 13}, {10, 13}, {14, 20}, {17, 20}, {31, 20}, {58, 20},
        {18, 23}, {20, 23}, {32, 23}, {19, 24}, {21, 24}, {47, 24}, {49, 24}, {22, 21},
        {176, 20}, {177, 10}, {178, 20}, {179, 13}, {180, 21}, {181, 10},
    };
    for (const auto &e : expected) {
        EXPECT_EQ(ozw_number_format_kind(&styles, e.number), e.kind) << e.number;
    }
    EXPECT_EQ(ozw_number_format_kind(nullptr, 176), 10);
    EXPECT_EQ(ozw_style_cell_kind(&styles, 1), 20);
    EXPECT_EQ(ozw_style_cell_kind(&styles, 7), 10);   // style format
    EXPECT_EQ(ozw_style_cell_kind(&styles, 500), 10); // past the table
}

}  // namespace
