// The settings screen's model: a key given twice is swapped, a key without
// a name is refused, a change is saved in its own line and nowhere else, a
// setting the command line gave is changed for the run and never written, a
// failed save keeps the value, and the defaults come back.

#include "shell/settings_menu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/headless.h"
#include "platform/warnings.h"
#include "shell/binding_lines.h"
#include "shell/key_bindings.h"
#include "shell/preferences.h"
#include "shell/recordings.h"
#include "shell/replay_choice.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void put(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A player's file with comments, spacing of their own and a key of a later
// version, which every save must keep byte for byte.
const std::string playersFile =
    "# my settings\n"
    "volume   =  70\r\n"
    "future-thing = 3\n"
    "key-left = A\n";

class SettingsScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        headless::use();
        folder = fs::temp_directory_path() /
                 ("kordavan-screen-" +
                  std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        file = folder / "kordavan.conf";
        start(Options{}, playersFile);
        takeChosenReplay();
    }
    void TearDown() override {
        useKeyBindings(defaultKeyBindings());
        writeWarnings();
        fs::permissions(folder, fs::perms::owner_all);
        fs::remove_all(folder);
    }
    // The game started with this command line and settings file.
    void start(const Options& options, const std::string& text) {
        put(file, text);
        const SettingsFile settings{file, text};
        usePreferences(options, settings);
        useKeyBindings(parseKeyBindings(text, file.string(), warnings()));
        model.open();
    }
    // The row of that label on the page shown.
    size_t rowOf(const std::string& label) const {
        const std::vector<ScreenRow> rows = model.rows();
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].label == label) return i;
        }
        ADD_FAILURE() << "no row " << label;
        return 0;
    }
    void go(const std::string& label) {
        model.select(rowOf(label));
        model.activate();
    }
    // The file with one line changed: `from` made `to`.
    static std::string playersFileWith(const std::string& from, const std::string& to) {
        std::string text = playersFile;
        return text.replace(text.find(from), from.size(), to);
    }

    fs::path folder;
    fs::path file;
    SettingsScreenModel model{fs::path(), fs::path()};
};

class ScreenModelTest : public SettingsScreenTest {
  protected:
    void SetUp() override {
        SettingsScreenTest::SetUp();
        model = SettingsScreenModel(file, folder / "recordings");
        model.open();
    }
};

TEST_F(ScreenModelTest, AKeyAnotherControlHasIsSwappedAndOnlyTheirLinesAreWritten) {
    go("Keys...");
    ASSERT_EQ(model.page(), ScreenPage::keys);
    model.select(rowOf("Land"));
    EXPECT_EQ(model.activate(), ScreenRequest::captureKey);
    EXPECT_EQ(model.rows()[rowOf("Land")].value, "press a key...");
    model.keyPressed(DIK_UP);
    EXPECT_FALSE(model.capturing());
    const size_t land = 4;
    const size_t up = 2;
    EXPECT_EQ(keyBindings().keys[land], std::vector<uint8_t>{DIK_UP});
    EXPECT_EQ(keyBindings().keys[up], std::vector<uint8_t>{DIK_L}) << "Up takes Land's old key";
    EXPECT_NE(model.message().find("Up had it and takes L instead (swapped)"), std::string::npos)
        << model.message();
    EXPECT_EQ(model.rows()[rowOf("Land")].value, "Up");
    EXPECT_EQ(contents(file), playersFile + "key-land = Up\nkey-up = L\n");

    // Left's line is the player's own: it changes where it stands.
    model.select(rowOf("Left"));
    model.activate();
    model.keyPressed(DIK_Z);
    EXPECT_EQ(contents(file),
              playersFileWith("key-left = A", "key-left = Z") + "key-land = Up\nkey-up = L\n");
}

TEST_F(ScreenModelTest, PadButtonsSwapTooWithEveryControlThatHadTheButton) {
    go("Pad buttons...");
    model.select(rowOf("Land"));
    EXPECT_EQ(model.activate(), ScreenRequest::capturePad);
    model.padPressed(PadButton::start);  // Start and Confirm both have it
    EXPECT_EQ(keyBindings().pads[4], std::vector<PadButton>{PadButton::start});
    EXPECT_EQ(keyBindings().pads[6], std::vector<PadButton>{PadButton::south});
    EXPECT_EQ(keyBindings().pads[7], std::vector<PadButton>{PadButton::south});
    EXPECT_EQ(contents(file), playersFile + "pad-land = Start\npad-start = A\npad-confirm = A\n");
}

