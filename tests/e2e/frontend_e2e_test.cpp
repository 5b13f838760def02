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
#include "support/game_binary.h"

namespace {

namespace fs = std::filesystem;

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
    const fs::path dir = fixture::make_data_folder("frontend-e2e", VASUL_DATA_DIR);
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

    const auto run = fixture::run_binary(
        VASUL_BINARY, dir, "--headless --replay r.txt --frames " + std::to_string(s.end()));
    ASSERT_EQ(run.status, 0) << run.err;

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
