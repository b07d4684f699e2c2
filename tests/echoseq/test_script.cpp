// End to end: the command-line host loads echoseq, runs a script and prints what it sends and posts.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

TEST(EchoseqScript, PrintsOutletsAndDump)
{
    std::string pattern = (fs::temp_directory_path() / "echoseq-script-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path dir = pattern;
    std::ofstream(dir / "s.maxs") << "new e echoseq @slice 1 @straight 100\n"
                                     "e bang\n"
                                     "e 1\ne 2\ne 3\ne 1\ne 2\ne 3\ne 1\ne 2\ne 4\n"
                                     "e bang\ne bang\ne bang\n"
                                     "e go 1\ne bang\n"
                                     "e dump_max 8\n"
                                     "e dump_max\n"
                                     "wait 1000\n"
                                     "e dump_max 9\n";
    const std::string cmd = "'" MAXSCRIPT_EXE "' --out '" + dir.string() + "' '" + (dir / "s.maxs").string() +
                            "' > '" + (dir / "out.txt").string() + "' 2>&1";
    const int raw = std::system(cmd.c_str());
    std::vector<std::string> lines;
    std::ifstream in(dir / "out.txt");
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    fs::remove_all(dir);

    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0);
    const std::vector<std::string> want = {
        "e.1: bang",
        "e.2: 1 2 3 1 2",
        "e: 1",
        "e: 2",
        "e: 3",
        "e: 2",
        "Nb de noeuds : 10 / lrs : 2 / straight : 100",
        "Noeud 8 : ref 5 lrs 5",
        "Noeud 9 : ref 0 lrs 0",
        "Nb de noeuds : 10 / lrs : 2 / straight : 100",
        "Noeud 9 : ref 0 lrs 0",
    };
    EXPECT_EQ(lines, want);
}
