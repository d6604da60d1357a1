// The printer operations against a real CUPS scheduler of the tests (fixture
// "cups": queues Caixa01, Etiquetas and Fiscal@srv01). Linux asks it through
// CUPS's library; under Wine the same queues come through Wine's print
// spooler, which takes its printers from that scheduler.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "dmutils/dialogs_port.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "platform/printers.h"
#include "tests/dmutils/module_fixture.h"

namespace vt {
namespace {

#ifdef _WIN32
// Wine names the CUPS queues as they are; "@" is no network printer there.
const std::vector<std::string> kListed = {"Caixa01", "Etiquetas", "Fiscal@srv01"};
constexpr long kNotListed = 1801; // ERROR_INVALID_PRINTER_NAME
#else
// CUPS's "Fiscal@srv01" is the queue Fiscal on the server srv01.
const std::vector<std::string> kListed = {"Caixa01", "Etiquetas", "\\\\srv01\\Fiscal"};
constexpr long kNotListed = ENODEV;
#endif

struct ProgressStep {
  std::string step, animation;
  int position, minimum, maximum;
  bool operator==(const ProgressStep&) const = default;
};

// The progress protocol as the utility module speaks it (the system shows no
// progress window).
class RecordingForms final : public DialogsPort {
public:
  bool formMensagem(std::string_view, std::string_view, bool, bool) override { return true; }
  void formProgress(std::string_view AIniEnd, std::string_view, std::string_view AAnima, int APosicao, int AMinimo,
                    int AMaximo, std::string_view) override {
    steps.push_back({std::string(AIniEnd), std::string(AAnima), APosicao, AMinimo, AMaximo});
  }
  void formConfiguracaoConfig() override {}
  std::vector<ProgressStep> steps;
};

class Printers : public ::testing::Test {
protected:
  test::ModuleFixture f;
  RecordingForms forms;

  void SetUp() override {
    f.dmUtils.attachForms(forms);
    f.drive.installRoot();
    if (platform::printerNames().empty())
      GTEST_SKIP() << "the platform lists no printer: the CUPS scheduler of the tests is not the one this "
                      "process sees (CUPS_SERVER), or Wine was built without CUPS";
  }

