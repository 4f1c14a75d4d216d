// Saving a new book: the package holds exactly the parts of a result book,
// in zip order, with the texts Excel 2007 writes; failures leave the book
// open for another try.
#include "write/book_writer.h"

#include "mfile.h"
#include "write/part_files.h"
#include "write/printer_settings.h"
#include "write/zip_package.h"
#include "write_test_book.h"
#include "write_zip_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

const std::string DECL = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
const std::string RELS = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
const std::string REL_TYPE = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
const std::string WORKSHEET_OPEN =
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">";
const char *HEADER =
    "A.幅=50 B.幅=10 C.幅=20 D.幅=100 A1=セル内容 B1=セル名 C1=シート名 D1=パス(フォルダリンク) "
    "A1:D1.配置=中中 A1:D1.フォント.スタイル=強調";

struct Hit {
    const char *text, *cell, *sheet, *path, *folder;
};
const Hit HITS[] = {
    {"売上合計", "B3", "売上", "/data/a.xlsx", "/data"},
    {"He said \"hi\" & left", "C10", "Sheet1", "/data/sub dir/b c.xlsx", "/data/sub dir"},
};

std::string temp_path(const std::string &name) { return (fs::temp_directory_path() / name).string(); }

// The rows the search application writes: one values string per hit, then
// the two links.
void write_result_book(XLS_BOOK *book) {
    ASSERT_EQ(OXLS_put_values(book, HEADER), 0) << OXLS_error_mesg(book);
    int row = 2;
    for (const Hit &hit : HITS) {
        char values[1024];
        std::snprintf(values, sizeof values, "A%d=\"%s\" B%d=\"%s\" C%d=\"%s\" D%d=\"%s\"", row, hit.text, row,
                      hit.cell, row, hit.sheet, row, hit.path);
        ASSERT_EQ(OXLS_put_values(book, values), 0) << OXLS_error_mesg(book);
        std::string a = "A" + std::to_string(row), d = "D" + std::to_string(row);
        ASSERT_EQ(OXLS_book_hyperlink(book, a.c_str(), hit.path, hit.sheet, hit.cell), 0);
        ASSERT_EQ(OXLS_external_hyperlink(book, d.c_str(), hit.folder), 0);
        ++row;
    }
}

