// Messages as a caller gets them: a book's error code and text in the
// caller's character set, the ORB message list and its report, the debug
// log and the banner.
#include "messages.h"

#include "charset.h"
#include "environment.h"
#include "test_folder.h"
#include "write_test_book.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>

namespace {

std::string sjis(const char *utf8) { return orb_convert(CS_UTF8, CS_SJIS, utf8); }

TEST(OxlsMessages, ErrorsReachTheCallerWithTheirCodeInItsCharacterSet) {
    WriteTestBook b;   // the caller's character set UTF-8
    const char *too_long = "OXLS-02210 キーワードが長すぎます(\"KEY\")。最大長は(256)バイトです。";
    EXPECT_EQ(ozw_set_error(b.get(), -9, OXLS_02210, "KEY", 256), -9);
    EXPECT_EQ(OXLS_error_code(b.get()), -9);
    EXPECT_STREQ(OXLS_error_mesg(b.get()), too_long);
    EXPECT_EQ(ozw_set_code(b.get(), 0), 0);
    EXPECT_EQ(OXLS_error_code(b.get()), 0);
    EXPECT_STREQ(OXLS_error_mesg(b.get()), too_long) << "a code alone keeps the text";

    // Without a work area the caller gets Shift-JIS.
    b.book->work = nullptr;
    EXPECT_EQ(OXLS_error_mesg(b.get()), sjis(too_long));
    b.book->work = b.work.get();

    // A long Japanese text grows in UTF-8 past the buffer: it is cut on a
    // character boundary.
    std::string kana;
    for (int i = 0; i < 2990; ++i) kana += "\x82\xA0";
    std::strcpy(b.book->log.error_info, kana.c_str());
    const std::string fetched = OXLS_error_mesg(b.get());
    EXPECT_LE(fetched.size(), sizeof b.book->log.error_converted - 1);
    EXPECT_EQ(fetched.size() % 3, 0u);
    EXPECT_GT(fetched.size(), 5990u);

    // A text past the buffer is replaced when fetched.
    b.work->charset = CS_SJIS;
    const std::string value(7000, 'v');
    ozw_set_error(b.get(), -1, OXLS_03600, value.c_str());
    EXPECT_EQ(std::strlen(b.book->log.error_info), 6000u) << "the buffer bound holds";
    EXPECT_STREQ(OXLS_error_mesg(b.get()), "OXLS-4000 book->log.error_info too long");
    b.book->log.error_info[5999] = '\0';
    EXPECT_EQ(std::strlen(OXLS_error_mesg(b.get())), 5999u);
}

class OrbMessages : public ::testing::Test {
protected:
    OzwWork work{};
    void push(int number, const char *detail) {
        orb_set_message_no(&work, number);
        orb_push_message(&work, detail);
    }
};

TEST_F(OrbMessages, TheListFillsTemplatesKeepsTheNewestAndReports) {
    push(4000, "Invalid Byte Order");
    EXPECT_EQ(work.messages[0],
              sjis("ORB-04000: 内部処理バッファ(\"Invalid Byte Order\")がオーバーフローしました。処理を中断します。"));
    EXPECT_EQ(work.message_no, 0) << "the number is used once";
    push(2, "more");
    EXPECT_EQ(work.messages[1], sjis("ORB-00002: メモリ不足です。処理を中断します。more"));
    push(12345, "first\nsecond");
    EXPECT_STREQ(work.messages[2], "ORB-12345: first") << "a number without a template, the first line";

    // The newest 32 stay, each at most 200 bytes, never cut inside a
    // double-byte character.
    for (int i = 1; i <= 33; ++i) push(0, std::to_string(i).c_str());
    EXPECT_EQ(work.message_count, ORB_MESSAGE_LIST_LEN);
    EXPECT_STREQ(work.messages[0], "2");
    push(4000, std::string(300, 'd').c_str());
    EXPECT_EQ(std::strlen(work.messages[31]), 200u);
    std::string kana;
    for (int i = 0; i < 150; ++i) kana += "\x82\xA0";
    push(0, ("x" + kana).c_str());
    EXPECT_EQ(std::strlen(work.messages[31]), 199u);

    // Reporting to a stream prints every entry and clears the list; to
    // the terminal it shows the newest.
    work.message_count = 0;
    push(0, "one");
    push(0, "two");
    work.report_to_stream = 1;
    work.err = std::tmpfile();
    ASSERT_NE(work.err, nullptr);
    orb_report_messages(&work);
    std::rewind(work.err);
    char printed[64] = {};
    EXPECT_EQ(std::fread(printed, 1, sizeof printed - 1, work.err), 9u);
    EXPECT_STREQ(printed, "one\ntwo\n\n");
    std::fclose(work.err);
    EXPECT_EQ(work.message_count, 0);

    work.report_to_stream = 0;
    push(0, "older");
    push(0, "newest");
    ::testing::internal::CaptureStderr();
    orb_report_messages(&work);
    orb_popup(-1, "broken");
    orb_popup(3, "careful");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "ORB Z-WEAVE: newest\nORB Z-WEAVE: ERROR: broken\nORB Z-WEAVE: WARNING: careful\n");
}

TEST(DebugLog, LinesHexDumpsAndMessagesAppendUntilReset) {
    TempFolder folder("zs_log");
    Environment environment;
    environment.set("TEMP", folder.path().c_str());
    const auto log_text = [&] { return read_file(folder.path() / "ORBdebug.log"); };
    EXPECT_EQ(orb_log_line("first"), 0);
    unsigned char data[20];
    for (int i = 0; i < 20; ++i) data[i] = static_cast<unsigned char>(0x41 + i);
    data[1] = 0;
    data[3] = 0xAB;
    orb_log_hex(data, 20);
    EXPECT_EQ(log_text(), "first\n"
                          "00000000  41 00 43 AB 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50   A.C.EFGHIJKLMNOP\n"
                          "00000010  51 52 53 54                                       QRST\n");
    EXPECT_EQ(orb_log_reset(), 0);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "ORBdebug.log"));

    OzwWork work{};
    orb_log_messages(&work);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "ORBdebug.log")) << "an empty list writes nothing";
    orb_push_message(&work, "m1");
    orb_log_messages(&work);
    EXPECT_EQ(log_text().rfind("error message >", 0), 0u);
    EXPECT_NE(log_text().find("\nm1\nerror message <"), std::string::npos);

    char stamp[20];
    orb_time_stamp(stamp);
    EXPECT_TRUE(std::regex_match(stamp, std::regex(R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2})"))) << stamp;
    environment.set("TEMP", (folder.path() / "missing").c_str());
    EXPECT_EQ(orb_log_line("lost"), -101);
}

TEST(LibraryInfo, HelpShowsTheBannerAndTheJapaneseKeywordsInShiftJis) {
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(OXLS_help(), 0);
    std::string help = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(help.substr(0, help.find('\n') + 1), "ORB Z-WEAVE: Release 2.2.0.0\n");
    EXPECT_NE(help.find(sjis("幅")), std::string::npos) << "the Japanese synonym of WIDTH, in Shift-JIS";
}

}  // namespace