// What the screen saves, the file reads back as the same key or button.
TEST(BindingNames, EveryNameTheScreenWritesIsReadBackAsTheSameKeyOrButton) {
    int named = 0;
    for (int code = 1; code < 256; ++code) {
        const std::string_view name = keyName(static_cast<uint8_t>(code));
        if (name.empty()) continue;
        ++named;
        EXPECT_EQ(keyByName(name), code) << name;
    }
    EXPECT_GT(named, 90);
    EXPECT_TRUE(keyName(DIK_F11).empty());
    for (int button = 0; button <= static_cast<int>(PadButton::back); ++button) {
        KeyBindings bindings = defaultKeyBindings();
        bindings.pads[0] = {static_cast<PadButton>(button)};
        std::ostringstream warned;
        const KeyBindings read = parseKeyBindings(withBinding("", bindings, 0, BindingKind::pad),
                                                  "kordavan.conf", warned);
        EXPECT_EQ(read.pads[0], bindings.pads[0]) << button;
        EXPECT_EQ(warned.str(), "");
    }
}

TEST_F(ScreenModelTest, AKeyWithoutANameOrTheDisplaySwitchIsRefusedAndNothingChanges) {
    go("Keys...");
    const KeyBindings before = keyBindings();
    for (const uint8_t code : {uint8_t{DIK_F11}, uint8_t{0x59}, uint8_t{DIK_LWIN}}) {
        model.select(rowOf("Quit"));
        model.activate();
        model.keyPressed(code);
        EXPECT_NE(model.message().find("cannot be given"), std::string::npos) << model.message();
        EXPECT_EQ(keyBindings().keys, before.keys);
        // F11 switches the display and is not given, so the question stays.
        EXPECT_EQ(model.capturing().has_value(), code == DIK_F11) << int{code};
    }
    EXPECT_NE(model.message().find("no name"), std::string::npos);
    model.select(rowOf("Quit"));
    model.activate();
    model.displaySwitched();
    EXPECT_NE(model.message().find("Press another key for Quit"), std::string::npos);
    EXPECT_TRUE(model.capturing()) << "Alt+Enter's switch gives nothing either";
    model.cancelCapture("Nothing changed");
    // The key it already has, and a cancelled question, change nothing either.
    model.select(rowOf("Quit"));
    model.activate();
    model.keyPressed(DIK_ESCAPE);
    EXPECT_NE(model.message().find("already has Escape"), std::string::npos);
    model.activate();
    EXPECT_EQ(model.back(), ScreenRequest::none) << "Escape cancels the question, not the page";
    EXPECT_EQ(model.page(), ScreenPage::keys);
    EXPECT_EQ(keyBindings().keys, before.keys);
    EXPECT_EQ(contents(file), playersFile);
}

TEST_F(ScreenModelTest, AChangeTakesEffectAtOnceAndOnlyItsLineIsSaved) {
    model.select(rowOf("Volume"));
    model.step(-1);
    EXPECT_EQ(currentSettings().volume, 60);
    EXPECT_EQ(soundOptions().volume, 60) << "heard at once";
    EXPECT_EQ(contents(file), playersFileWith("70", "60"));
    EXPECT_EQ(model.rows()[rowOf("Volume")].value, "60");
    EXPECT_NE(model.message().find("(saved)"), std::string::npos);

    model.select(rowOf("Display"));
    model.activate();
    EXPECT_FALSE(displayOptions().fullscreen) << "the window, at once";
    model.select(rowOf("Sharp pixels (whole multiples)"));
    model.step(1);
    EXPECT_TRUE(displayOptions().integerScale);
    EXPECT_EQ(contents(file),
              playersFileWith("70", "60") + "display = window\ninteger-scale = yes\n");
    rememberDisplayChoice();  // the frame's end saves no display twice
    EXPECT_EQ(contents(file),
              playersFileWith("70", "60") + "display = window\ninteger-scale = yes\n");
}

TEST_F(ScreenModelTest, TheVolumeGoesInTensAndStaysWithinItsEnds) {
    model.select(rowOf("Volume"));
    for (int i = 0; i < 12; ++i) model.step(1);
    EXPECT_EQ(currentSettings().volume, 100);
    for (int i = 0; i < 12; ++i) model.step(-1);
    EXPECT_EQ(currentSettings().volume, 0);
    model.activate();  // Return, or a tap, goes on round
    EXPECT_EQ(currentSettings().volume, 10);
    // The window sizes are those that fit the desktop (1920x1080: two).
    model.select(rowOf("Window size"));
    EXPECT_EQ(model.rows()[rowOf("Window size")].value, "largest that fits");
    model.step(1);
    model.step(1);
    model.step(1);
    EXPECT_EQ(model.rows()[rowOf("Window size")].value, "2x (1280x960)");
}

