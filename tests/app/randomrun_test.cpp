#include "app/randomrun.h"
#include "browse/textsearch.h"
#include "platform/appinfo.h"
#include "platform/logonhost.h"
#include "platform/randomlist.h"
#include "platform/registry.h"
#include "platform/settings.h"
#include "support/logonhostlock.h"
#include "support/scriptedrandom.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

namespace doorsel {
namespace {

TEST(NextCountdown, picksWhenTheCountHasRunOutAndOtherwiseLowersIt)
{
    const struct {
        const char* nextRotation;
        const char* rotateEvery;
        bool pick;
        const char* next;
    } cases[] = {
        {"0", "1", true, "0"},
        {"", "1", true, "0"},
        {"0", "3", true, "2"},
        {"", "5", true, "4"},
        {"2", "3", false, "1"},
        {"1", "3", false, "0"},
        {"00", "3", false, "-1"}, // not the text "0"
        {" 1", "3", false, "0"},
        {"-1", "3", false, "-2"},
        {"32767", "3", false, "32766"},
        {"-32767", "3", false, "-32768"},
        // A hand-edited period of 0 or below follows the same arithmetic, leaving a countdown that
        // never picks again; only a period that is no 16-bit number, or cannot be lowered within
        // 16 bits, is taken as 1.
        {"0", "0", true, "-1"},
        {"0", "-3", true, "-4"},
        {"-1", "0", false, "-2"},
        {"0", "-32767", true, "-32768"},
        {"0", "-32768", true, "0"},
        {"0", "", true, "0"},
        {"0", "x", true, "0"},
        {"0", "32768", true, "0"},
        {"0", "32767", true, "32766"},
        {"0", " 12 ", true, "11"},
        // A countdown that is no 16-bit number, or cannot be lowered within 16 bits, has run out
        // and is repaired by the pick.
        {"-32768", "3", true, "2"},
        {"-40000", "3", true, "2"},
        {"32768", "3", true, "2"},
        {"99999999999999999999", "3", true, "2"},
        {"abc", "3", true, "2"},
        {"1.5", "3", true, "2"},
    };
    for (const auto& c : cases) {
        const CountdownStep step = NextCountdown(c.nextRotation, c.rotateEvery);
        EXPECT_EQ(step.pick, c.pick) << '"' << c.nextRotation << "\" \"" << c.rotateEvery << '"';
        EXPECT_EQ(step.next, c.next) << '"' << c.nextRotation << "\" \"" << c.rotateEvery << '"';
    }
}

TEST(PickEntry, drawsAgainAtMostThreeTimesWhileTheDrawIsTheCurrentLogonScreen)
{
    const std::vector<std::string_view> list = {"a", "b", "c", "d"};
    const struct {
        std::vector<float> draws;
        const char* expected;
    } cases[] = {
        {{0.3f}, "b"}, // not the current one: no second draw
        {{0.0f, 0.5f}, "c"}, // one re-pick
        {{0.0f, 0.1f, 0.9f}, "d"}, // two
        {{0.0f, 0.0f, 0.0f, 0.3f}, "b"}, // three
        {{0.0f, 0.0f, 0.0f, 0.0f}, "a"}, // the third re-pick stands whatever it is
    };
    for (const auto& c : cases) {
        test::ScriptedRandom source(c.draws);
        int reads = 0;
        const auto current = [&] {
            ++reads;
            return std::string("a");
        };
        EXPECT_EQ(PickEntry(list, current, source), c.expected);
        EXPECT_EQ(source.used(), c.draws.size()) << c.expected;
        EXPECT_EQ(reads, static_cast<int>(std::min<size_t>(c.draws.size(), 3))) << "read anew before each comparison";
    }
}

TEST(PickEntry, comparesExactlyAndGivesNothingForAnEmptyList)
{
    test::ScriptedRandom once({0.0f});
    EXPECT_EQ(PickEntry(
                  {"/logons/A.exe", "x"}, [] { return std::string("/logons/a.exe"); }, once),
        "/logons/A.exe");
    EXPECT_EQ(once.used(), 1u);

    test::ScriptedRandom none({});
    EXPECT_EQ(PickEntry(
                  {}, [] { return std::string("x"); }, none),
        std::nullopt);

    test::ScriptedRandom four({0.0f, 0.0f, 0.0f, 0.0f});
    EXPECT_EQ(PickEntry(
                  {"only"}, [] { return std::string("only"); }, four),
        "only");
}

TEST(PickEntry, withTwoEntriesTheOtherOneWinsFifteenTimesInSixteen)
{
    test::SeededRandom source(20011218);
    const std::vector<std::string_view> list = {"current", "other"};
    int other = 0;
    for (int i = 0; i < 16000; ++i)
        other += PickEntry(
                     list, [] { return std::string("current"); }, source)
            == "other";
    // 15,000 expected, standard deviation near 31.
    EXPECT_NEAR(other, 15000, 200);
}

// Whole runs against the files of a fresh program folder.
class RandomRun : public ::testing::Test {
protected:
    void settings(const char* rotateEvery, const char* nextRotation)
    {
        if (rotateEvery)
            settings::Write(settings::RotateEvery, rotateEvery);
        if (nextRotation)
            settings::Write(settings::NextRotation, nextRotation);
    }
    void list(const std::string& text) { test::spit(folder.file("random.dat"), text); }
    static std::string nextRotation() { return settings::Read(settings::NextRotation); }
    static std::string uiHost() { return ReadRegValue(UIHostPath); }

