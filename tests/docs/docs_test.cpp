// The documentation against the code: every relative link and picture named in README.md and
// docs/*.md exists (headings too, for links with a #section); every public call, event kind,
// animation request and colour of sktch.h is in the reference with its value; the colour
// table, the lines the library prints, the script lines, the Run menu's items and the replay
// tool's help read as the code has them; and the README's first program is the one that is
// built. The checkers are also run on small broken trees, to show that they notice.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "folders_and_programs.h"
#include "state.h"  // the library's colour table, which the docs must match

namespace {

namespace fs = std::filesystem;

const fs::path source_dir = SKTCH_SOURCE_DIR;

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool is_fence(const std::string& line) {
    std::size_t i = line.find_first_not_of(' ');
    return i != std::string::npos && line.compare(i, 3, "```") == 0;
}

// The Markdown files of the documentation: README.md and docs/*.md.
std::vector<fs::path> markdown_files(const fs::path& root) {
    std::vector<fs::path> files;
    if (fs::exists(root / "README.md")) files.push_back(root / "README.md");
    if (fs::is_directory(root / "docs"))
        for (const auto& entry : fs::directory_iterator(root / "docs"))
            if (entry.path().extension() == ".md") files.push_back(entry.path());
    return files;
}

// A line without its code spans (`...`, ``...``), whose brackets are not links.
std::string without_code_spans(const std::string& line) {
    std::string out;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] != '`') {
            out += line[i++];
            continue;
        }
        std::size_t run = line.find_first_not_of('`', i);
        if (run == std::string::npos) run = line.size();
        std::string ticks = line.substr(i, run - i);
        std::size_t close = line.find(ticks, run);
        if (close == std::string::npos) {  // not a code span after all
            out += ticks;
            i = run;
            continue;
        }
        i = close + ticks.size();
    }
    return out;
}

// The anchors GitHub makes for a file's headings: lower case, letters, digits, spaces, '-'
// and '_' kept, spaces made '-'; a repeated heading gets -1, -2, ...
std::set<std::string> heading_anchors(const std::string& markdown) {
    std::set<std::string> anchors;
    std::map<std::string, int> seen;
    bool in_code = false;
    for (const std::string& line : lines_of(markdown)) {
        if (is_fence(line)) in_code = !in_code;
        if (in_code || line.empty() || line[0] != '#') continue;
        std::size_t text = line.find_first_not_of('#');
        if (text == std::string::npos || line[text] != ' ') continue;
        std::string slug;
        for (char c : line.substr(text + 1)) {
            unsigned char u = static_cast<unsigned char>(c);
            if (std::isalnum(u) || c == '_' || c == '-')
                slug += char(std::tolower(u));
            else if (c == ' ')
                slug += '-';
        }
        int n = seen[slug]++;
        anchors.insert(n == 0 ? slug : slug + "-" + std::to_string(n));
    }
    return anchors;
}

// Every relative link or picture in README.md and docs/*.md that leads nowhere: a missing
// file or folder, or a #section that the linked file has no heading for. Also every path
// under docs/pictures/ that the text names, in code as well.
std::vector<std::string> broken_links(const fs::path& root) {
    std::vector<std::string> problems;
    auto report = [&](const std::string& problem) {
        if (std::find(problems.begin(), problems.end(), problem) == problems.end())
            problems.push_back(problem);
    };
    static const std::regex link(R"(\]\(([^)\s]+)(?:\s+"[^"]*")?\))");
    static const std::regex picture_path(R"(docs/pictures/[A-Za-z0-9_.-]+)");
    for (const fs::path& file : markdown_files(root)) {
        std::string text = read_file(file);
        std::string name = fs::relative(file, root).string();
        bool in_code = false;
        int number = 0;
        for (const std::string& line : lines_of(text)) {
            ++number;
            std::string where = name + ":" + std::to_string(number) + ": ";
            for (std::sregex_iterator m(line.begin(), line.end(), picture_path), end; m != end; ++m)
                if (!fs::exists(root / m->str())) report(where + m->str());
            if (is_fence(line)) in_code = !in_code;
            if (in_code) continue;
            std::string prose = without_code_spans(line);
            for (std::sregex_iterator m(prose.begin(), prose.end(), link), end; m != end; ++m) {
                std::string target = (*m)[1];
                if (target.rfind("http://", 0) == 0 || target.rfind("https://", 0) == 0 ||
                    target.rfind("mailto:", 0) == 0)
                    continue;
                std::string path = target.substr(0, target.find('#'));
                std::string anchor = target.find('#') == std::string::npos
                                         ? ""
                                         : target.substr(target.find('#') + 1);
                fs::path linked = path.empty() ? file : file.parent_path() / path;
                if (!fs::exists(linked)) {
                    report(where + target);
                    continue;
                }
                if (!anchor.empty() && (linked.extension() != ".md" ||
                                        !heading_anchors(read_file(linked)).count(anchor)))
                    report(where + target + " (no such section)");
            }
        }
    }
    return problems;
}