TEST_F(ScreenModelTest, ASettingTheCommandLineGaveChangesThisRunOnly) {
    Options options;
    options.volume = 30;
    start(options, playersFile);
    model.select(rowOf("Volume"));
    EXPECT_EQ(model.rows()[rowOf("Volume")].value, "30 (command line)");
    model.step(1);
    EXPECT_EQ(currentSettings().volume, 40);
    EXPECT_EQ(soundOptions().volume, 40);
    EXPECT_EQ(model.rows()[rowOf("Volume")].value, "40 (command line)");
    EXPECT_NE(model.message().find("for this run only"), std::string::npos);
    EXPECT_EQ(contents(file), playersFile) << "the file keeps its own";
    // The same for the display, whose switch the frame's end would save.
    options = {};
    options.display = DisplayMode::window;
    start(options, playersFile);
    model.select(rowOf("Display"));
    model.activate();
    rememberDisplayChoice();
    EXPECT_TRUE(displayOptions().fullscreen);
    EXPECT_EQ(contents(file), playersFile);
}

TEST_F(ScreenModelTest, AFailedSaveKeepsTheValueAndSaysSoOnScreenAndInTheWarnings) {
    collectWarnings({});
    fs::permissions(file, fs::perms::owner_read);
    model.select(rowOf("Volume"));
    model.step(1);
    EXPECT_EQ(currentSettings().volume, 80) << "the game keeps the value";
    EXPECT_EQ(soundOptions().volume, 80);
    EXPECT_NE(model.message().find("for this run only: it could not be saved"), std::string::npos);
    EXPECT_NE(model.message().find("read-only"), std::string::npos) << model.message();
    EXPECT_NE(keptWarnings().find("the volume setting is not saved"), std::string::npos)
        << keptWarnings();
    go("Keys...");
    model.select(rowOf("Land"));
    model.activate();
    model.keyPressed(DIK_K);
    EXPECT_EQ(keyBindings().keys[4], std::vector<uint8_t>{DIK_K});
    EXPECT_NE(model.message().find("For this run only"), std::string::npos);
    EXPECT_NE(keptWarnings().find("key-land"), std::string::npos);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(contents(file), playersFile);
}

TEST_F(ScreenModelTest, RestoringTheDefaultsPutsEverythingBackInOneSave) {
    start(Options{}, playersFile + "display = window\npad-land = B\n");
    model.select(rowOf("Restore the defaults"));
    model.activate();
    EXPECT_EQ(model.message(), "Press Return again to restore every setting, key and button");
    EXPECT_EQ(contents(file), playersFile + "display = window\npad-land = B\n") << "asked only";
    model.activate();
    EXPECT_EQ(currentSettings(), Settings{});
    EXPECT_EQ(keyBindings().keys, defaultKeyBindings().keys);
    EXPECT_EQ(keyBindings().pads, defaultKeyBindings().pads);
    EXPECT_TRUE(displayOptions().fullscreen);
    EXPECT_EQ(soundOptions().volume, 100);
    // The lines there take the defaults; a control without one needs none.
    EXPECT_EQ(contents(file),
              "# my settings\nvolume   =  100\r\nfuture-thing = 3\nkey-left = Left\n"
              "display = fullscreen\npad-land = A\nscale = 0\ninteger-scale = no\n"
              "pause-on-focus-loss = no\nrecord-games = no\n");
    EXPECT_NE(model.message().find("(saved)"), std::string::npos);
}

// Any move but Return between the two drops the question, and the next
// Return asks again.
TEST_F(ScreenModelTest, AnythingButReturnDropsTheQuestionOfRestoringTheDefaults) {
    const std::vector<std::pair<std::string, void (*)(SettingsScreenModel&)>> others = {
        {"move", [](SettingsScreenModel& m) { m.move(1); }},
        {"step", [](SettingsScreenModel& m) { m.step(-1); }},
        {"another key", [](SettingsScreenModel& m) { m.dropQuestion(); }},
        {"another row", [](SettingsScreenModel& m) { m.select(0); }},
    };
    for (const auto& [what, other] : others) {
        model.select(rowOf("Restore the defaults"));
        model.activate();
        other(model);
        EXPECT_EQ(model.message(), "Nothing restored") << what;
        model.select(rowOf("Restore the defaults"));
        model.activate();
        EXPECT_EQ(contents(file), playersFile) << what;
        model.dropQuestion();
    }
    model.select(rowOf("Restore the defaults"));
    model.activate();
    EXPECT_EQ(model.back(), ScreenRequest::close) << "Escape drops it and closes as ever";
    model.open();
    model.select(rowOf("Restore the defaults"));
    model.activate();
    EXPECT_EQ(contents(file), playersFile) << "a new opening asks anew";
}