class WritePackage : public ::testing::Test {
protected:
    void SetUp() override {
        path = temp_path("zs_write_package_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".xlsx");
        std::snprintf(book.get()->file_name, sizeof book.get()->file_name, "%s", path.c_str());
    }
    // Deleted memory files keep their slot records until all are freed, as
    // closing a book does.
    void TearDown() override {
        fs::remove(path);
        mfree_all();
    }
    ZipEntries save() {
        EXPECT_EQ(ozw_save_book(book.get()), 0) << OXLS_error_mesg(book.get());
        return read_zip(path);
    }
    WriteTestBook book;
    std::string path;
};

TEST_F(WritePackage, ResultBookPartsInZipOrder) {
    write_result_book(book.get());
    ZipEntries entries = save();
    std::vector<std::string> names;
    for (const auto &entry : entries) names.push_back(entry.first);
    EXPECT_EQ(names, (std::vector<std::string>{
                         "[Content_Types].xml", "_rels/.rels", "docProps/app.xml", "docProps/core.xml",
                         "xl/_rels/workbook.xml.rels", "xl/theme/theme1.xml", "xl/styles.xml", "xl/workbook.xml",
                         "xl/sharedStrings.xml", "xl/worksheets/sheet1.xml", "xl/worksheets/sheet2.xml",
                         "xl/worksheets/sheet3.xml", "xl/worksheets/_rels/sheet1.xml.rels",
                         "xl/printerSettings/printerSettings1.bin", "xl/worksheets/_rels/sheet2.xml.rels",
                         "xl/printerSettings/printerSettings2.bin", "xl/worksheets/_rels/sheet3.xml.rels",
                         "xl/printerSettings/printerSettings3.bin"}));
}

TEST_F(WritePackage, ResultBookFrameParts) {
    write_result_book(book.get());
    ZipEntries entries = save();
    ASSERT_FALSE(entries.empty());
    std::string sheet_overrides;
    for (int i = 1; i <= 3; ++i)
        sheet_overrides += "<Override PartName=\"/xl/worksheets/sheet" + std::to_string(i) +
                           ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml."
                           "worksheet+xml\"/>";
    EXPECT_EQ(*find_entry(entries, "[Content_Types].xml"),
              DECL + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                     "<Override PartName=\"/xl/theme/theme1.xml\" ContentType=\"application/vnd.openxmlformats-"
                     "officedocument.theme+xml\"/><Override PartName=\"/xl/styles.xml\" ContentType=\"application/"
                     "vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/><Default Extension=\"bin\" "
                     "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.printerSettings\"/>"
                     "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package."
                     "relationships+xml\"/><Default Extension=\"xml\" ContentType=\"application/xml\"/><Override "
                     "PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument."
                     "spreadsheetml.sheet.main+xml\"/><Override PartName=\"/docProps/app.xml\" ContentType=\""
                     "application/vnd.openxmlformats-officedocument.extended-properties+xml\"/>" +
                  sheet_overrides +
                  "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"application/vnd.openxmlformats-"
                  "officedocument.spreadsheetml.sharedStrings+xml\"/><Override PartName=\"/docProps/core.xml\" "
                  "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/></Types>");
    EXPECT_EQ(*find_entry(entries, "_rels/.rels"),
              DECL + RELS + "<Relationship Id=\"rId3\" Type=\"" + REL_TYPE +
                  "extended-properties\" Target=\"docProps/app.xml\"/><Relationship Id=\"rId2\" Type=\"http://"
                  "schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties\" Target=\""
                  "docProps/core.xml\"/><Relationship Id=\"rId1\" Type=\"" +
                  REL_TYPE + "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
    EXPECT_EQ(*find_entry(entries, "docProps/app.xml"),
              DECL + "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-"
                     "properties\" xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">"
                     "<Application>Microsoft Excel</Application><DocSecurity>0</DocSecurity><ScaleCrop>false"
                     "</ScaleCrop><HeadingPairs><vt:vector size=\"2\" baseType=\"variant\"><vt:variant><vt:lpstr>"
                     "ワークシート</vt:lpstr></vt:variant><vt:variant><vt:i4>3</vt:i4></vt:variant></vt:vector>"
                     "</HeadingPairs><TitlesOfParts><vt:vector size=\"3\" baseType=\"lpstr\"><vt:lpstr>Sheet1"
                     "</vt:lpstr><vt:lpstr>Sheet2</vt:lpstr><vt:lpstr>Sheet3</vt:lpstr></vt:vector></TitlesOfParts>"
                     "<Company>MyCompany</Company><LinksUpToDate>false</LinksUpToDate><SharedDoc>false</SharedDoc>"
                     "<HyperlinksChanged>false</HyperlinksChanged><AppVersion>12.0000</AppVersion></Properties>");
    std::string core = std::regex_replace(*find_entry(entries, "docProps/core.xml"),
                                          std::regex("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ"), "TIME");
    EXPECT_EQ(core, DECL + "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/"
                           "core-properties\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://"
                           "purl.org/dc/terms/\" xmlns:dcmitype=\"http://purl.org/dc/dcmitype/\" xmlns:xsi=\"http://"
                           "www.w3.org/2001/XMLSchema-instance\"><dc:creator>MyName</dc:creator><cp:lastModifiedBy>"
                           "MyName</cp:lastModifiedBy><dcterms:created xsi:type=\"dcterms:W3CDTF\">TIME</dcterms:"
                           "created><dcterms:modified xsi:type=\"dcterms:W3CDTF\">TIME</dcterms:modified></cp:"
                           "coreProperties>");
    std::string workbook_rels = DECL + RELS;
    for (int i = 3; i >= 1; --i)
        workbook_rels += "<Relationship Id=\"rId" + std::to_string(i) + "\" Type=\"" + REL_TYPE +
                         "worksheet\" Target=\"worksheets/sheet" + std::to_string(i) + ".xml\"/>";
    workbook_rels += "<Relationship Id=\"rId6\" Type=\"" + REL_TYPE +
                     "sharedStrings\" Target=\"sharedStrings.xml\"/><Relationship Id=\"rId5\" Type=\"" + REL_TYPE +
                     "styles\" Target=\"styles.xml\"/><Relationship Id=\"rId4\" Type=\"" + REL_TYPE +
                     "theme\" Target=\"theme/theme1.xml\"/></Relationships>";
    EXPECT_EQ(*find_entry(entries, "xl/_rels/workbook.xml.rels"), workbook_rels);
    EXPECT_EQ(*find_entry(entries, "xl/workbook.xml"),
              DECL + "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" xmlns:r=\""
                     "http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><fileVersion appName="
                     "\"xl\" lastEdited=\"4\" lowestEdited=\"4\" rupBuild=\"4506\"/><workbookPr  defaultTheme"
                     "Version=\"124226\"/><bookViews><workbookView xWindow=\"10\" yWindow=\"10\" windowWidth="
                     "\"18000\" windowHeight=\"10000\"/></bookViews><sheets><sheet name=\"Sheet1\" sheetId=\"1\" "
                     "r:id=\"rId1\"/><sheet name=\"Sheet2\" sheetId=\"2\" r:id=\"rId2\"/><sheet name=\"Sheet3\" "
                     "sheetId=\"3\" r:id=\"rId3\"/></sheets><calcPr calcId=\"145621\"/></workbook>");
    const std::string &theme = *find_entry(entries, "xl/theme/theme1.xml");
    EXPECT_EQ(theme.rfind(DECL + "<a:theme xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
                                 "name=\"Office Theme\">",
                          0),
              0u);
}

TEST_F(WritePackage, ResultBookDataParts) {
    write_result_book(book.get());
    ZipEntries entries = save();
    ASSERT_FALSE(entries.empty());
    const char *strings[] = {"セル内容", "セル名", "シート名", "パス(フォルダリンク)", "売上合計", "B3", "売上",
                             "/data/a.xlsx", "He said &quot;hi&quot; &amp; left", "C10", "Sheet1",
                             "/data/sub dir/b c.xlsx"};
    std::string sst = DECL + "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                             "count=\"12\" uniqueCount=\"12\">";
    for (const char *text : strings)
        sst += std::string(std::strchr(text, ' ') ? "<si><t xml:space=\"preserve\">" : "<si><t>") + text +
               "</t><phoneticPr fontId=\"1\"/></si>";
    EXPECT_EQ(*find_entry(entries, "xl/sharedStrings.xml"), sst + "</sst>");

    std::string sheet1 = DECL + WORKSHEET_OPEN +
                         "<dimension ref=\"A1:D3\"/><sheetViews><sheetView tabSelected=\"1\" zoomScale=\"100\" "
                         "workbookViewId=\"0\" showGridLines=\"1\"><selection activeCell=\"A1\" sqref=\"A1\" />"
                         "</sheetView></sheetViews><sheetFormatPr defaultRowHeight=\"13.5\"/><cols>";
    const char *widths[] = {"50.625", "10.625", "20.625", "100.625"};
    for (int c = 1; c <= 4; ++c)
        sheet1 += "<col min=\"" + std::to_string(c) + "\" max=\"" + std::to_string(c) + "\" width=\"" +
                  widths[c - 1] + "\" bestFit=\"1\" customWidth=\"1\"/>";
    sheet1 += "</cols><sheetData><row r=\"1\" spans=\"1:4\">";
    for (int c = 0; c < 4; ++c)
        sheet1 += "<c r=\"" + std::string(1, static_cast<char>('A' + c)) + "1\" s=\"10\" t=\"s\"><v>" +
                  std::to_string(c) + "</v></c>";
    sheet1 += "</row>";
    for (int row = 2; row <= 3; ++row) {
        std::string r = std::to_string(row);
        int first = 4 * (row - 1);
        sheet1 += "<row r=\"" + r + "\" spans=\"1:4\"><c r=\"A" + r + "\" s=\"7\" t=\"s\"><v>" +
                  std::to_string(first) + "</v></c><c r=\"B" + r + "\" t=\"s\"><v>" + std::to_string(first + 1) +
                  "</v></c><c r=\"C" + r + "\" t=\"s\"><v>" + std::to_string(first + 2) + "</v></c><c r=\"D" + r +
                  "\" s=\"7\" t=\"s\"><v>" + std::to_string(first + 3) + "</v></c></row>";
    }
    sheet1 += "</sheetData><hyperlinks><hyperlink ref=\"A2\" r:id=\"rId1\" location=\"'売上'!B3\"/>"
              "<hyperlink ref=\"D2\" r:id=\"rId2\"/><hyperlink ref=\"A3\" r:id=\"rId3\" location=\"'Sheet1'!C10\"/>"
              "<hyperlink ref=\"D3\" r:id=\"rId4\"/></hyperlinks></worksheet>";
    EXPECT_EQ(*find_entry(entries, "xl/worksheets/sheet1.xml"), sheet1);

    std::string sheet1_rels = DECL + RELS;
    const char *targets[] = {"/data/a.xlsx", "/data", "/data/sub dir/b c.xlsx", "/data/sub dir"};
    for (int i = 0; i < 4; ++i)
        sheet1_rels += "<Relationship Id=\"rId" + std::to_string(i + 1) + "\" Type=\"" + REL_TYPE +
                       "hyperlink\" Target=\"" + targets[i] + "\" TargetMode=\"External\"/>";
    sheet1_rels += "<Relationship Id=\"rId5\" Type=\"" + REL_TYPE +
                   "printerSettings\" Target=\"../printerSettings/printerSettings1.bin\"/></Relationships>";
    EXPECT_EQ(*find_entry(entries, "xl/worksheets/_rels/sheet1.xml.rels"), sheet1_rels);

    const std::string &styles = *find_entry(entries, "xl/styles.xml");
    EXPECT_NE(styles.find("<fonts count=\"4\">"), std::string::npos);
    EXPECT_NE(styles.find("<cellXfs count=\"11\">"), std::string::npos);
}

TEST_F(WritePackage, BookWithoutDataHasThreeEmptySheets) {
    ZipEntries entries = save();
    ASSERT_EQ(entries.size(), 18u);
    EXPECT_EQ(book.get()->sheet_count, 3);
    for (int i = 2; i <= 3; ++i) {
        std::string number = std::to_string(i);
        EXPECT_EQ(*find_entry(entries, "xl/worksheets/sheet" + number + ".xml"),
                  DECL + WORKSHEET_OPEN +
                      "<dimension ref=\"A1:A1\"/><sheetViews><sheetView tabSelected=\"0\" zoomScale=\"100\" "
                      "workbookViewId=\"0\" showGridLines=\"1\"><selection activeCell=\"A1\" sqref=\"A1\" />"
                      "</sheetView></sheetViews><sheetFormatPr defaultRowHeight=\"13.5\"/><sheetData></sheetData>"
                      "</worksheet>");
        EXPECT_EQ(*find_entry(entries, "xl/worksheets/_rels/sheet" + number + ".xml.rels"),
                  DECL + RELS + "<Relationship Id=\"rId1\" Type=\"" + REL_TYPE +
                      "printerSettings\" Target=\"../printerSettings/printerSettings" + number +
                      ".bin\"/></Relationships>");
    }
    EXPECT_NE(find_entry(entries, "xl/sharedStrings.xml")->find("count=\"0\" uniqueCount=\"0\"></sst>"),
              std::string::npos);
}

TEST_F(WritePackage, NamedSheetsKeepTheirNamesButAppTitlesCountSheets) {
    ASSERT_EQ(ozw_add_sheet(book.get(), "R&D <1>"), 0);
    ASSERT_EQ(ozw_add_sheet(book.get(), "売上"), 1);
    ASSERT_EQ(OXLS_put_values(book.get(), "A1=x COMPANY=\"A&B\" TITLE=題名 MANAGER=\"<boss>\""), 0);
    ZipEntries entries = save();
    EXPECT_EQ(book.get()->sheet_count, 2);
    const std::string &workbook = *find_entry(entries, "xl/workbook.xml");
    EXPECT_NE(workbook.find("<sheet name=\"R&amp;D &lt;1&gt;\" sheetId=\"1\" r:id=\"rId1\"/><sheet name=\"売上\" "
                            "sheetId=\"2\" r:id=\"rId2\"/></sheets>"),
              std::string::npos);
    const std::string &app = *find_entry(entries, "docProps/app.xml");
    EXPECT_NE(app.find("<vt:lpstr>Sheet1</vt:lpstr><vt:lpstr>Sheet2</vt:lpstr></vt:vector></TitlesOfParts>"
                       "<Manager>&lt;boss&gt;</Manager><Company>A&amp;B</Company>"),
              std::string::npos);
    EXPECT_NE(find_entry(entries, "docProps/core.xml")->find("<dc:title>題名</dc:title><dc:creator>"),
              std::string::npos);
}

TEST_F(WritePackage, CellsOfEveryTypeAndStyledEmptyCells) {
    ASSERT_EQ(OXLS_put_values(book.get(), "A1=12 B1=-3.50 C1=50% D1=2016/3/25 E1=25:30 F1=\"2016/3/25 14:05:09\" "
                                          "G1=\"=sum(a1:b1)\" H1.配置=中中 J3=\"a b\""),
              0)
        << OXLS_error_mesg(book.get());
    ZipEntries entries = save();
    const std::string &sheet = *find_entry(entries, "xl/worksheets/sheet1.xml");
    EXPECT_NE(sheet.find("<dimension ref=\"A1:J3\"/>"), std::string::npos);
    EXPECT_NE(sheet.find("<row r=\"1\" spans=\"1:8\"><c r=\"A1\"><v>12</v></c><c r=\"B1\"><v>-3.50</v></c>"
                         "<c r=\"C1\" s=\"6\"><v>0.50</v></c><c r=\"D1\" s=\"1\"><v>42454</v></c>"
                         "<c r=\"E1\" s=\"3\"><v>1.062500</v></c><c r=\"F1\" s=\"2\"><v>42454.586910</v></c>"
                         "<c r=\"G1\"><f>SUM(A1:B1)</f></c><c r=\"H1\" s=\"9\"/></row>"
                         "<row r=\"3\" spans=\"1:10\"><c r=\"J3\" t=\"s\"><v>0</v></c></row></sheetData>"),
              std::string::npos)
        << sheet;
}

TEST_F(WritePackage, UnwritableFileFailsAndTheBookStaysForAnotherTry) {
    write_result_book(book.get());
    std::string bad = temp_path("zs_no_such_folder/sub/result.xlsx");
    std::snprintf(book.get()->file_name, sizeof book.get()->file_name, "%s", bad.c_str());
    EXPECT_EQ(ozw_save_book(book.get()), -103);
    EXPECT_EQ(OXLS_error_code(book.get()), -103);
    EXPECT_EQ(std::string(OXLS_error_mesg(book.get())), "OXLS-03121 Excelファイル書込みエラー(\"" + bad + "\")。");
    EXPECT_EQ(book.get()->sheet_count, 3);
    EXPECT_EQ(book.get()->sst_count, 12);
    EXPECT_EQ(mcount() == 0 || mlength("xl/worksheets/sheet1.xml") == 0, true);   // parts released

    std::snprintf(book.get()->file_name, sizeof book.get()->file_name, "%s", path.c_str());
    ZipEntries entries = save();
    EXPECT_EQ(entries.size(), 18u);
    EXPECT_EQ(book.get()->sheet_count, 3);
}

TEST_F(WritePackage, WriteMemoryPutsTheBookIntoAMemoryFile) {
    ASSERT_EQ(OXLS_put_values(book.get(), "A1=memory"), 0);
    book.get()->flags[OXLS_FLAG_WRITE_MEMORY] = 0;
    std::snprintf(book.get()->file_name, sizeof book.get()->file_name, "memory-book.xlsx");
    ASSERT_EQ(ozw_save_book(book.get()), 0) << OXLS_error_mesg(book.get());
    EXPECT_FALSE(fs::exists("memory-book.xlsx"));
    ASSERT_GT(mlength("memory-book.xlsx"), 0);
    zlib_filefunc64_def functions;
    orb_fill_zip_filefunc64(&functions, ZipMedium::Memory);
    ZipEntries entries = read_zip("memory-book.xlsx", &functions);
    ASSERT_EQ(entries.size(), 18u);
    EXPECT_NE(find_entry(entries, "xl/sharedStrings.xml")->find("<si><t>memory</t>"), std::string::npos);
    mdelete("memory-book.xlsx");
}

TEST(WritePackageParts, BuiltOnDiskZipsToTheSameBytes) {
    std::vector<std::string> list = {"[Content_Types].xml", "xl/worksheets/sheet1.xml", "xl/a.bin"};
    std::vector<std::string> data = {"<Types/>", std::string(100000, 'x'), std::string("\0\1\2", 3)};
    std::string in_memory = temp_path("zs_parts_memory.zip");
    std::string on_disk = temp_path("zs_parts_disk.zip");
    {
        PartFiles parts(2);
        for (size_t i = 0; i < list.size(); ++i) ASSERT_EQ(parts.write(list[i], data[i]), 0);
        EXPECT_GT(mlength("[2]xl/worksheets/sheet1.xml"), 0);
        ASSERT_EQ(ozw_zip_package(in_memory.c_str(), ZipMedium::Disk, parts, list), 0);
    }
    EXPECT_EQ(mlength("[2]xl/worksheets/sheet1.xml"), 0);   // released with the part files
    std::string folder = temp_path("zs_parts_folder");
    {
        PartFiles parts(2);
        ASSERT_EQ(parts.use_disk(folder), 0);
        for (size_t i = 0; i < list.size(); ++i) ASSERT_EQ(parts.write(list[i], data[i]), 0);
        EXPECT_TRUE(fs::exists(fs::path(folder) / "[2]xl" / "worksheets" / "sheet1.xml"));
        ASSERT_EQ(ozw_zip_package(on_disk.c_str(), ZipMedium::Disk, parts, list), 0);
    }
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(read_zip(in_memory), read_zip(on_disk));
    ZipEntries entries = read_zip(on_disk);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].second, data[1]);
    fs::remove(in_memory);
    fs::remove(on_disk);
    mfree_all();
}

TEST(WritePrinterSettings, DeviceModeRecordForTheXpsWriter) {
    std::string blob = ozw_printer_settings(PAPER_A4, ORIENTATION_PORTRAIT);
    ASSERT_EQ(blob.size(), 1076u);
    const char *device = "Microsoft XPS Document Writer";
    for (size_t i = 0; i < std::strlen(device); ++i) {
        EXPECT_EQ(blob[2 * i], device[i]);
        EXPECT_EQ(blob[2 * i + 1], '\0');
    }
    EXPECT_EQ(blob[2 * std::strlen(device)], '\0');
    auto u16 = [&](size_t at) { return static_cast<unsigned char>(blob[at]) | static_cast<unsigned char>(blob[at + 1]) << 8; };
    EXPECT_EQ(u16(68), 220);            // size of the public part
    EXPECT_EQ(u16(70), 1076 - 220);     // driver data that follows it
    EXPECT_EQ(u16(76), 1);              // portrait
    EXPECT_EQ(u16(78), 9);              // A4
    EXPECT_EQ(u16(102), 'A');           // form name
}

}  // namespace