// The public calls a header declares: "int SKTCH_name(".
std::vector<std::string> public_calls(const std::string& header) {
    std::vector<std::string> calls;
    static const std::regex call(R"(\bint\s+(SKTCH_[a-z_]+)\s*\()");
    for (std::sregex_iterator m(header.begin(), header.end(), call), end; m != end; ++m)
        calls.push_back((*m)[1]);
    return calls;
}

// The public calls that have no heading of their own ("### `SKTCH_name(...)`") in the
// reference.
std::vector<std::string> undocumented_calls(const std::string& header, const std::string& api) {
    std::vector<std::string> missing;
    for (const std::string& call : public_calls(header)) {
        bool found = false;
        for (const std::string& line : lines_of(api))
            if (line.rfind("#", 0) == 0 && line.find("`" + call + "(") != std::string::npos)
                found = true;
        if (!found) missing.push_back(call);
    }
    return missing;
}

// The constants of the header's enums, with their values.
std::map<std::string, int> header_constants(const std::string& header) {
    std::map<std::string, int> constants;
    static const std::regex constant(R"(^\s+([A-Z][A-Z0-9_]*) = (\d+),)");
    for (const std::string& line : lines_of(header)) {
        std::smatch m;
        if (std::regex_search(line, m, constant)) constants[m[1]] = std::stoi(m[2]);
    }
    return constants;
}

// Cells of a Markdown table row, trimmed; empty for a line that is not a row.
std::vector<std::string> table_cells(const std::string& line) {
    std::vector<std::string> cells;
    if (line.rfind("|", 0) != 0) return cells;
    std::string cell;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '|') {
            std::size_t a = cell.find_first_not_of(' ');
            std::size_t b = cell.find_last_not_of(' ');
            cells.push_back(a == std::string::npos ? "" : cell.substr(a, b - a + 1));
            cell.clear();
        } else {
            cell += line[i];
        }
    }
    return cells;
}

// The constants that the reference has in no table row together with their value.
std::vector<std::string> constants_without_value(const std::string& header,
                                                 const std::string& api) {
    std::vector<std::string> missing;
    for (const auto& [name, value] : header_constants(header)) {
        bool found = false;
        for (const std::string& line : lines_of(api)) {
            std::vector<std::string> cells = table_cells(line);
            bool named = false, valued = false;
            for (const std::string& c : cells) {
                named = named || c == "`" + name + "`";
                valued = valued || c == std::to_string(value);
            }
            found = found || (named && valued);
        }
        if (!found) missing.push_back(name);
    }
    return missing;
}

// Undoes the escapes of a C string literal that the library's texts use.
std::string unescape(const std::string& literal) {
    std::string out;
    for (std::size_t i = 0; i < literal.size(); ++i) {
        if (literal[i] != '\\' || i + 1 == literal.size()) {
            out += literal[i];
            continue;
        }
        char c = literal[++i];
        out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
    }
    return out;
}

// The string literals passed as the first argument matching `pattern` in the files.
std::vector<std::string> literals(const std::vector<fs::path>& files, const std::regex& pattern) {
    std::vector<std::string> found;
    for (const fs::path& file : files) {
        std::string text = read_file(file);
        for (std::sregex_iterator m(text.begin(), text.end(), pattern), end; m != end; ++m)
            found.push_back(unescape((*m)[1]));
    }
    return found;
}

std::vector<fs::path> library_sources() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(source_dir / "library" / "src"))
        if (entry.path().extension() == ".cpp") files.push_back(entry.path());
    return files;
}

std::string without_final_newline(std::string s) {
    if (!s.empty() && s.back() == '\n') s.pop_back();
    return s;
}

// `text` as code in Markdown. Built by appending: g++ 12 at -O3 reports a false overlap
// (-Wrestrict) for the same concatenation written with operator+.
std::string in_backticks(const std::string& text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '`';
    quoted += text;
    quoted += '`';
    return quoted;
}

