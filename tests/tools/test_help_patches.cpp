// Every help patch and example patcher of the package, opened in maxscript and clicked through box
// by box: a box the host cannot make, a count or cord that does not fit the object, or a message
// the object no longer understands fails here, and the printed output and drawings are checked.
#include "../../tools/common/json.h"
#include "tool_run.h"

#include <png.h>

#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {

const fs::path kPackage = fs::path(MAXLEARN_SOURCE_DIR) / "package";

struct Expected {
    std::vector<std::string> lines;  // each must match some printed line
    bool draws;                      // the patch has an lcd that must show a drawing
};

// What each patch must print, besides running without a single error.
const std::map<std::string, Expected> kExpected = {
    {"help/gasnet.maxhelp",
     {{R"(^units: \d+ \d+$)", R"(^units: \d+ \d+ \d+$)", R"(^GNG : \d+ / 12$)", R"(^kappa : 3\.00$)",
       R"(^gasnet: wrote \d+ units to gasnet_model\.json$)", R"(^gasnet: read \d+ units from gasnet_model\.json$)"},
      true}},
    {"help/chainlet.maxhelp",
     {{R"(^symbol: \d+$)", R"(^score: \d+\.\d+$)", R"(^Taille MMC : 4$)", R"(^Apprentissage : 1\.0+$)"}, true}},
    {"help/selfmap.maxhelp",
     {{R"(^units: \d+ \d+$)", R"(^Taille carte : 8$)", R"(^Pas d'apprentissage : 1\.00$)"}, true}},
    {"examples/selfmap_line.maxpat", {{R"(^unit: \d+ \d+$)", R"(^Taille carte : 6$)"}, true}},
    // The basic tab learns its melody on load and again when clicked, then three notes: 19 symbols.
    {"help/echoseq.maxhelp", {{R"(^note: (60|62|64|65|67)$)", R"(^Nb de noeuds : 20 / lrs : 2 / straight : 20$)"}, false}},
    {"examples/gasnet_clusters.maxpat", {{R"(^unit: \d+ \d+$)", R"(^GNG : \d / 9$)"}, true}},
    {"examples/chainlet_phrases.maxpat", {{R"(^note: \d+$)", R"(^score: \d+\.\d+$)"}, true}},
    {"examples/echoseq_melody.maxpat",
     {{R"(^repeat: 60 62 64 60$)", R"(^note: (60|62|64|65|67|69)$)", R"(^Nb de noeuds : 41 )"}, false}},
};

std::vector<std::string> patches() {
    std::vector<std::string> out;
    for (const char *folder : {"help", "examples"}) {
        for (const auto &e : fs::directory_iterator(kPackage / folder)) {
            std::string ext = e.path().extension().string();
            if (ext == ".maxhelp" || ext == ".maxpat") out.push_back(std::string(folder) + "/" + e.path().filename().string());
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

long drawn_pixels(const fs::path &file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.string().c_str())) return -1;
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return -1;
    long n = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) n += !(rgb[i] == 255 && rgb[i + 1] == 255 && rgb[i + 2] == 255);
    return n;
}

// Message boxes and lcds of a patcher and of its subpatchers (tabs), in file order, by the names
// maxscript gives them ("obj-4", "obj-20/obj-4").
void collect_boxes(const maxjson::Value &patcher, const std::string &prefix, std::vector<std::string> *messages,
                   std::vector<std::string> *lcds) {
    for (const maxjson::Value &b : patcher.get("boxes")->items) {
        const maxjson::Value *box = b.get("box");
        std::string id = prefix + box->str("id");
        if (box->str("maxclass") == "message") messages->push_back(id);
        if (box->str("maxclass") == "lcd") lcds->push_back(id);
        if (const maxjson::Value *inner = box->get("patcher")) collect_boxes(*inner, id + "/", messages, lcds);
    }
}

std::string file_name(std::string id) {
    std::replace(id.begin(), id.end(), '/', '_');
    return id;
}

class HelpPatches : public ToolTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(HelpPatches, OpensAndClicksThroughEveryMessageBox) {
    const std::string name = GetParam();
    auto expected = kExpected.find(name);
    ASSERT_NE(expected, kExpected.end()) << name << " has no expected output in this test: add it";
    maxjson::Value doc;
    std::string error;
    ASSERT_TRUE(maxjson::parse_file((kPackage / name).string(), &doc, &error)) << error;

    // Boxes are clicked in file order (those a loadbang feeds too); a second passes between clicks so no lock-out drops one.
    std::string script = "open " + (kPackage / name).string() + "\nseed 1\n";
    std::vector<std::string> messages, lcds;
    collect_boxes(*doc.get("patcher"), "", &messages, &lcds);
    for (const std::string &id : messages) script += "wait 1100\nclick " + id + "\n";
    EXPECT_FALSE(messages.empty());
    script += "wait 1100\n";
    for (const std::string &id : lcds) script += "png " + id + " " + file_name(id) + ".png\n";
    write("script.maxs", script);
    ToolResult r = run("'" MAXSCRIPT_EXE "' --out . script.maxs");

    EXPECT_EQ(r.status, 0) << r.all();
    for (const std::string &pattern : expected->second.lines) EXPECT_TRUE(r.has(pattern)) << pattern << "\n" << r.all();
    EXPECT_EQ(!lcds.empty(), expected->second.draws);
    for (const std::string &id : lcds)
        EXPECT_GT(drawn_pixels(dir_ / (file_name(id) + ".png")), 0) << id << " shows no drawing";
}

INSTANTIATE_TEST_SUITE_P(Package, HelpPatches, ::testing::ValuesIn(patches()), [](const auto &info) {
    std::string n = info.param;
    for (char &c : n) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return n;
});

// Each external that is built ships with its prose, its help patch and an example.
TEST(PackageContents, EveryBuiltObjectHasProseHelpAndExample) {
    std::set<std::string> examples;
    for (const auto &e : fs::directory_iterator(kPackage / "examples")) examples.insert(e.path().stem().string());
    int built = 0;
    for (const char *object : {"gasnet", "chainlet", "selfmap", "echoseq"}) {
        if (!fs::exists(fs::path(MAXLEARN_EXTERNALS_DIR) / (std::string(object) + ".so"))) continue;
        ++built;
        EXPECT_TRUE(fs::exists(kPackage / "help" / (std::string(object) + ".maxhelp"))) << object;
        EXPECT_TRUE(fs::exists(kPackage / "prose" / (std::string(object) + ".json"))) << object;
        EXPECT_TRUE(std::any_of(examples.begin(), examples.end(),
                                [&](const std::string &e) { return e.rfind(std::string(object) + "_", 0) == 0; }))
            << object << " has no example patcher";
    }
    EXPECT_GE(built, 3);
}

}  // namespace
