// A small Windows service program of the clean-up tests. Started by the
// service manager it reports itself running and stops on the stop control.
// Run with "/uninstall" (the clean-up adds "/silent") it removes the service
// whose program is this file, as the suite's service programs do.
#include <windows.h>
#include <wchar.h>

static SERVICE_STATUS_HANDLE statusHandle;
static SERVICE_STATUS status;
static HANDLE stopEvent;

static void report(DWORD state) {
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
  status.dwWin32ExitCode = NO_ERROR;
  status.dwCheckPoint = state == SERVICE_STOP_PENDING ? 1 : 0;
  status.dwWaitHint = state == SERVICE_STOP_PENDING ? 200 : 0;
  SetServiceStatus(statusHandle, &status);
}

static DWORD WINAPI handler(DWORD control, DWORD type, LPVOID data, LPVOID context) {
  (void)type, (void)data, (void)context;
  switch (control) {
  case SERVICE_CONTROL_STOP:
    report(SERVICE_STOP_PENDING);
    SetEvent(stopEvent);
    return NO_ERROR;
  case SERVICE_CONTROL_INTERROGATE:
    return NO_ERROR;
  default:
    return ERROR_CALL_NOT_IMPLEMENTED;
  }
}

static void WINAPI serviceMain(DWORD argc, LPWSTR* argv) {
  statusHandle = RegisterServiceCtrlHandlerExW(argc > 0 ? argv[0] : L"", handler, NULL);
  if (!statusHandle) return;
  stopEvent = CreateEventW(NULL, TRUE, FALSE, NULL);
  report(SERVICE_RUNNING);
  WaitForSingleObject(stopEvent, INFINITE);
  report(SERVICE_STOPPED);
}

// The binary path of a service without quotes around it.
static void unquoted(const wchar_t* path, wchar_t* out, size_t size) {
  size_t n = 0;
  for (const wchar_t* p = path; *p && n + 1 < size; ++p)
    if (*p != L'"') out[n++] = *p;
  out[n] = 0;
}

// Deletes every service whose program is this file.
static int uninstall(void) {
  wchar_t self[MAX_PATH];
  if (!GetModuleFileNameW(NULL, self, MAX_PATH)) return 1;
  SC_HANDLE manager = OpenSCManagerW(NULL, NULL, SC_MANAGER_ENUMERATE_SERVICE | SC_MANAGER_CONNECT);
  if (!manager) return 1;
  DWORD needed = 0, count = 0, resume = 0;
  EnumServicesStatusExW(manager, SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL, NULL, 0, &needed, &count,
                        &resume, NULL);
  BYTE* buffer = (BYTE*)HeapAlloc(GetProcessHeap(), 0, needed + 1024);
  int removed = 0;
  resume = 0;
  if (buffer && EnumServicesStatusExW(manager, SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL, buffer,
                                      needed + 1024, &needed, &count, &resume, NULL)) {
    ENUM_SERVICE_STATUS_PROCESSW* services = (ENUM_SERVICE_STATUS_PROCESSW*)buffer;
    for (DWORD i = 0; i < count; ++i) {
      SC_HANDLE service = OpenServiceW(manager, services[i].lpServiceName, SERVICE_QUERY_CONFIG | DELETE);
      if (!service) continue;
      DWORD size = 0;
      QueryServiceConfigW(service, NULL, 0, &size);
      QUERY_SERVICE_CONFIGW* config = (QUERY_SERVICE_CONFIGW*)HeapAlloc(GetProcessHeap(), 0, size + 16);
      if (config && QueryServiceConfigW(service, config, size + 16, &size) && config->lpBinaryPathName) {
        wchar_t path[MAX_PATH * 2];
        unquoted(config->lpBinaryPathName, path, MAX_PATH * 2);
        if (lstrcmpiW(path, self) == 0 && DeleteService(service)) ++removed;
      }
      if (config) HeapFree(GetProcessHeap(), 0, config);
      CloseServiceHandle(service);
    }
  }
  if (buffer) HeapFree(GetProcessHeap(), 0, buffer);
  CloseServiceHandle(manager);
  return removed > 0 ? 0 : 2;
}

int wmain(int argc, wchar_t** argv) {
  if (argc > 1 && _wcsicmp(argv[1], L"/uninstall") == 0) return uninstall();
  SERVICE_TABLE_ENTRYW table[] = {{(LPWSTR)L"", serviceMain}, {NULL, NULL}};
  return StartServiceCtrlDispatcherW(table) ? 0 : 1;
}