// The first fenced block of a language in a Markdown text, without its fences.
std::string first_code_block(const std::string& markdown, const std::string& language) {
    std::string block;
    bool in_block = false;
    for (const std::string& line : lines_of(markdown)) {
        if (!in_block && line == "```" + language) {
            in_block = true;
        } else if (in_block && line == "```") {
            return block;
        } else if (in_block) {
            block += line + "\n";
        }
    }
    return "";
}

class BrokenTree : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(root.empty());
        write_file(root / "README.md",
                   "# Title\n\n![a picture](docs/pictures/here.png)\n"
                   "See [the guide](docs/guide.md#first-steps) and [a section](#title).\n");
        write_file(root / "docs" / "pictures" / "here.png", "png");
        write_file(root / "docs" / "guide.md",
                   "# Guide\n\n## First steps\n\nBack to the [README](../README.md).\n"
                   "`[not a link](nowhere.md)`\n```\n[nor this](nowhere.md)\n```\n");
    }
    sktch::test_support::TemporaryFolder folder;
    const fs::path& root = folder.path();
};

TEST_F(BrokenTree, AWholeTreeHasNoBrokenLinks) {
    EXPECT_EQ(broken_links(root), std::vector<std::string>{});
}

TEST_F(BrokenTree, AMissingPictureIsReported) {
    fs::remove(root / "docs" / "pictures" / "here.png");
    std::vector<std::string> problems = broken_links(root);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "README.md:3: docs/pictures/here.png");
}

TEST_F(BrokenTree, AMissingPageAndAMissingSectionAreReported) {
    write_file(root / "docs" / "guide.md", "# Guide\n\n## Later steps\n\nSee [the API](api.md).\n");
    std::vector<std::string> problems = broken_links(root);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0], "README.md:4: docs/guide.md#first-steps (no such section)");
    EXPECT_EQ(problems[1], "docs/guide.md:5: api.md");
}

TEST_F(BrokenTree, APicturePathNamedInCodeMustExist) {
    write_file(root / "docs" / "guide.md",
               "# Guide\n\n## First steps\n\n```sh\nsktch-replay docs/pictures/gone.scr "
               "out.png\n```\n");
    std::vector<std::string> problems = broken_links(root);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "docs/guide.md:6: docs/pictures/gone.scr");
}

TEST(Checkers, ACallWithoutAHeadingIsUndocumented) {
    std::string header = "int SKTCH_open(int a);\nint SKTCH_close();\n";
    EXPECT_EQ(undocumented_calls(header, "### `SKTCH_open(a)`\n### `SKTCH_close()`\n"),
              std::vector<std::string>{});
    EXPECT_EQ(undocumented_calls(header, "### `SKTCH_open(a)`\nAnd then `SKTCH_close()`.\n"),
              std::vector<std::string>{"SKTCH_close"});
}

TEST(Checkers, AConstantNeedsItsValueInTheSameRow) {
    std::string header = "enum {\n    BLACK = 0,\n    WHITE = 1,\n};\n";
    EXPECT_EQ(constants_without_value(header, "| 0 | `BLACK` |\n| 1 | `WHITE` |\n"),
              std::vector<std::string>{});
    EXPECT_EQ(constants_without_value(header, "| 0 | `BLACK` |\n| 2 | `WHITE` |\n"),
              std::vector<std::string>{"WHITE"});
}

TEST(Docs, EveryLinkAndPictureLeadsSomewhere) {
    std::vector<std::string> problems = broken_links(source_dir);
    EXPECT_EQ(problems, std::vector<std::string>{});
    for (const char* page : {"README.md", "docs/getting-started.md", "docs/api.md",
                             "docs/run-menu.md", "docs/scripts.md"})
        EXPECT_TRUE(fs::exists(source_dir / page)) << page;
}

TEST(Docs, EveryPublicCallHasASectionInTheReference) {
    std::string header = read_file(source_dir / "library" / "include" / "sktch.h");
    std::string api = read_file(source_dir / "docs" / "api.md");
    ASSERT_GE(public_calls(header).size(), 18u) << "the header's calls were not found";
    EXPECT_EQ(undocumented_calls(header, api), std::vector<std::string>{});
}

TEST(Docs, EveryEventKindRequestAndColourHasItsValueInTheReference) {
    std::string header = read_file(source_dir / "library" / "include" / "sktch.h");
    std::string api = read_file(source_dir / "docs" / "api.md");
    ASSERT_EQ(header_constants(header).size(), 4u + 4u + 24u);
    EXPECT_EQ(constants_without_value(header, api), std::vector<std::string>{});
}

