// Messages: the Shift-JIS bytes of the OXLS texts, the error state of a
// book and its conversion, the ORB message list, the debug log and the
// banner.
#include "messages.h"

#include "charset.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

// Expected texts, written out as the Shift-JIS bytes they must be.
const char kOutOfMemory[] = "OXLS-00002 \x83\x81\x83\x82\x83\x8A\x95s\x91\xAB\x82\xC5\x82\xB7\x81" "B\x8F\x88\x97\x9D\x82\xF0\x92\x86\x92" "f\x82\xB5\x82\xDC\x82\xB7\x81" "B";
const char kEqualsWrong[] = "OXLS-02303 \x88\xF8\x90\x94\x97\xF1\x82\xCC\x83" "C\x83R\x81[\x83\x8B(=)\x95\x94\x95\xAA\x82\xAA\x95s\x90\xB3\x82\xC5\x82\xB7(\"a.xlsx\")\x81" "B";
const char kKeywordTooLong[] = "OXLS-02210 \x83L\x81[\x83\x8F\x81[\x83h\x82\xAA\x92\xB7\x82\xB7\x82\xAC\x82\xDC\x82\xB7(\"KEY\")\x81" "B\x8D\xC5\x91\xE5\x92\xB7\x82\xCD(256)\x83o\x83" "C\x83g\x82\xC5\x82\xB7\x81" "B";
const char kBufferOverflow[] = "ORB-04000: \x93\xE0\x95\x94\x8F\x88\x97\x9D\x83o\x83" "b\x83t\x83@(\"Invalid Byte Order\")\x82\xAA\x83I\x81[\x83o\x81[\x83t\x83\x8D\x81[\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81" "B\x8F\x88\x97\x9D\x82\xF0\x92\x86\x92" "f\x82\xB5\x82\xDC\x82\xB7\x81" "B";
const char kOrbOutOfMemory[] = "ORB-00002: \x83\x81\x83\x82\x83\x8A\x95s\x91\xAB\x82\xC5\x82\xB7\x81" "B\x8F\x88\x97\x9D\x82\xF0\x92\x86\x92" "f\x82\xB5\x82\xDC\x82\xB7\x81" "B";

struct BookWithWork {
    std::unique_ptr<XLS_BOOK> book = std::make_unique<XLS_BOOK>();
    OzwWork work{};
    explicit BookWithWork(int charset) {
        work.charset = charset;
        book->work = &work;
    }
};

TEST(OxlsMessages, TextsAreShiftJisWithTheirPlaceholders) {
    EXPECT_STREQ(ozw_message_text(OXLS_00002), kOutOfMemory);
    EXPECT_STREQ(ozw_message_text(OXLS_4000), "OXLS-4000 book->log.error_info too long");
    std::string with_line_feed = ozw_message_text(OXLS_02202);
    EXPECT_EQ(with_line_feed.substr(0, 11), "OXLS-02202 ");
    EXPECT_EQ(with_line_feed.back(), '\n');
    EXPECT_EQ(std::string(ozw_message_text(OXLS_04100)).back(), '\n');
    // The two texts of code 02209 differ.
    EXPECT_STRNE(ozw_message_text(OXLS_02209_KEYWORD), ozw_message_text(OXLS_02209_SHEET));
    // Every text starts with its code and carries at most the placeholders
    // a caller can fill: %s and %d.
    for (int i = 0; i < OXLS_MESSAGE_COUNT; ++i) {
        std::string text = ozw_message_text(static_cast<OxlsMessage>(i));
        EXPECT_EQ(text.substr(0, 5), "OXLS-") << i;
        for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1))
            EXPECT_TRUE(text[at + 1] == 's' || text[at + 1] == 'd') << text;
    }
    EXPECT_STREQ(ozw_message_text(OXLS_MESSAGE_COUNT), "");
}

TEST(OxlsMessages, SetErrorFormatsIntoTheBookAndReturnsTheCode) {
    BookWithWork b(CS_SJIS);
    EXPECT_EQ(ozw_set_error(b.book.get(), -3, OXLS_02303, "a.xlsx"), -3);
    EXPECT_STREQ(b.book->log.error_info, kEqualsWrong);
    EXPECT_EQ(OXLS_error_code(b.book.get()), -3);
    EXPECT_STREQ(OXLS_error_mesg(b.book.get()), kEqualsWrong);

    ozw_set_error(b.book.get(), -9, OXLS_02210, "KEY", 256);
    EXPECT_STREQ(b.book->log.error_info, kKeywordTooLong);

    EXPECT_EQ(ozw_set_code(b.book.get(), 0), 0);
    EXPECT_EQ(OXLS_error_code(b.book.get()), 0);
    EXPECT_STREQ(OXLS_error_mesg(b.book.get()), kKeywordTooLong) << "a code alone keeps the text";
}

