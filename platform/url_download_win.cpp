#include <windows.h>
#include <urlmon.h>

#include "platform/encoding.h"
#include "platform/url_download.h"

namespace vt::platform {
namespace {

// Hears the HTTP status of the download. URLDownloadToFile answers S_OK for
// an error page (a 404 with a body) as for the file itself; the status tells
// them apart. The object lives on the caller's stack for the one call.
class StatusListener final : public IBindStatusCallback, public IHttpNegotiate {
public:
  DWORD status = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IBindStatusCallback)) {
      *object = static_cast<IBindStatusCallback*>(this);
    } else if (IsEqualIID(riid, IID_IHttpNegotiate)) {
      *object = static_cast<IHttpNegotiate*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnProgress(ULONG, ULONG, ULONG, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD*, BINDINFO*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

  HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additional) override {
    *additional = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnResponse(DWORD code, LPCWSTR, LPCWSTR, LPWSTR* additional) override {
    status = code;
    if (additional) *additional = nullptr;
    return S_OK;
  }
};

} // namespace

long urlDownloadToFile(std::string_view url, std::string_view destination) {
  StatusListener listener;
  HRESULT hr = URLDownloadToFileW(nullptr, utf8ToWide(url).c_str(), utf8ToWide(destination).c_str(), 0, &listener);
  // An HTTP error answered with a page is no download, as on POSIX.
  if (SUCCEEDED(hr) && listener.status >= 400) return kInetResourceNotFound;
  return static_cast<long>(hr);
}

} // namespace vt::platform