TEST(Docs, TheColourTableHasTheLibrarysNamesAndValues) {
    std::string api = read_file(source_dir / "docs" / "api.md");
    static const std::regex row(
        R"re(^\| (\d+) \| `([A-Z0-9_]+)` \| "([^"]+)" \| (\d+), (\d+), (\d+) \|$)re");
    std::set<int> seen;
    for (const std::string& line : lines_of(api)) {
        std::smatch m;
        if (!std::regex_match(line, m, row)) continue;
        int index = std::stoi(m[1]);
        ASSERT_TRUE(index >= 0 && index < 24) << line;
        seen.insert(index);
        const sktch::ColorEntry& entry = sktch::color_table[index];
        EXPECT_EQ(m[3].str(), entry.name) << line;
        EXPECT_EQ(std::stoi(m[4]), int(entry.rgb & 0xFF)) << line;
        EXPECT_EQ(std::stoi(m[5]), int((entry.rgb >> 8) & 0xFF)) << line;
        EXPECT_EQ(std::stoi(m[6]), int((entry.rgb >> 16) & 0xFF)) << line;
    }
    EXPECT_EQ(seen.size(), 24u);
}

TEST(Docs, EveryLineTheLibraryPrintsIsQuoted) {
    std::string api = read_file(source_dir / "docs" / "api.md");
    std::string scripts = read_file(source_dir / "docs" / "scripts.md");
    std::vector<std::string> lines =
        literals(library_sources(), std::regex(R"re(SKTCH_printf\(\s*"((?:[^"\\]|\\.)*)")re"));
    ASSERT_GE(lines.size(), 18u) << "the library's lines were not found";
    for (const std::string& line : lines)
        EXPECT_NE(api.find(in_backticks(without_final_newline(line))), std::string::npos) << line;

    std::vector<std::string> script_lines =
        literals(library_sources(),
                 std::regex(R"re(fprintf\(\s*state\.script_file,\s*"((?:[^"\\]|\\.)*)")re"));
    ASSERT_EQ(script_lines.size(), 3u);
    for (const std::string& line : script_lines)
        EXPECT_NE(scripts.find(in_backticks(without_final_newline(line))), std::string::npos)
            << line;
    // The script messages name the file.
    for (const char* message :
         {"Cannot open script file %s for writing", "Cannot open script file %s for reading",
          "EOF encountered in script file %s"}) {
        std::string shown = std::regex_replace(message, std::regex("%s"), sktch::kScriptFileName);
        EXPECT_NE(scripts.find(in_backticks(shown)), std::string::npos) << shown;
    }
}

TEST(Docs, TheRunMenuPageHasEveryItemWithItsShortcut) {
    std::string page = read_file(source_dir / "docs" / "run-menu.md");
    std::vector<std::string> items =
        literals({source_dir / "library" / "src" / "graphics_window.cpp"},
                 std::regex(R"re(AppendMenuA\(run,[^"]*"((?:[^"\\]|\\.)*)"\))re"));
    ASSERT_EQ(items.size(), 11u) << "the menu's items were not found";
    for (const std::string& item : items) {
        std::size_t tab = item.find('\t');
        if (tab == std::string::npos) {  // a greyed line, quoted as it is
            EXPECT_NE(page.find("\"" + item + "\""), std::string::npos) << item;
            continue;
        }
        std::string label;
        for (char c : item.substr(0, tab))
            if (c != '&') label += c;
        std::string row = "| " + label + " | " + item.substr(tab + 1) + " |";
        EXPECT_NE(page.find(row), std::string::npos) << row;
    }
}

TEST(Docs, TheReplayToolsHelpIsQuotedWhole) {
    sktch::test_support::ProgramRun run =
        sktch::test_support::run_program(SKTCH_REPLAY_TOOL, {"--help"});
    ASSERT_EQ(run.status, 0);
    const std::string& help = run.output;
    ASSERT_EQ(help.rfind("Usage: sktch-replay", 0), 0u) << help;
    std::string scripts = read_file(source_dir / "docs" / "scripts.md");
    EXPECT_NE(scripts.find("```\n" + help + "```\n"), std::string::npos)
        << "docs/scripts.md should quote this help:\n"
        << help;
}

TEST(Docs, TheFirstProgramIsTheOneThatIsBuilt) {
    std::string program = read_file(source_dir / "tools" / "docs" / "hello.cpp");
    std::string code = program.substr(program.find("#include"));
    for (const char* page : {"README.md", "docs/getting-started.md"}) {
        std::string shown = first_code_block(read_file(source_dir / page), "cpp");
        EXPECT_EQ(shown, code) << page;
    }
}

}  // namespace
