// The application update's decisions: version values and prefixes, the
// package folder, the applications a company uses and those it has lost.
#include <gtest/gtest.h>

#include <optional>

#include "launcher/update_plan.h"
#include "utils/numbers_dates.h"

namespace vt {
namespace {

using Names = std::vector<std::string>;

TEST(UpdatePlan, VersionValuesAreTheIntegerOfTheDigitsAndZeroWithoutAVersion) {
  struct Case {
    bool rowFound;
    const char* text;
    int value;
    const char* prefix;
  };
  const Case cases[] = {
      {true, "V2.03.10.05", 2031005, "20310"},
      {true, "2.03.10", 20310, "20310"},
      {true, "V1.2", 12, "12"},
      {true, "V0002.01", 201, "201"},  // leading zeros are not digits of the value
      {true, "2147483647", 2147483647, "21474"},
      {true, "", 0, "0"},
      {false, "V2.03.10.05", 0, "0"},  // no row: whatever the field reads
  };
  for (const Case& c : cases) {
    EXPECT_EQ(versionValue(c.rowFound, c.text), c.value) << c.text;
    EXPECT_EQ(versionPrefix(versionValue(c.rowFound, c.text)), c.prefix) << c.text;
  }
}

TEST(UpdatePlan, DigitsThatAreNoThirtyTwoBitIntegerAreAnError) {
  for (const char* text : {"V21.47.48.36.48", "99999999999", "versão", "-"})
    EXPECT_THROW(versionValue(true, text), utils::ConvertError) << text;
}

TEST(UpdatePlan, ThePackageFolderFollowsThePrefixesUnlessAReleaseIsNamed) {
  struct Case {
    int reference, client, release;
    const char* folder;
    bool samePrefix;
  };
  const Case cases[] = {
      {2031005, 20310, 0, "upd", true},
      {20310, 2031005, 0, "upd", true},
      {2031005, 2031099, 0, "upd", true},  // only the first five digits count
      {2031005, 2041005, 0, "upd_anterior", false},
      {2031005, 203100, 0, "upd", true},  // "20310" and "20310"
      {0, 2031005, 0, "upd_anterior", false},  // no reference client
      {0, 0, 0, "upd", true},
      {2031005, 2031005, 7, "upd_onlinerelease/07", true},
      {2031005, 2041005, 7, "upd_onlinerelease/07", false},
      {2031005, 2031005, 12, "upd_onlinerelease/12", true},
      {2031005, 2031005, 123, "upd_onlinerelease/123", true},
      {2031005, 2031005, -3, "upd", true},
  };
  for (const Case& c : cases) {
    const PackageFolder choice = choosePackageFolder(c.reference, c.client, c.release);
    EXPECT_EQ(choice.folder, c.folder) << c.reference << " " << c.client << " " << c.release;
    EXPECT_EQ(choice.samePrefix, c.samePrefix) << c.reference << " " << c.client;
    EXPECT_EQ(choice.release, c.release > 0) << c.release;
  }
}

TEST(UpdatePlan, TheSegmentAndTheModuleRowsChooseTheApplications) {
  struct Case {
    const char* segment;
    std::vector<int> modules;
    Names taken;
  };
  const Case cases[] = {
      {"", {}, {"Quorvelin", "Pendrak"}},
      {"MADEIREIRA", {}, {"Quorvelin", "Pendrak", "Torsilde"}},
      {"madeireira", {}, {"Quorvelin", "Pendrak"}},
      {"MADEIREIRA ", {}, {"Quorvelin", "Pendrak"}},
      {"VAREJO", {7, 9, 17, 18}, {"Quorvelin", "Pendrak", "Caspelo", "Mirendal", "Dostravo", "Zentrix"}},
      {"VAREJO", {9, 9}, {"Quorvelin", "Pendrak", "Mirendal", "Mirendal"}},
      {"MADEIREIRA", {1, 7, 8, 19}, {"Quorvelin", "Pendrak", "Torsilde", "Caspelo"}},
      // The rows' order, not the table's, for the module applications.
      {"", {18, 7}, {"Quorvelin", "Pendrak", "Zentrix", "Caspelo"}},
  };
  for (const Case& c : cases) EXPECT_EQ(applicationsTaken(c.segment, c.modules), c.taken) << c.segment;
}

TEST(UpdatePlan, WhatTheInstallListLacksIsCheckedForRemovalInAFixedOrder) {
  struct Case {
    Names install;
    Names removed;
  };
  const Case cases[] = {
      {{}, {"Zentrix", "Caspelo", "Mirendal", "Dostravo", "Torsilde"}},
      {{"Quorvelin", "Pendrak"}, {"Zentrix", "Caspelo", "Mirendal", "Dostravo", "Torsilde"}},
      {{"Quorvelin", "Pendrak", "Mirendal"}, {"Zentrix", "Caspelo", "Dostravo", "Torsilde"}},
      {{"Torsilde", "Caspelo", "Zentrix", "Mirendal", "Dostravo"}, {}},
      {{"caspelo", "CASPELO"}, {"Zentrix", "Caspelo", "Mirendal", "Dostravo", "Torsilde"}},  // exact names
  };
  for (const Case& c : cases) EXPECT_EQ(applicationsToRemove(c.install), c.removed);
}

} // namespace
} // namespace vt