TEST(OxlsMessages, OverlongTextsAreReplacedWhenFetched) {
    BookWithWork b(CS_SJIS);
    std::string value(7000, 'v');
    ozw_set_error(b.book.get(), -1, OXLS_03600, value.c_str());
    EXPECT_EQ(std::strlen(b.book->log.error_info), 6000u) << "the buffer bound holds";
    EXPECT_STREQ(OXLS_error_mesg(b.book.get()), "OXLS-4000 book->log.error_info too long");

    std::memset(b.book->log.error_info, 'x', 6000);
    b.book->log.error_info[6000] = '\0';
    EXPECT_STREQ(OXLS_error_mesg(b.book.get()), "OXLS-4000 book->log.error_info too long");
    b.book->log.error_info[5999] = '\0';
    EXPECT_EQ(std::strlen(OXLS_error_mesg(b.book.get())), 5999u);
}

TEST(OxlsMessages, FetchedTextIsInTheCallersCharacterSet) {
    BookWithWork b(CS_UTF8);
    ozw_set_error(b.book.get(), -2, OXLS_00002);
    EXPECT_STREQ(OXLS_error_mesg(b.book.get()),
                 "OXLS-00002 \xE3\x83\xA1\xE3\x83\xA2\xE3\x83\xAA\xE4\xB8\x8D\xE8\xB6\xB3\xE3\x81\xA7\xE3\x81\x99"
                 "\xE3\x80\x82\xE5\x87\xA6\xE7\x90\x86\xE3\x82\x92\xE4\xB8\xAD\xE6\x96\xAD\xE3\x81\x97\xE3\x81\xBE"
                 "\xE3\x81\x99\xE3\x80\x82");
    EXPECT_STREQ(b.book->log.error_info, kOutOfMemory) << "the stored text stays Shift-JIS";

    // Without a work area the caller gets Shift-JIS.
    b.book->work = nullptr;
    EXPECT_STREQ(OXLS_error_mesg(b.book.get()), kOutOfMemory);

    // A long Japanese text grows in UTF-8 past the buffer: it is cut on a
    // character boundary.
    b.book->work = &b.work;
    std::string kana;
    for (int i = 0; i < 2990; ++i) kana += "\x82\xA0";
    std::strcpy(b.book->log.error_info, kana.c_str());
    std::string fetched = OXLS_error_mesg(b.book.get());
    EXPECT_LE(fetched.size(), sizeof b.book->log.error_converted - 1);
    EXPECT_EQ(fetched.size() % 3, 0u);
    EXPECT_GT(fetched.size(), 5990u);
}

class OrbMessages : public ::testing::Test {
protected:
    OzwWork work{};
    void push(int number, const char *detail) {
        orb_set_message_no(&work, number);
        orb_push_message(&work, detail);
    }
};

TEST_F(OrbMessages, EntriesComeFromTheTemplateTable) {
    push(4000, "Invalid Byte Order");
    EXPECT_STREQ(work.messages[0], kBufferOverflow);
    EXPECT_EQ(work.message_no, 0) << "the number is used once";
    push(2, "");
    EXPECT_STREQ(work.messages[1], kOrbOutOfMemory) << "a template without a placeholder";
    push(2, "more");
    EXPECT_EQ(std::string(work.messages[2]), std::string(kOrbOutOfMemory) + "more");
    push(12345, "detail");
    EXPECT_STREQ(work.messages[3], "ORB-12345: detail");
    push(0, "plain");
    EXPECT_STREQ(work.messages[4], "plain");
    push(7, "first\nsecond");
    EXPECT_EQ(std::string(work.messages[5]).find("second"), std::string::npos);
    EXPECT_NE(std::string(work.messages[5]).find("(\"first\")"), std::string::npos);
    EXPECT_EQ(work.message_count, 6);
}

