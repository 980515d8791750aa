// Folders of src/ are ranked; a folder includes only folders ranked at or
// below its own, so the core never reaches up into the windows and a
// subsystem never depends on one built on top of it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::map<std::string, int>& ranks() {
    static const std::map<std::string, int> r = {
        {"common", 0},     {"jvdata", 1},  {"model", 2},     {"prediction", 3}, {"reports", 4},
        {"publish", 5},    {"viewer", 6},  {"reference", 7}, {"app", 8},        {"gui", 9},
    };
    return r;
}

// The includes of `text` (a file of folder `folder`) that point to a folder
// ranked above it, or to a folder without a rank.
std::vector<std::string> upwardIncludes(const std::string& folder, const std::string& text) {
    std::vector<std::string> bad;
    static const std::regex inc(R"re(^\s*#\s*include\s*"([A-Za-z_]+)/[^"]*")re");
    const int own = ranks().at(folder);
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::smatch m;
        if (!std::regex_search(line, m, inc)) continue;
        const auto it = ranks().find(m[1].str());
        if (it == ranks().end() || it->second > own) bad.push_back(line);
    }
    return bad;
}

TEST(IncludeRank, PlantedUpwardIncludeIsFound) {
    EXPECT_EQ(upwardIncludes("jvdata", "#include \"app/startup.h\"\n").size(), 1u);
    EXPECT_EQ(upwardIncludes("common", "#include \"jvdata/records.h\"\n").size(), 1u);
    EXPECT_EQ(upwardIncludes("model", "#include \"unranked/x.h\"\n").size(), 1u);
    EXPECT_TRUE(upwardIncludes("app", "#include \"jvdata/records.h\"\n#include <QString>\n").empty());
    EXPECT_TRUE(upwardIncludes("gui", "#include \"gui/controls.h\"\n").empty());
}

TEST(IncludeRank, EveryFolderOfTheTreeIncludesOnlyDownward) {
    const fs::path src = fs::path(RACEWEEK_SOURCE_DIR) / "src";
    int files = 0;
    for (const auto& e : fs::recursive_directory_iterator(src)) {
        if (!e.is_regular_file()) continue;
        const fs::path rel = fs::relative(e.path(), src);
        if (rel.begin() == rel.end() || std::next(rel.begin()) == rel.end()) continue;  // src/main.cpp
        const std::string folder = rel.begin()->string();
        ASSERT_TRUE(ranks().count(folder)) << "folder without a rank: " << folder;
        std::ifstream in(e.path());
        std::stringstream text;
        text << in.rdbuf();
        for (const std::string& line : upwardIncludes(folder, text.str()))
            ADD_FAILURE() << rel.string() << ": " << line;
        ++files;
    }
    EXPECT_GT(files, 0);
}

}  // namespace