  void useProfileWay() {
    f.dmUtils.setToConfig("CONFIGURACAO", "Forma Padrão SetDefaultPrinter", "2", kConfigPath);
    platform::createDirectories("C:\\Windows");
  }
};

#ifndef _WIN32
// What lpstat, CUPS's own client, says of the same scheduler and user.
std::string lpstatDefault() {
  std::string out;
  if (FILE* p = popen("lpstat -d 2>&1", "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, p)) out += buffer;
    pclose(p);
  }
  return out;
}
#endif

TEST_F(Printers, ThePlatformListsTheQueuesInItsOrder) { EXPECT_EQ(platform::printerNames(), kListed); }

TEST_F(Printers, TheComboIsEmptiedAndFilledInEachNamingStyle) {
  const std::string computer = TdmUtils::pubNomeComputador();
  const std::string address = TdmUtils::getIP();
  ASSERT_FALSE(computer.empty());
  struct Case {
    int style;
    std::string prefix; // before each local printer
  };
  const Case cases[] = {
      {0, "\\\\" + computer + "\\"}, {2, ""}, {1, "\\\\" + address + "\\"}, {-7, "\\\\" + address + "\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    platform::ComboItemList combo;
    combo.add("antiga");
    f.dmUtils.listaImpressorasCombo(combo, c.style);
    std::vector<std::string> expected;
    for (const std::string& name : kListed)
      expected.push_back(name.find("\\\\") != std::string::npos ? name : c.prefix + name);
    EXPECT_EQ(combo.items, expected);
  }
}

TEST_F(Printers, TheSpoolerWayChangesTheDefaultThePlatformReports) {
  for (const std::string& name : {kListed[1], kListed[0], kListed[2]}) {
    SCOPED_TRACE(name);
    f.dmUtils.setDefaultPrinter(name);
    EXPECT_EQ(platform::defaultPrinter(), name);
#ifndef _WIN32
    const std::string cupsName = name == "\\\\srv01\\Fiscal" ? "Fiscal@srv01" : name;
    EXPECT_EQ(lpstatDefault(), "system default destination: " + cupsName + "\n");
#endif
  }
  // The spooler way tells no progress.
  EXPECT_TRUE(forms.steps.empty());
}

TEST_F(Printers, AnEmptyOrUnknownNameIsAPlatformErrorAndChangesNothing) {
  f.dmUtils.setDefaultPrinter("Caixa01");
  for (const char* name : {"", "Nenhuma", "\\\\srv02\\Fiscal"}) {
    SCOPED_TRACE(name);
    try {
      f.dmUtils.setDefaultPrinter(name);
      ADD_FAILURE() << "no error raised";
    } catch (const platform::OsError& e) {
      EXPECT_EQ(e.code(), kNotListed);
      EXPECT_NE(std::string(e.what()).find("Code: " + std::to_string(kNotListed)), std::string::npos) << e.what();
    }
    EXPECT_EQ(platform::defaultPrinter(), "Caixa01");
#ifndef _WIN32
    EXPECT_EQ(lpstatDefault(), "system default destination: Caixa01\n");
#endif
  }
}

TEST_F(Printers, TheProfileWayWritesTheDeviceEntryAndReportsEachPrinter) {
  f.dmUtils.setDefaultPrinter("Caixa01");
  useProfileWay();
  f.dmUtils.setDefaultPrinter("Etiquetas");
#ifdef _WIN32
  // Wine's driver of a CUPS queue carries the queue's name; its port is the queue.
  EXPECT_EQ(platform::readPlatformProfile("windows", "device"), "Etiquetas,Etiquetas,CUPS:Etiquetas");
  // On Windows that entry is the user's default printer.
  EXPECT_EQ(platform::defaultPrinter(), "Etiquetas");
#else
  // A raw CUPS queue: its make and model, and its device.
  EXPECT_EQ(platform::readPlatformProfile("windows", "device"), "Etiquetas,Local Raw Printer,file:/dev/null");
  // CUPS's default is not that entry.
  EXPECT_EQ(lpstatDefault(), "system default destination: Caixa01\n");
#endif
  const int count = static_cast<int>(kListed.size());
  const std::vector<ProgressStep> expected = {
      {"pbInicia", "Copy", 0, 0, count}, {"pbPos", "Copy", 1, 0, count}, {"pbPos", "Copy", 1, 0, count},
      {"pbPos", "Copy", 1, 0, count},    {"pbFim", "Copy", 0, 0, 0},
  };
  EXPECT_EQ(forms.steps, expected);
}

TEST_F(Printers, TheProfileWayWritesNothingForANameNoPrinterHas) {
  useProfileWay();
  ASSERT_TRUE(platform::writePlatformProfile("windows", "device", "anterior,,"));
  // The name must equal the listed one: another letter case is another name here.
  for (const char* name : {"Nenhuma", "etiquetas", ""}) {
    SCOPED_TRACE(name);
    forms.steps.clear();
    try {
      f.dmUtils.setDefaultPrinter(name);
      ADD_FAILURE() << "no error raised";
    } catch (const platform::OsError& e) {
      EXPECT_EQ(e.code(), kNotListed);
    }
    EXPECT_EQ(platform::readPlatformProfile("windows", "device"), "anterior,,");
    ASSERT_FALSE(forms.steps.empty());
    EXPECT_EQ(forms.steps.front().step, "pbInicia");
    EXPECT_EQ(forms.steps.back().step, "pbFim");
  }
}

#ifdef _WIN32
TEST_F(Printers, TheOlderSystemsWaySetsThePrintersDefaultAttribute) {
  EXPECT_NO_THROW(platform::setDefaultPrinterByAttribute("Etiquetas"));
  try {
    platform::setDefaultPrinterByAttribute("Nenhuma");
    ADD_FAILURE() << "no error raised";
  } catch (const platform::OsError& e) {
    EXPECT_EQ(e.code(), kNotListed);
  }
}
#endif

} // namespace
} // namespace vt
