// The monitor log and the food-ordering log: the day's files under
// C:\Quorvelin\logs\, their lines, and what each does with a failed write.
#include <gtest/gtest.h>

#include <string>

#include "dmutils/dm_utils.h"
#include "platform/clock.h"
#include "platform/os_error.h"
#include "services/service_modules.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_drive.h"

namespace vt {
namespace {

using test::TempDrive;

struct ServiceLogs : ::testing::Test {
  TempDrive drive;
  std::string root = drive.installRoot();
  test::ScriptedMessageUi ui;
  platform::ManualClock clock{{2024, 3, 5, 14, 5, 9, 0, 3}};
  TdmUtils dmUtils{clock, ui};
  TdmServMonitor dmServMonitor{dmUtils, clock};
  TdmAppFoodLog dmAppFoodLog{clock};
};

TEST_F(ServiceLogs, TheMonitorLogsFirstEntryOfTheDayCreatesTheWholeLogsTreeAndItsFile) {
  ASSERT_FALSE(drive.exists("C:\\Quorvelin\\logs"));
  dmServMonitor.logSistemaMonitor("quorvelin", "Parar", "Parar o Servico", "Realizado", "");
  dmServMonitor.logSistemaMonitor("", "Parar", "Parar o Servico", "Erro", "Acesso negado");
  const std::string file = "C:\\Quorvelin\\logs\\monitor\\LogMonitorDH05032024.txt";
  EXPECT_EQ(drive.read(file),
            "14:05:09|quorvelin|Parar|Parar o Servico|Realizado|\r\n"
            "14:05:09||Parar|Parar o Servico|Erro|Acesso negado\r\n");
  // The next day goes to a file of its own.
  clock.set({2024, 3, 6, 0, 0, 1, 0, 4});
  dmServMonitor.logSistemaMonitor("", "Ligar", "Ligar o Servico", "Realizado", "");
  EXPECT_EQ(drive.read("C:\\Quorvelin\\logs\\monitor\\LogMonitorDH06032024.txt"),
            "00:00:01||Ligar|Ligar o Servico|Realizado|\r\n");
}

TEST_F(ServiceLogs, AMonitorEntryWithAllFieldsEmptyIsTheTimeAndFiveBars) {
  dmServMonitor.logSistemaMonitor("", "", "", "", "");
  EXPECT_EQ(drive.read("C:\\Quorvelin\\logs\\monitor\\LogMonitorDH05032024.txt"), "14:05:09|||||\r\n");
}

TEST_F(ServiceLogs, TheMonitorLogRaisesTheErrorOfAFolderItCannotMake) {
  // A file where the logs folder should be.
  drive.write("C:\\Quorvelin\\logs", "não é uma pasta");
  EXPECT_THROW(dmServMonitor.logSistemaMonitor("", "Parar", "Parar o Servico", "Realizado", ""), platform::OsError);
}

TEST_F(ServiceLogs, FoodOrderingLinesHaveFixedWidthColumns) {
  struct Case {
    int integration;
    std::string order, description, file;
  } cases[] = {
      {0, "", "Parar o Servico", "C:\\Quorvelin\\logs\\ifood\\LogIFood_05032024.txt"},
      {1, "PED-4471", "Pedido recebido", "C:\\Quorvelin\\logs\\orbenta\\LogOrbenta_05032024.txt"},
      // A longer order identifier is not cut.
      {1, "ABCDEFGHIJKLMNOPQRSTU", "x", "C:\\Quorvelin\\logs\\orbenta\\LogOrbenta_05032024.txt"},
  };
  std::string orbenta;
  for (const auto& c : cases) {
    dmAppFoodLog.logAppFood(c.integration, c.order, c.description);
    std::string dateColumn = "05/03/2024 - 14:05:09";
    dateColumn.resize(26, ' ');
    std::string order = c.order;
    if (order.size() < 17) order.resize(17, ' ');
    const std::string line = dateColumn + "Vantorim            " + order + c.description + "\r\n";
    if (c.integration == 1) orbenta += line;
    EXPECT_EQ(drive.read(c.file), c.integration == 1 ? orbenta : line) << c.order;
  }
  // An empty order identifier is seventeen blanks.
  const std::string ifood = drive.read("C:\\Quorvelin\\logs\\ifood\\LogIFood_05032024.txt");
  EXPECT_EQ(ifood.substr(46, 17), std::string(17, ' '));
  EXPECT_EQ(ifood.substr(63), "Parar o Servico\r\n");
}

TEST_F(ServiceLogs, AnotherIntegrationWritesNothingAndRaisesNothing) {
  EXPECT_NO_THROW(dmAppFoodLog.logAppFood(2, "1", "Parar o Servico"));
  EXPECT_NO_THROW(dmAppFoodLog.logAppFood(-1, "1", "Parar o Servico"));
  EXPECT_FALSE(drive.exists("C:\\Quorvelin\\logs\\ifood"));
  EXPECT_FALSE(drive.exists("C:\\Quorvelin\\logs\\orbenta"));
}

TEST_F(ServiceLogs, AFoodOrderingLineThatCannotBeWrittenIsLostWithoutAnError) {
  drive.write("C:\\Quorvelin\\logs", "não é uma pasta");
  EXPECT_NO_THROW(dmAppFoodLog.logAppFood(0, "", "Parar o Servico"));
  EXPECT_EQ(drive.read("C:\\Quorvelin\\logs"), "não é uma pasta");
}

} // namespace
} // namespace vt
