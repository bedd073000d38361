#include "SettingsHome.h"
#include "Utf16File.h"

#include "foundation/settings/ComparerOptions.h"
#include "foundation/settings/RegistryKey.h"
#include "foundation/settings/RunnerOptions.h"

#include <gtest/gtest.h>

using namespace settings;

namespace {

const std::string kKelvorHeader = "[HKEY_CURRENT_USER\\SOFTWARE\\Kelvor]\n";

} // namespace

TEST(ComparerOptions, DefaultsWithoutAStore) {
    SettingsHome home;
    comparer::OptionsManager manager;
    const comparer::Options& o = manager.options();
    EXPECT_FALSE(o.compareHiddenTables || o.compareFieldsOrder || o.compareForms ||
                 o.compareModules || o.compareMacros || o.compareReports ||
                 o.compareTableDataMacros || o.useExternalDiff);
    EXPECT_EQ(o.externalDiffCommand, u"meld %p1 %p2");
    EXPECT_TRUE(o.showTipsOnStartup);
    EXPECT_EQ(o.currentTip, 0);
    EXPECT_FALSE(std::filesystem::exists(home.storeFile())); // loading creates nothing
}

TEST(ComparerOptions, LoadsEveryValueByItsName) {
    SettingsHome home;
    home.writeStore(kKelvorHeader + "\"data3\"=dword:00000002\n"
                                    "\"data4\"=dword:00000001\n"
                                    "\"data5\"=dword:00000001\n"
                                    "\"data6\"=\"kdiff3 \\\"%p1\\\" %p2\"\n"
                                    "\"data8\"=dword:00000001\n"
                                    "\"data9\"=dword:00000001\n"
                                    "\"data10\"=dword:00000001\n"
                                    "\"data11\"=dword:00000001\n"
                                    "\"data12\"=dword:00000001\n"
                                    "\"data13\"=dword:00000000\n"
                                    "\"data14\"=dword:ffffffff\n");
    comparer::OptionsManager manager;
    const comparer::Options& o = manager.options();
    EXPECT_TRUE(o.compareHiddenTables); // any non-zero value is true
    EXPECT_TRUE(o.compareFieldsOrder && o.useExternalDiff && o.compareForms && o.compareModules &&
                o.compareMacros && o.compareReports && o.compareTableDataMacros);
    EXPECT_EQ(o.externalDiffCommand, u"kdiff3 \"%p1\" %p2");
    EXPECT_FALSE(o.showTipsOnStartup);
    EXPECT_EQ(o.currentTip, -1);
}

TEST(ComparerOptions, CommandOfWrongTypeOrTooLongKeepsTheDefault) {
    SettingsHome home;
    home.writeStore(kKelvorHeader + "\"data6\"=dword:00000001\n");
    EXPECT_EQ(comparer::OptionsManager().options().externalDiffCommand, u"meld %p1 %p2");

    // 1024 bytes hold 511 characters and the terminator.
    std::string fits(511, 'x'), tooLong(512, 'x');
    home.writeStore(kKelvorHeader + "\"data6\"=\"" + fits + "\"\n");
    EXPECT_EQ(comparer::OptionsManager().options().externalDiffCommand.size(), 511u);
    home.writeStore(kKelvorHeader + "\"data6\"=\"" + tooLong + "\"\n");
    EXPECT_EQ(comparer::OptionsManager().options().externalDiffCommand, u"meld %p1 %p2");
}

TEST(ComparerOptions, SettersWriteTheExactFile) {
    SettingsHome home;
    comparer::OptionsManager manager;
    EXPECT_TRUE(manager.setCompareForms(true));
    EXPECT_TRUE(manager.setExternalDiff(true, u"\"/opt/my diff\" %p1 %p2"));
    EXPECT_TRUE(manager.setTips(false, 7));
    EXPECT_EQ(home.readStore(), utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                          u"[HKEY_CURRENT_USER\\SOFTWARE\\Kelvor]\r\n"
                                          u"\"data8\"=dword:00000001\r\n"
                                          u"\"data5\"=dword:00000001\r\n"
                                          u"\"data6\"=\"\\\"/opt/my diff\\\" %p1 %p2\"\r\n"
                                          u"\"data13\"=dword:00000000\r\n"
                                          u"\"data14\"=dword:00000007\r\n\r\n"));
    comparer::OptionsManager reloaded;
    EXPECT_TRUE(reloaded.options().compareForms);
    EXPECT_EQ(reloaded.options().externalDiffCommand, u"\"/opt/my diff\" %p1 %p2");
    EXPECT_EQ(reloaded.options().currentTip, 7);
    EXPECT_FALSE(reloaded.options().showTipsOnStartup);
}

