// A front end for driving the engine in tests: it records what the engine
// shows and answers questions as told.
#pragma once

#include "engine/front_end.h"

#include <string>
#include <utility>
#include <vector>

struct ShownMessage {
    std::string text;
    zscan::MessageIcon icon;
    bool yes_no;
};

class FakeFrontEnd : public zscan::FrontEnd {
public:
    void set_progress_text(const std::string &text) override { progress.push_back(text); }
    void set_hit_counter_text(const std::string &text) override { counter = text; }
    bool show_message(const std::string &title, const std::string &text, zscan::MessageIcon icon,
                      bool yes_no, bool) override {
        titles.push_back(title);
        messages.push_back({text, icon, yes_no});
        return yes_no ? answer : true;
    }
    bool cancel_requested() override { return cancelled; }
    void open_result(const std::string &path, bool excel_book) override {
        opened.emplace_back(path, excel_book);
    }
    void hit_recorded(const zscan::RecordedHit &hit) override {
        lines.emplace_back(hit.line);
        matched.push_back(hit.matched);
    }
    void book_searched(std::string_view path, int hits) override { books.emplace_back(path, hits); }
    void not_searched(const zscan::NotSearched &item) override { skipped.push_back(item); }
    void hit_limit_passed(int limit, bool) override { limits.push_back(limit); }
    void report_not_searched(const zscan::SearchContext &) override { ++reports; }

    bool cancelled = false;
    bool answer = true;
    std::vector<std::string> progress;
    std::string counter;
    std::vector<std::string> titles;
    std::vector<ShownMessage> messages;
    std::vector<std::pair<std::string, bool>> opened;
    std::vector<std::string> lines;
    std::vector<zscan::MatchedText> matched;
    std::vector<std::pair<std::string, int>> books;
    std::vector<zscan::NotSearched> skipped;
    std::vector<int> limits;
    int reports = 0;
};