TEST_F(OrbMessages, TheListKeepsTheNewestThirtyTwoAndBoundsEachEntry) {
    for (int i = 1; i <= 33; ++i) push(0, std::to_string(i).c_str());
    EXPECT_EQ(work.message_count, ORB_MESSAGE_LIST_LEN);
    EXPECT_STREQ(work.messages[0], "2");
    EXPECT_STREQ(work.messages[31], "33");

    std::string long_detail(300, 'd');
    push(4000, long_detail.c_str());
    EXPECT_EQ(std::strlen(work.messages[31]), 200u);
    EXPECT_STREQ(work.messages[30], "33");
    // A cut never splits a double-byte character.
    std::string kana;
    for (int i = 0; i < 150; ++i) kana += "\x82\xA0";
    push(0, ("x" + kana).c_str());
    EXPECT_EQ(std::strlen(work.messages[31]), 199u);
}

TEST_F(OrbMessages, ReportingPrintsOrShowsThenClears) {
    push(0, "one");
    push(0, "two");
    work.report_to_stream = 1;
    work.err = std::tmpfile();
    ASSERT_NE(work.err, nullptr);
    orb_set_message_no(&work, 5);
    orb_report_messages(&work);
    std::rewind(work.err);
    char printed[64] = {};
    EXPECT_EQ(std::fread(printed, 1, sizeof printed - 1, work.err), 9u);
    EXPECT_STREQ(printed, "one\ntwo\n\n");
    std::fclose(work.err);
    EXPECT_EQ(work.message_count, 0);
    EXPECT_EQ(work.message_no, 0);

    work.report_to_stream = 0;
    push(0, "older");
    push(0, "newest");
    ::testing::internal::CaptureStderr();
    orb_report_messages(&work);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "ORB Z-WEAVE: newest\n");

    ::testing::internal::CaptureStderr();
    orb_popup(-1, "broken");
    orb_popup(3, "careful");
    orb_popup(0, "ORB-00001: as is");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "ORB Z-WEAVE: ERROR: broken\nORB Z-WEAVE: WARNING: careful\nORB Z-WEAVE: ORB-00001: as is\n");
}

class DebugLog : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / ("zs_log_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        const char *old = std::getenv("TEMP");
        had_temp_ = old != nullptr;
        if (had_temp_) old_temp_ = old;
        setenv("TEMP", folder_.c_str(), 1);
    }
    void TearDown() override {
        if (had_temp_) setenv("TEMP", old_temp_.c_str(), 1);
        else unsetenv("TEMP");
        std::filesystem::remove_all(folder_);
    }
    std::string log_text() const {
        std::ifstream in(folder_ / "ORBdebug.log", std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    std::filesystem::path folder_;
    bool had_temp_ = false;
    std::string old_temp_;
};

TEST_F(DebugLog, LinesAppendAndTheLogResets) {
    EXPECT_EQ(orb_log_line("first"), 0);
    EXPECT_EQ(orb_log_line("second"), 0);
    EXPECT_EQ(log_text(), "first\nsecond\n");
    EXPECT_EQ(orb_log_reset(), 0);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "ORBdebug.log"));

    OzwWork work{};
    orb_log_messages(&work);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "ORBdebug.log")) << "an empty list writes nothing";
    orb_push_message(&work, "m1");
    orb_log_messages(&work);
    std::string text = log_text();
    EXPECT_EQ(text.substr(0, 15), "error message >");
    EXPECT_NE(text.find("\nm1\nerror message <"), std::string::npos);

    setenv("TEMP", (folder_ / "missing").c_str(), 1);
    EXPECT_EQ(orb_log_line("lost"), -101);
}

TEST_F(DebugLog, HexDumpLinesAndTimeStamp) {
    unsigned char data[20];
    for (int i = 0; i < 20; ++i) data[i] = static_cast<unsigned char>(0x41 + i);
    data[1] = 0;
    data[2] = '\n';
    data[3] = 0xAB;
    orb_log_hex(data, 20);
    EXPECT_EQ(log_text(),
              "00000000  41 00 0A AB 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50   A...EFGHIJKLMNOP\n"
              "00000010  51 52 53 54                                       QRST\n");

    char stamp[20];
    orb_time_stamp(stamp);
    EXPECT_TRUE(std::regex_match(stamp, std::regex(R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2})"))) << stamp;
}

TEST(LibraryInfo, HelpBannerAndDebugLine) {
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(OXLS_help(), 0);
    std::string help = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(help.substr(0, help.find('\n') + 1), "ORB Z-WEAVE: Release 2.2.0.0\n");
    EXPECT_NE(help.find("WIDTH"), std::string::npos);
    EXPECT_NE(help.find("\x95\x9D"), std::string::npos) << "the Japanese synonym of WIDTH, in Shift-JIS";

    ::testing::internal::CaptureStdout();
    EXPECT_EQ(OXLS_debug("trace"), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "trace\n");
}

}  // namespace
