// The manual page's OPTIONS are exactly what --help lists, each written
// alike, so an option added to one and not the other fails here; and every
// option either lists is one the game takes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "command_line.h"

namespace {

std::string collapse_spaces(const std::string &s)
{
    std::istringstream words(s);
    std::string out, w;
    while (words >> w)
        out += (out.empty() ? "" : " ") + w;
    return out;
}

// "--replay FILE" from "  --replay FILE          show a recorded match".
std::set<std::string> help_options()
{
    char *text = nullptr;
    size_t size = 0;
    FILE *f = open_memstream(&text, &size);
    print_help(f);
    std::fclose(f);
    std::istringstream in(std::string(text, size));
    std::free(text);
    std::set<std::string> options;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("  --", 0) != 0)
            continue;
        options.insert(collapse_spaces(line.substr(0, line.find("  ", 2))));
    }
    return options;
}

// The tag line after each .TP under .SH OPTIONS, as the reader sees it:
// without the macro, font changes, quotes and roff's escaped hyphens.
std::string as_shown(const std::string &roff)
{
    std::string s = roff.substr(roff.find(' ') + 1), out;
    for (size_t i = 0; i < s.size(); i++) {
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'f') {
            i += 2;
        } else if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == '-') {
            out += '-';
            i++;
        } else if (s[i] != '"') {
            out += s[i];
        }
    }
    return collapse_spaces(out);
}

std::set<std::string> manual_options()
{
    std::ifstream in(BLAST_SOURCE_DIR "/dist/blastarena.6.in");
    EXPECT_TRUE(in) << "no manual page";
    std::set<std::string> options;
    bool in_options = false, tag_next = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(".SH", 0) == 0) {
            in_options = line == ".SH OPTIONS";
        } else if (in_options && line == ".TP") {
            tag_next = true;
        } else if (tag_next) {
            tag_next = false;
            options.insert(as_shown(line));
        }
    }
    return options;
}

}  // namespace

TEST(ManualPage, ListsExactlyTheOptionsOfTheHelp)
{
    const std::set<std::string> help = help_options();
    EXPECT_TRUE(help.count("--version")) << "--help does not list --version";
    EXPECT_TRUE(help.count("--help"));
    EXPECT_EQ(manual_options(), help);
}

TEST(ManualPage, EveryListedOptionIsTaken)
{
    for (const std::string &entry : help_options()) {
        // "--replay FILE" is given a file; "--host [PORT]" is tried bare.
        std::istringstream words(entry);
        std::string name, value;
        words >> name >> value;
        std::vector<std::string> args = {"blastarena", name};
        if (!value.empty() && value[0] != '[')
            args.push_back("x");
        std::vector<char *> argv;
        for (std::string &a : args)
            argv.push_back(a.data());
        const command_line c = parse_command_line(int(argv.size()), argv.data());
        EXPECT_NE(c.what, command::bad) << entry << ": " << c.problem;
        EXPECT_NE(c.what, command::play) << entry << " is taken as no option";
    }
}
