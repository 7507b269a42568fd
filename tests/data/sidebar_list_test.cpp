#include "data/sidebar_list.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The paths a list file hands on, in order, read as the loader reads them.
std::vector<std::string> pathsOf(const std::string& text) {
    std::FILE* file = std::tmpfile();
    if (!file) return {"(no temporary file)"};
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    std::vector<std::string> paths;
    char path[kListLineBufferSize];
    for (ListLine line; (line = readSidebarListLine(file, path)) != ListLine::end;)
        if (line == ListLine::path) paths.emplace_back(path);
    std::fclose(file);
    return paths;
}

using Paths = std::vector<std::string>;

TEST(SidebarList, LinesAndTheirEnd) {
    std::string fits(258, 'f');     // with its line break, 259 bytes: the longest line
    std::string tooLong(259, 't');  // with its line break, 260 bytes
    struct Case {
        const char* what;
        std::string text;
        Paths paths;
    } cases[] = {
        {"an EOF line in the middle is tried as a file and the list goes on",
         "a.bmp\nEOF\nb.bmp\nEOF\n",
         {"a.bmp", "EOF", "b.bmp", "EOF"}},
        {"a last line EOF without a line break ends the list untried", "a.bmp\nb.bmp\nEOF", {"a.bmp", "b.bmp"}},
        {"a first line EOF: nothing", "EOF", {}},
        {"EOF twice in the middle", "EOF\nEOF\nc.bmp\nEOF", {"EOF", "EOF", "c.bmp"}},
        {"no EOF: the end of the file ends the list, the last path whole", "a.bmp\nb.bmp", {"a.bmp", "b.bmp"}},
        {"an empty file", "", {}},
        {"line breaks written elsewhere", "a.bmp\r\nb.bmp\r\nEOF", {"a.bmp", "b.bmp"}},
        {"empty lines are not paths", "\n\na.bmp\n\n", {"a.bmp"}},
        {"only the line break goes", " a b.bmp \n", {" a b.bmp "}},
        {"the longest line fits, a longer one is skipped whole", fits + "\n" + tooLong + "\nc.bmp\n", {fits, "c.bmp"}},
        {"a long line at the end of the file without a line break", "a.bmp\n" + std::string(600, 'x'), {"a.bmp"}},
        {"EOF inside a path is a path", "EOF.bmp\nxEOF\nEOF ", {"EOF.bmp", "xEOF", "EOF "}},
    };
    for (const Case& c : cases) EXPECT_EQ(pathsOf(c.text), c.paths) << c.what;
}

}  // namespace