TEST(ComparerOptions, EverySwitchRoundTrips) {
    SettingsHome home;
    using Setter = bool (comparer::OptionsManager::*)(bool);
    const std::pair<Setter, bool comparer::Options::*> switches[] = {
        {&comparer::OptionsManager::setCompareHiddenTables,
         &comparer::Options::compareHiddenTables},
        {&comparer::OptionsManager::setCompareFieldsOrder, &comparer::Options::compareFieldsOrder},
        {&comparer::OptionsManager::setCompareForms, &comparer::Options::compareForms},
        {&comparer::OptionsManager::setCompareModules, &comparer::Options::compareModules},
        {&comparer::OptionsManager::setCompareMacros, &comparer::Options::compareMacros},
        {&comparer::OptionsManager::setCompareReports, &comparer::Options::compareReports},
        {&comparer::OptionsManager::setCompareTableDataMacros,
         &comparer::Options::compareTableDataMacros},
    };
    for (auto [setter, field] : switches) {
        comparer::OptionsManager manager;
        ASSERT_TRUE((manager.*setter)(true));
        EXPECT_TRUE(comparer::OptionsManager().options().*field);
        ASSERT_TRUE((manager.*setter)(false));
        EXPECT_FALSE(comparer::OptionsManager().options().*field);
    }
}

TEST(ComparerOptions, UnwritableStoreReturnsFalseButKeepsTheNewValues) {
    SettingsHome home;
    // A file where the settings folder belongs: the key cannot be created.
    std::ofstream(home.root() / "config") << "not a folder";
    comparer::OptionsManager manager;
    EXPECT_FALSE(manager.setExternalDiff(true, u"vimdiff %p1 %p2"));
    EXPECT_TRUE(manager.options().useExternalDiff);
    EXPECT_EQ(manager.options().externalDiffCommand, u"vimdiff %p1 %p2");
    EXPECT_FALSE(manager.setTips(false, 3));
    EXPECT_EQ(manager.options().currentTip, 3);
    EXPECT_FALSE(runner::OptionsManager().setStopOnError(false));
}

TEST(ComparerOptions, DamagedStoreGivesDefaultsAndSurvives) {
    SettingsHome home;
    const char raw[] = "\x01\x02garbage\x00\xFF\xFE\n"
                       "[HKEY_CURRENT_USER\\SOFTWARE\\Kelvor]\n"
                       "\"data3\"=dword:0000\n"     // truncated
                       "\"data6\"=dword:00000001\n" // wrong type
                       "\"data13\"=\"0\"\n"         // wrong type
                       "\x80\x81\"data4\"=dword:00000001\n"
                       "\"data14\"=dword:0000000"; // truncated, no line end
    std::string damaged(raw, sizeof raw - 1);
    home.writeStore(damaged);
    comparer::OptionsManager manager;
    EXPECT_FALSE(manager.options().compareHiddenTables);
    EXPECT_FALSE(manager.options().compareFieldsOrder); // its line starts with garbage
    EXPECT_EQ(manager.options().externalDiffCommand, u"meld %p1 %p2");
    EXPECT_TRUE(manager.options().showTipsOnStartup);
    EXPECT_EQ(manager.options().currentTip, 0);
    EXPECT_EQ(home.readStore(), damaged); // reading changes nothing

    EXPECT_TRUE(manager.setCompareReports(true));
    std::string after = home.readStore();
    EXPECT_EQ(after.substr(0, damaged.size()), damaged); // everything kept, the value added
    EXPECT_TRUE(comparer::OptionsManager().options().compareReports);
}

TEST(ComparerOptions, StoreThatCannotBeReadIsNeitherUsedNorReplaced) {
    SettingsHome home;
    std::filesystem::create_directories(home.storeFile()); // a folder in its place
    comparer::OptionsManager manager;
    EXPECT_TRUE(manager.options().showTipsOnStartup);
    EXPECT_FALSE(manager.setCompareForms(true));
    EXPECT_TRUE(std::filesystem::is_directory(home.storeFile()));
}

TEST(RunnerOptions, StopOnErrorDefaultsToTrue) {
    SettingsHome home;
    EXPECT_TRUE(runner::OptionsManager().stopOnError());
    home.writeStore("[HKEY_CURRENT_USER\\SOFTWARE\\Kelrun]\n\"other\"=dword:00000000\n");
    EXPECT_TRUE(runner::OptionsManager().stopOnError());
    home.writeStore("[HKEY_CURRENT_USER\\SOFTWARE\\Kelrun]\n\"stoponerror\"=dword:00000000\n");
    EXPECT_FALSE(runner::OptionsManager().stopOnError());
    home.writeStore("[HKEY_CURRENT_USER\\SOFTWARE\\Kelrun]\n\"stoponerror\"=\"0\"\n");
    EXPECT_TRUE(runner::OptionsManager().stopOnError());
}

TEST(RunnerOptions, KeepsTheFirstReadAndSharesTheStoreWithTheComparer) {
    SettingsHome home;
    runner::OptionsManager manager;
    EXPECT_TRUE(manager.stopOnError());
    home.writeStore("[HKEY_CURRENT_USER\\SOFTWARE\\Kelrun]\n\"stoponerror\"=dword:00000000\n");
    EXPECT_TRUE(manager.stopOnError()); // read once, then kept

    EXPECT_TRUE(manager.setStopOnError(true));
    EXPECT_TRUE(comparer::OptionsManager().setCompareMacros(true));
    EXPECT_TRUE(runner::OptionsManager().stopOnError());
    EXPECT_TRUE(comparer::OptionsManager().options().compareMacros);
    EXPECT_EQ(home.readStore(), "[HKEY_CURRENT_USER\\SOFTWARE\\Kelrun]\n"
                                "\"stoponerror\"=dword:00000001\n\n"
                                "[HKEY_CURRENT_USER\\SOFTWARE\\Kelvor]\n"
                                "\"data10\"=dword:00000001\n\n");
}