    // One picking run over a list text with one scripted draw, `current` being the logon screen in use.
    void pickFrom(const std::string& text, const std::string& current, float draw)
    {
        settings("1", "0");
        list(text);
        WriteRegValue(UIHostPath, current);
        test::ScriptedRandom source({draw});
        RunRandom(source);
    }

    // The run and the browse window's check marks must read a list file alike: the run sets only
    // what a row can come up checked by.
    struct ReadCase {
        const char* name;
        std::string text;
        float draw;
        const char* set; // UIHost after a run that picks; "current" when the list has no entry
        std::vector<std::pair<std::string, bool>> rows; // a row's path, and whether it comes up checked
    };
    void expectReadAlike(const ReadCase& c)
    {
        pickFrom(c.text, "current", c.draw);
        EXPECT_EQ(uiHost(), c.set) << c.name;
        const TextSearch search(ReadRandomList().value_or(std::vector<std::string>()));
        for (const auto& [path, checked] : c.rows)
            EXPECT_EQ(search.FindAll({path}).front() != 0, checked) << c.name << ": '" << path << "'";
    }

    test::LogonHostLock logonHostLock;
    test::TestFolder folder;
    test::SeededRandom source {7};
};

TEST_F(RandomRun, withPeriodOneEveryRunPicksAndTheCountStaysZero)
{
    settings("1", "0");
    list("/logons/a.exe\r\n/logons/b.exe\r\n");
    for (int run = 0; run < 3; ++run) {
        WriteRegValue(UIHostPath, "logonui.exe");
        RunRandom(source);
        EXPECT_TRUE(uiHost() == "/logons/a.exe" || uiHost() == "/logons/b.exe") << uiHost();
        EXPECT_EQ(nextRotation(), "0");
    }
}

TEST_F(RandomRun, withPeriodThreeTwoRunsCountDownAndTheThirdPicks)
{
    settings("3", "2");
    list("/logons/a.exe\r\n");
    WriteRegValue(UIHostPath, "logonui.exe");

    RunRandom(source);
    EXPECT_EQ(nextRotation(), "1");
    EXPECT_EQ(uiHost(), "logonui.exe");
    RunRandom(source);
    EXPECT_EQ(nextRotation(), "0");
    EXPECT_EQ(uiHost(), "logonui.exe");
    RunRandom(source);
    EXPECT_EQ(nextRotation(), "2");
    EXPECT_EQ(uiHost(), "/logons/a.exe");
}

TEST_F(RandomRun, anAbsentCountPicksAndStoresThePeriodLessOne)
{
    settings("5", nullptr);
    list("/logons/a.exe\r\n");
    RunRandom(source);
    EXPECT_EQ(nextRotation(), "4");
    EXPECT_EQ(uiHost(), "/logons/a.exe");
}

TEST_F(RandomRun, doubleZeroIsLoweredWithoutAPick)
{
    settings("3", "00");
    list("/logons/a.exe\r\n");
    WriteRegValue(UIHostPath, "logonui.exe");
    RunRandom(source);
    EXPECT_EQ(nextRotation(), "-1");
    EXPECT_EQ(uiHost(), "logonui.exe");
}

TEST_F(RandomRun, touchesNothingButTheCountAndTheLogonScreen)
{
    const std::string config = "; mine\r\n[Options]\r\nRotateEvery=2\r\nNextRotation=0\r\nAlertYN=1\r\n";
    test::spit(ConfigPath, config);
    list("/logons/a.exe\r\n");
    RunRandom(source);
    EXPECT_EQ(test::slurp(ConfigPath), "; mine\r\n[Options]\r\nRotateEvery=2\r\nNextRotation=1\r\nAlertYN=1\r\n");
    EXPECT_EQ(test::slurp(folder.file("random.dat")), "/logons/a.exe\r\n");
}

TEST_F(RandomRun, aListWithoutEntriesLeavesTheLogonScreenButRestartsTheCount)
{
    const struct {
        const char* name;
        std::optional<std::string> list; // nothing: no list file at all
    } cases[] = {{"empty file", ""}, {"blank lines only", "\r\n\n\r\n"}, {"no file", std::nullopt}};
    for (const auto& c : cases) {
        std::remove(folder.file("random.dat").c_str());
        if (c.list)
            list(*c.list);
        settings("4", "0");
        WriteRegValue(UIHostPath, "/logons/current.exe");
        RunRandom(source);
        EXPECT_EQ(uiHost(), "/logons/current.exe") << c.name;
        EXPECT_EQ(nextRotation(), "3") << c.name;
    }
}

TEST_F(RandomRun, neverDrawsABlankLine)
{
    // Every draw of a list read line by line would land on a blank line here.
    settings("1", "0");
    list("\r\n\r\n\r\n/logons/a.exe\r\n\r\n");
    WriteRegValue(UIHostPath, "logonui.exe");
    test::ScriptedRandom first({0.0f});
    RunRandom(first);
    EXPECT_EQ(uiHost(), "/logons/a.exe");
}

TEST_F(RandomRun, linesOfOnlyBlanksAndTabsAreNoEntries)
{
    const ReadCase cases[] = {
        {"blank line first", "   \r\n/l/a.exe\r\n", 0.0f, "/l/a.exe", {{"/l/a.exe", true}, {"   ", false}}},
        {"blanks and a tab last", "/l/a.exe\r\n \t ", 0.9f, "/l/a.exe", {{" \t", false}}},
        {"nothing else", " \r\n\t\t\n  \r", 0.0f, "current", {{" ", false}, {"\t", false}}},
        {"an entry keeps its blanks", " /l/b c.exe \r\n", 0.0f, " /l/b c.exe ", {{" /l/b c.exe ", true}, {" ", true}}},
    };
    for (const ReadCase& c : cases)
        expectReadAlike(c);
}

TEST_F(RandomRun, aByteOrderMarkBeforeTheFirstLineIsNotPartOfIt)
{
    const std::string bom = "\xEF\xBB\xBF";
    const ReadCase cases[] = {
        {"before an entry", bom + "/l/a.exe\r\n/l/b.exe\r\n", 0.0f, "/l/a.exe",
            {{"/l/a.exe", true}, {bom + "/l/a.exe", false}, {bom, false}}},
        {"alone on the line", bom + "\r\n/l/a.exe\r\n", 0.0f, "/l/a.exe", {{bom, false}}},
        {"before blanks", bom + "  \r\n", 0.0f, "current", {{bom, false}}},
        {"only the leading one", "/l/a.exe\r\n" + bom + "/l/b.exe", 0.9f, "\xEF\xBB\xBF/l/b.exe",
            {{bom + "/l/b.exe", true}}},
    };
    for (const ReadCase& c : cases)
        expectReadAlike(c);
}

TEST_F(RandomRun, readsListsWithAnyLineEnd)
{
    const struct {
        const char* text;
        float draw;
        const char* expected;
    } cases[] = {
        {"/a.exe\n/b c.exe\n", 0.9f, "/b c.exe"},
        {"/a.exe\r\n/b c.exe", 0.9f, "/b c.exe"},
        {"/a.exe\r/b c.exe\r", 0.9f, "/b c.exe"},
        {"/a.exe\n/b c.exe", 0.0f, "/a.exe"},
    };
    for (const auto& c : cases) {
        pickFrom(c.text, "logonui.exe", c.draw);
        EXPECT_EQ(uiHost(), c.expected) << c.text;
    }
}

TEST_F(RandomRun, aOneLineListEqualToTheCurrentLogonScreenSetsItAgain)
{
    settings("1", "0");
    list("/logons/same.exe\r\n");
    WriteRegValue(UIHostPath, "/logons/same.exe");
    test::ScriptedRandom four({0.5f, 0.5f, 0.5f, 0.5f});
    RunRandom(four);
    EXPECT_EQ(four.used(), 4u);
    EXPECT_EQ(uiHost(), "/logons/same.exe");
}

// Outside Windows a name is bytes and goes in as it is. On Windows such a line is one an older
// program wrote in the system's ANSI code page (Windows-1252 here), and goes in as that text.
TEST_F(RandomRun, pathsThatAreNotUtf8GoIntoTheLogonScreenUnchanged)
{
    settings("1", "0");
    const std::string path = "/logons/caf\xe9\xff/logonui.exe";
    list(path + "\r\n");
    WriteRegValue(UIHostPath, "logonui.exe");
    RunRandom(source);
    EXPECT_EQ(uiHost(), RegistryStorePath().empty() ? "/logons/caf\xc3\xa9\xc3\xbf/logonui.exe" : path);
}

} // namespace
} // namespace doorsel
