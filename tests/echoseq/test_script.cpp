// End to end: the command-line host loads echoseq, runs a script and prints what it sends and posts.
#include "script_command.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TEST(EchoseqScript, PrintsOutletsAndDump)
{
    const fs::path dir = fs::temp_directory_path() / ("echoseq-script-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "s.maxs") << "new e echoseq @slice 1 @straight 100\ne bang\n"
                                     "e 1\ne 2\ne 3\ne 1\ne 2\ne 3\ne 1\ne 2\ne 4\n"
                                     "e bang\ne bang\ne bang\ne go 1\ne bang\n"
                                     "e dump_max 8\ne dump_max\nwait 1000\ne dump_max 9\n";
    const std::string cmd = scripttest::command({MAXSCRIPT_EXE, "--out", dir.string(), (dir / "s.maxs").string()},
                                                (dir / "out.txt").string(), true);
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    std::vector<std::string> lines;
    {
        std::ifstream in(dir / "out.txt");  // closed before the folder goes (Windows keeps open files)
        for (std::string l; std::getline(in, l);)
            lines.push_back(l);
    }
    fs::remove_all(dir);
    const std::vector<std::string> want = {
        "e.1: bang", "e.2: 1 2 3 1 2", "e: 1", "e: 2", "e: 3", "e: 2",
        "Nb de noeuds : 10 / lrs : 2 / straight : 100", "Noeud 8 : ref 5 lrs 5", "Noeud 9 : ref 0 lrs 0",
        // the second dump fell in the quiet period
        "Nb de noeuds : 10 / lrs : 2 / straight : 100", "Noeud 9 : ref 0 lrs 0"};
    EXPECT_EQ(lines, want);
}
