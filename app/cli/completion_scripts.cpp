#include "cli/completion_scripts.h"

#include "cli/cli_options.h"

#include <sstream>
#include <vector>

namespace zscan {
namespace {

// One option as its help row writes it: "-w, --words TEXT" or "    --json".
struct OptionForm {
    std::string short_name;   // "-w", or empty
    std::string long_name;    // "--words"
    std::string argument;     // "TEXT", "FILE", "N", or empty
    std::string text;
};

std::vector<OptionForm> option_forms() {
    std::vector<OptionForm> forms;
    for (const HelpText::Row &row : help_text().options) {
        OptionForm form;
        std::istringstream words(row.term);
        for (std::string word; words >> word;) {
            if (word.back() == ',') word.pop_back();
            if (word.starts_with("--")) {
                form.long_name = word;
            } else if (word.starts_with("-")) {
                form.short_name = word;
            } else {
                form.argument = word;
            }
        }
        form.text = row.text;
        forms.push_back(form);
    }
    return forms;
}

// A help text inside a zsh option description: its brackets, colons and
// quotes would end the description early.
std::string zsh_quoted(const std::string &text) {
    std::string out;
    for (char c : text) {
        if (c == '[' || c == ']' || c == ':' || c == '\\') out += '\\';
        if (c == '\'') {
            out += "'\\''";
            continue;
        }
        out += c;
    }
    return out;
}

}  // namespace

std::string bash_completion() {
    std::string all, with_file, with_value;
    for (const OptionForm &form : option_forms()) {
        for (const std::string &name : {form.short_name, form.long_name}) {
            if (name.empty()) continue;
            all += (all.empty() ? "" : " ") + name;
            if (form.argument == "FILE") with_file += (with_file.empty() ? "" : "|") + name;
            if (!form.argument.empty() && form.argument != "FILE")
                with_value += (with_value.empty() ? "" : "|") + name;
        }
    }
    return "# bash completion for zscan\n"
           "_zscan() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    case $prev in\n"
           "        " + with_file + ") COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
           "        " + with_value + ") return ;;\n"
           "    esac\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"" + all + "\" -- \"$cur\"))\n"
           "    else\n"
           "        COMPREPLY=($(compgen -d -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "complete -o filenames -F _zscan zscan\n";
}

std::string zsh_completion() {
    std::string script = "#compdef zscan\n# zsh completion for zscan\n_arguments -s -S \\\n";
    for (const OptionForm &form : option_forms()) {
        const std::string help = "[" + zsh_quoted(form.text) + "]";
        const std::string value = form.argument.empty()        ? ""
                                  : form.argument == "FILE"    ? ":file:_files"
                                                               : ":" + form.argument + ":";
        if (form.short_name.empty()) {
            script += "  '" + form.long_name + help + value + "' \\\n";
        } else {
            script += "  '(" + form.short_name + " " + form.long_name + ")'{" + form.short_name + "," +
                      form.long_name + "}'" + help + value + "' \\\n";
        }
    }
    return script + "  '::folder:_files -/'\n";
}

}  // namespace zscan
