// The front end through the real binary: title, options, music test and gallery, driven by a
// replay, then the settings file it leaves behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "support/fixture_pack.h"

namespace {

namespace fs = std::filesystem;

// The default data pack when it has been generated, else the test fixture pack; either way
// in a folder of its own without a settings file.
fs::path make_data_folder() {
    const fs::path dir = fixture::make_temp_dir("frontend-e2e");
    const fs::path pack = VASUL_DATA_DIR;
    if (fs::exists(pack / "image/data.bmp") && fs::exists(pack / "image/dat2.bmp")) {
        fs::copy(pack, dir, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::remove(dir / "vasul.ini");
    } else {
        fixture::write_pack(dir);
        fixture::write_sounds(dir);
    }
    return dir;
}

// Builds a replay one message a pass, as the loop takes them.
class Script {
  public:
    void click(int x, int y) {
        event("move", x, y);
        event("ldown", x, y);
        event("lup", x, y);
    }
    void right_click(int x, int y) {
        event("move", x, y);
        event("rdown", x, y);
    }
    void wait(int passes) { pass_ += passes; }
    uint64_t end() const { return pass_ + 5; }
    std::string text() const { return "vasul-replay 1\nseed 7\n" + lines_; }

  private:
    void event(const char* name, int x, int y) {
        lines_ += "@" + std::to_string(pass_++) + " " + name + " " + std::to_string(x) + " " +
                  std::to_string(y) + "\n";
    }
    std::string lines_;
    uint64_t pass_ = 2;
};

std::map<std::string, std::string> read_ini(const fs::path& file) {
    std::map<std::string, std::string> values;
    std::ifstream in(file);
    std::string line, section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > 1 && line.front() == '[') {
            section = line.substr(1, line.find(']') - 1);
        } else if (const auto eq = line.find('='); eq != std::string::npos) {
            values[section + "/" + line.substr(0, eq)] = line.substr(eq + 1);
        }
    }
    return values;
}

}  // namespace

TEST(FrontEndReplay, OptionsMusicTestAndGalleryLeaveTheirSettingsInTheFile) {
    const fs::path dir = make_data_folder();
    Script s;
    s.click(300, 220);  // title: options
    s.click(360, 120);  // music on
    s.click(388, 165);  // music step 1
    s.click(388, 165);  // music step 2
    s.click(388, 257);  // effect step 1
    s.click(360, 304);  // frame counter on
    s.click(335, 350);  // LVL left: "NORM"
    s.click(20, 20);    // back to the title
    s.click(300, 300);  // music test: raises the music step to 3 without writing it
    s.click(360, 211);  // LOOP on
    s.click(388, 257);  // volume 1
    s.click(388, 257);  // volume 2
    s.click(388, 257);  // volume 3
    s.click(505, 120);  // track 1
    s.click(360, 165);  // PLAY
    s.wait(30);
    s.right_click(600, 450);  // back to the title
    s.click(300, 261);        // gallery: the empty table is replaced by the default one
    s.click(80, 150);         // a closed thumbnail: nothing
    s.click(20, 20);          // back to the title
    std::ofstream(dir / "r.txt") << s.text();

    const std::string command = "cd '" + dir.string() + "' && '" + VASUL_BINARY +
                                "' --headless --replay r.txt --frames " + std::to_string(s.end()) +
                                " >/dev/null 2>stderr.txt";
    const int status = std::system(command.c_str());
    std::stringstream err;
    err << std::ifstream(dir / "stderr.txt").rdbuf();
    ASSERT_EQ(status, 0) << err.str();

    auto ini = read_ini(dir / "vasul.ini");
    const std::map<std::string, std::string> settings = {
        {"music/bgmon", "1"}, {"music/bgm", "2"},  {"music/se", "1"},  {"cg/fps", "1"},
        {"mode/level", "1"},  {"sound/loop", "1"}, {"sound/vol", "3"},
    };
    for (const auto& [key, value] : settings) EXPECT_EQ(ini[key], value) << key;
    EXPECT_EQ(ini.count("music/seon"), 0u) << "the effect switch was never touched";
    EXPECT_EQ(ini["score/sco0"], "500");
    EXPECT_EQ(ini["score/sum0"], "10057");
    EXPECT_EQ(ini["score/sum1"], "237");
    fs::remove_all(dir);
}