TEST_F(ScreenModelTest, TheRecordingsAreListedNewestFirstAndAChoiceClosesTheScreen) {
    go("Watch a replay...");
    ASSERT_EQ(model.rows().size(), 2u);
    EXPECT_EQ(model.rows()[0].label, "No recordings yet");
    EXPECT_EQ(model.activate(), ScreenRequest::none);
    EXPECT_EQ(model.back(), ScreenRequest::none);
    EXPECT_EQ(model.rows()[model.selected()].label, "Watch a replay...")
        << "back on the row that led there";

    const fs::path recordings = folder / "recordings";
    put(recordings / recordingName(1'800'000'000), "x");
    put(recordings / recordingName(1'900'000'000), "x");
    go("Watch a replay...");
    ASSERT_EQ(model.rows().size(), 3u);
    EXPECT_EQ(model.rows()[0].label + ".replay", recordingName(1'900'000'000));
    EXPECT_EQ(model.activate(), ScreenRequest::close);
    ASSERT_TRUE(replayChosen());
    EXPECT_EQ(takeChosenReplay(), recordings / recordingName(1'900'000'000));
}

TEST_F(ScreenModelTest, BackFromTheFirstPageClosesAndSavingAPictureIsTheScreensToDo) {
    model.select(rowOf("Save a picture"));
    EXPECT_EQ(model.activate(), ScreenRequest::savePicture);
    model.move(1);
    model.move(1);
    EXPECT_EQ(model.rows()[model.selected()].label, "Back");
    model.move(1);
    EXPECT_EQ(model.selected(), 0u) << "round the page";
    EXPECT_EQ(model.back(), ScreenRequest::close);
}

}  // namespace

// ---------------------------------------------------------------- rows as data

TEST_F(ScreenModelTest, TheFirstPageIsTheTablesScreenRowsInTheirWordsThenTheLinks) {
    const struct {
        const char* label;
        const char* value;  // as the player's file (volume 70) and the defaults make it
        bool steps;
    } expected[] = {
        {"Display", "full screen", true},
        {"Window size", "largest that fits", true},
        {"Sharp pixels (whole multiples)", "off", true},
        {"Volume", "70", true},
        {"Pause when the window loses focus", "off", true},
        {"Record my games", "off", true},
        {"Keys...", "", false},
        {"Pad buttons...", "", false},
        {"Watch a replay...", "", false},
        {"Save a picture", "", false},
        {"Restore the defaults", "", false},
        {"Back", "", false},
    };
    const std::vector<ScreenRow> rows = model.rows();
    ASSERT_EQ(rows.size(), std::size(expected));
    const std::vector<std::string_view> labels = firstPageLabels();
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].label, expected[i].label);
        EXPECT_EQ(rows[i].value, expected[i].value) << rows[i].label;
        EXPECT_EQ(rows[i].steps, expected[i].steps) << rows[i].label;
        if (i < labels.size()) {
            EXPECT_EQ(labels[i], rows[i].label);
        }
        if (rows[i].does == RowDoes::setting) {
            EXPECT_EQ(settingsTable()[rows[i].index].screenLabel, rows[i].label);
        }
    }
}

TEST_F(ScreenModelTest, EachPageLinkOpensItsPageAndBackReturnsToTheLink) {
    const struct {
        const char* link;
        ScreenPage page;
        const char* heading;
        const char* said;
    } links[] = {
        {"Keys...", ScreenPage::keys, "Keys",
         "Return, then the new key, gives a control another key"},
        {"Pad buttons...", ScreenPage::pads, "Pad buttons",
         "Return, then the new button, gives a control another button"},
        {"Watch a replay...", ScreenPage::replays, "Watch a replay",
         "No recordings yet: \"Record my games\" keeps them"},
    };
    for (const auto& link : links) {
        go(link.link);
        EXPECT_EQ(model.page(), link.page) << link.link;
        EXPECT_EQ(model.heading(), link.heading);
        EXPECT_EQ(model.message(), link.said);
        EXPECT_EQ(model.back(), ScreenRequest::none);
        EXPECT_EQ(model.heading(), "Settings");
        EXPECT_EQ(model.rows()[model.selected()].label, link.link);
    }
}
