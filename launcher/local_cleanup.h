#pragma once
// The clean-up of what older, locally hosted installations left behind: the
// local MySQL services and the suite's databases (phases/local_mysql.cpp),
// the monitor services (phases/monitor_services.cpp), the retired programs,
// the database tool folder and leftover files (phases/retired_programs.cpp).
// These are the main window's routines those phases use, and their fixed
// tables.
#include <span>
#include <string_view>

namespace vt {

class VantorimRun;
class ServiceControlModule;

// Stops a Windows service through the platform's net.exe and tests its state
// once a second, at most `tries` times. True when it is not registered, not
// running or no longer running, or when the user chooses to continue ("Sim").
bool StopService(VantorimRun& run, std::string_view AServico, int tries);

// Renames the suite's database folders ("quorvelin..." in any letter case) in
// the local MySQL data folder with a leading underscore.
void RenameLocalDatabases(VantorimRun& run);

// The local MySQL 5.7 data folders, the first existing one is used.
std::span<const std::string_view> localMySqlDataFolders();

// One monitor service the clean-up retires, with its texts.
struct MonitorServiceRow {
  std::string_view executable;  // in the launcher folder
  std::string_view serviceName;
  ServiceControlModule& (*module)(VantorimRun& run);
  std::string_view checkText;
  std::string_view firstStatus;
  std::string_view stopText;
  std::string_view waitText;
  std::string_view uninstallText;
  std::string_view recheckText;
  std::string_view stopFailureLog;
  std::string_view stopFailureMessage;
  std::string_view deleteFailureLog;
  std::string_view deleteFailureMessage;
};

// The monitor, iFood and Orbenta services, in the order they are retired.
std::span<const MonitorServiceRow> monitorServices();

// Stops the row's service, has its executable uninstall it and deletes the
// executable. False when the run has ended (the abort protocol has run).
bool RetireMonitorService(VantorimRun& run, const MonitorServiceRow& row);

// The programs the suite no longer ships, in the order they are looked for.
std::span<const std::string_view> retiredPrograms();

} // namespace vt
